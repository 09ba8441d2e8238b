// Small text helpers shared by every module.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Removes spaces (character 32 only, not tabs) from both ends.
std::string TrimSpaces(std::string_view text);

// The text cut to at most maxBytes bytes, never inside a UTF-8 sequence.
std::string Utf8Prefix(std::string_view text, size_t maxBytes);

// Lower-cases A-Z only, as the case-insensitive key comparisons need.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// Reads a decimal integer as atoi does: leading white space, an optional sign, digits up to the
// first non-digit, 0 when there are none; the result is cut to 32 bits.
std::int32_t ParseLeadingInteger(std::string_view text, std::string_view skipped = " \t\n\v\f\r");

// The parts of the text between the occurrences of the separator, left to right; the text alone
// when it holds none. An empty separator leaves the text whole.
std::vector<std::string> SplitAt(std::string_view text, std::string_view separator);

// The text with the first placeholder such as %1 replaced by the value; as it is without one.
std::string FillIn(std::string text, std::string_view placeholder, std::string_view value);
std::string FillIn(std::string text, std::string_view placeholder, size_t number);

// The files of a box that each come with a reason: a blank line, then for each of the first
// `listed` items "<file>" and "    <reason>" on lines of their own, then `more` with %1 filled in
// by how many were left out. Empty for no items. Item holds the file in the member given and the
// reason in `reason`.
template <class Item>
std::string ReasonLines(const std::vector<Item>& items, std::string Item::*file, size_t listed,
                        const std::string& more) {
  std::string text = items.empty() ? "" : "\r\n";
  for (size_t i = 0; i < items.size() && i < listed; ++i)
    text += "\r\n" + items[i].*file + "\r\n    " + items[i].reason;
  if (items.size() > listed) text += "\r\n" + FillIn(more, "%1", items.size() - listed);
  return text;
}

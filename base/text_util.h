// Small text helpers shared by every module.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Removes spaces (character 32 only, not tabs) from both ends.
std::string TrimSpaces(std::string_view text);

// The text cut to at most maxBytes bytes, never inside a UTF-8 sequence.
std::string Utf8Prefix(std::string_view text, size_t maxBytes);

// Lower-cases A-Z only, as the case-insensitive key comparisons need.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// Reads a decimal integer as atoi does: leading white space, an optional sign, digits up to the
// first non-digit, 0 when there are none; the result is cut to 32 bits.
std::int32_t ParseLeadingInteger(std::string_view text, std::string_view skipped = " \t\n\v\f\r");

// The text with the first placeholder such as %1 replaced by the value; as it is without one.
std::string FillIn(std::string text, std::string_view placeholder, std::string_view value);
std::string FillIn(std::string text, std::string_view placeholder, size_t number);

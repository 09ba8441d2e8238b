
#include "base/position.h"
#include "base/text_util.h"

std::string TrimSpaces(std::string_view text) {
  STEP(DA3Rudi);
  size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  size_t end = text.find_last_not_of(' ');
  return std::string(text.substr(begin, end - begin + 1));
}

std::string Utf8Prefix(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return std::string(text);
  size_t end = maxBytes;
  // Back over continuation bytes to the start of the sequence the cut falls in.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return std::string(text.substr(0, end));
}

static char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

std::int32_t ParseLeadingInteger(std::string_view text, std::string_view skipped) {
  STEP(DA3Rudi);
  size_t i = 0;
  while (i < text.size() && skipped.find(text[i]) != std::string_view::npos) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Accumulate in unsigned arithmetic so long digit runs wrap instead of overflowing.
  std::uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = value * 10u + std::uint32_t(text[i] - '0');
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

std::vector<std::string> SplitAt(std::string_view text, std::string_view separator) {
  std::vector<std::string> parts;
  for (size_t at; !separator.empty() && (at = text.find(separator)) != text.npos;
       text.remove_prefix(at + separator.size()))
    parts.emplace_back(text.substr(0, at));
  parts.emplace_back(text);
  return parts;
}

std::string FillIn(std::string text, std::string_view placeholder, std::string_view value) {
  const size_t at = text.find(placeholder);
  if (at != std::string::npos) text.replace(at, placeholder.size(), value);
  return text;
}

std::string FillIn(std::string text, std::string_view placeholder, size_t number) {
  return FillIn(std::move(text), placeholder, std::to_string(number));
}

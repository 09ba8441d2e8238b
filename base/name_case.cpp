#include "base/name_case.h"

#include "base/utf16.h"

namespace {
std::vector<char16_t> AsciiTable() {
  std::vector<char16_t> upper(128);
  for (char16_t u = 0; u < 128; ++u) upper[u] = u >= u'a' && u <= u'z' ? char16_t(u - 32) : u;
  return upper;
}
}  // namespace

NameCase::NameCase() : upper_(AsciiTable()) {}

NameCase::NameCase(std::vector<char16_t> upper) : upper_(std::move(upper)) {}

NameCase NameCase::WithPairs(std::initializer_list<std::pair<char16_t, char16_t>> smallAndCapital) {
  std::vector<char16_t> upper = AsciiTable();
  for (auto [small, capital] : smallAndCapital) {
    for (size_t u = upper.size(); u <= small; ++u) upper.push_back(char16_t(u));
    upper[small] = capital;
  }
  return NameCase(std::move(upper));
}

std::u16string NameCase::Folded(std::string_view name) const {
  std::u16string folded = Utf8ToUtf16(name);
  for (char16_t& unit : folded) {
    if (unit == u'/')
      unit = u'\\';
    else if (unit < upper_.size())
      unit = upper_[unit];
  }
  return folded;
}

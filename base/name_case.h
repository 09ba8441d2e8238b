// Names compared as the file system compares them: every UTF-16 unit of both through one table of
// upper-case forms, so Ä and ä, Ж and ж, Σ and σ name the same file, and slash and backslash
// alike. The table is data: the shell fills it from the system, tests give their own.
#pragma once
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class NameCase {
 public:
  // A to Z only.
  NameCase();
  // upper[u] is the upper-case form of unit u; units beyond the table are their own.
  explicit NameCase(std::vector<char16_t> upper);
  // A to Z and the given pairs of small and capital letters.
  static NameCase WithPairs(std::initializer_list<std::pair<char16_t, char16_t>> smallAndCapital);

  // The name in the form that compares equal for every spelling of it.
  std::u16string Folded(std::string_view name) const;
  bool Same(std::string_view a, std::string_view b) const { return Folded(a) == Folded(b); }

 private:
  std::vector<char16_t> upper_;
};

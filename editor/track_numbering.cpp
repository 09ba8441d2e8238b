#include "editor/track_numbering.h"

#include <algorithm>
#include <map>

#include "base/path_parts.h"
#include "base/text_util.h"

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
std::string LowerAscii(std::string text) {
  std::ranges::transform(text, text.begin(), Lower);
  return text;
}

// -1, 0 or 1 as a sorts before, with or after b in natural order, capitals aside.
int NaturalCompare(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      // Two numbers: by value, told by their length without leading zeros, then digit by digit.
      size_t endA = i, endB = j;
      while (endA < a.size() && IsDigit(a[endA])) ++endA;
      while (endB < b.size() && IsDigit(b[endB])) ++endB;
      std::string_view x = a.substr(i, endA - i), y = b.substr(j, endB - j);
      x.remove_prefix(std::min(x.find_first_not_of('0'), x.size()));
      y.remove_prefix(std::min(y.find_first_not_of('0'), y.size()));
      if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
      if (const int order = x.compare(y)) return order < 0 ? -1 : 1;
      i = endA, j = endB;
      continue;
    }
    const unsigned char x = Lower(a[i]), y = Lower(b[j]);
    if (x != y) return x < y ? -1 : 1;
    ++i, ++j;
  }
  if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
  return 0;
}
}  // namespace

bool NaturalLess(std::string_view a, std::string_view b) {
  const int order = NaturalCompare(a, b);
  return order != 0 ? order < 0 : a < b;
}

std::vector<size_t> NumberingOrder(const std::vector<std::string>& paths) {
  std::vector<size_t> order(paths.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::ranges::stable_sort(order, [&](size_t a, size_t b) {
    const std::string folderA = FolderPart(paths[a]), folderB = FolderPart(paths[b]);
    if (!EqualsIgnoringAsciiCase(folderA, folderB)) return NaturalLess(folderA, folderB);
    return NaturalLess(FilePart(paths[a]), FilePart(paths[b]));
  });
  return order;
}

std::vector<TrackNumber> NumberTracks(const std::vector<std::string>& paths,
                                      const std::vector<size_t>& order, std::int32_t start,
                                      bool perFolder) {
  // A group: every file, or the files of one folder wherever the order puts them.
  auto group = [&](size_t file) { return perFolder ? LowerAscii(FolderPart(paths[file])) : ""; };
  std::map<std::string, std::int32_t> sizes, numbered;
  for (size_t file : order) ++sizes[group(file)];
  std::vector<TrackNumber> numbers(paths.size());
  for (size_t file : order) {
    const std::string key = group(file);
    numbers[file] = {start + numbered[key]++, sizes[key]};
  }
  return numbers;
}

bool TotalKeptIn(std::string_view path) {
  const std::string extension = ExtensionPart(path);
  return !EqualsIgnoringAsciiCase(extension, "wma") && !EqualsIgnoringAsciiCase(extension, "asf") &&
         !EqualsIgnoringAsciiCase(extension, "wav");
}

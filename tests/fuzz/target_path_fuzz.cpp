// BuildTargetPath on arbitrary patterns, literal folder lengths, source paths and tag values: no
// crash, no read out of bounds; every target is a path Windows takes as written (no slash, no run
// of separators but a network path's leading pair, no level that Windows would trim), climbs no
// level the pattern does not, keeps every character of the pattern that no reading drops, begins
// with the pattern's fixed folder and has a folder chain that makes its folders; and no level
// from a tag value leaves its folder or names a device.
#include <cstdint>
#include <string>
#include <vector>

#include "base/text_util.h"
#include "sorter/shown_paths.h"
#include "sorter/target_path.h"
#include "tests/native/windows_path_reading.h"

namespace {
std::vector<std::string> Fields(const uint8_t* data, size_t size, size_t count) {
  std::vector<std::string> fields(count);
  size_t field = 0;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '\n' && field + 1 < count)
      ++field;
    else
      fields[field] += char(data[i]);
  }
  return fields;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// How many characters of the text are none of those given: those that no reading drops.
size_t Kept(const std::string& text, std::string_view dropped) {
  size_t count = 0;
  for (char c : text) count += dropped.find(c) == std::string_view::npos;
  return count;
}

void Check(bool holds) {
  if (!holds) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> f = Fields(data, size, 10);
  TagInfo tags;
  tags.title = f[2];
  tags.artist = f[3];
  tags.album = f[4];
  tags.comment = f[5];
  tags.genre = f[6];
  tags.year = ParseLeadingInteger(f[7]);
  tags.track = ParseLeadingInteger(f[8]);
  const TargetPattern pattern{f[0], size_t(std::max(0, ParseLeadingInteger(f[9])))};

  const std::string target = BuildTargetPath(pattern, f[1], tags);
  const bool network =
      pattern.text.size() >= 2 && IsSeparator(pattern.text[0]) && IsSeparator(pattern.text[1]);
  const size_t pair = target.find("\\\\");
  Check(pair == std::string::npos ||
        (pair == 0 && network && target.find("\\\\", 1) == std::string::npos));
  Check(windows_path_reading::Fault(target).empty());
  Check(windows_path_reading::ChainFault(FolderPart(target)).empty());
  Check(windows_path_reading::UpLevels(target) <= windows_path_reading::UpLevels(pattern.text));
  Check(target.starts_with(FixedFolderOf(pattern)));
  // Filling in the macros only removes macro characters, and reading only separators, spaces and
  // dots; every other character of the pattern stays.
  const std::string_view readingDrops = "\\/. ";
  std::string dropped = "*$%ABCDEFGHIJKLMNOPQRSTUVWXYZ" + std::string(readingDrops);
  Check(Kept(target, readingDrops) >= Kept(pattern.text, dropped));
  // A pattern without macros, or a literal one, is only read as Windows reads it.
  const std::string read = windows_path_reading::Read(pattern.text);
  if (pattern.text.find_first_of("*$%") == std::string::npos) Check(target == read);
  Check(BuildTargetPath(TargetPattern{pattern.text, pattern.text.size()}, f[1], tags) == read);

  // Every level between the pattern's own folders comes from tag values alone.
  std::string safe =
      BuildTargetPath("R:\\%TITLE%\\%ARTIST%%ALBUM%\\%COMMENT%\\%GENRE%\\f", "", tags);
  Check(safe.compare(0, 3, "R:\\") == 0);
  size_t begin = 3;
  while (begin <= safe.size()) {
    size_t end = safe.find_first_of("\\/", begin);
    if (end == std::string::npos) end = safe.size();
    std::string level = safe.substr(begin, end - begin);
    Check(level.find_first_not_of(". ") != std::string::npos);  // neither . nor .. nor empty
    Check(CleanTagValue(level) == level);  // no device name, no forbidden character
    begin = end + 1;
  }
  return 0;
}

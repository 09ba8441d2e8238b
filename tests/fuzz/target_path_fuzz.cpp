// BuildTargetPath on arbitrary patterns, source paths and tag values: no crash, no read out of
// bounds, no run of separators (but a network path's leading pair), nothing shorter than the
// pattern's plain text collapses to, and no segment from a tag value that leaves its folder or
// names a device.
#include <cstdint>
#include <string>
#include <vector>

#include "base/text_util.h"
#include "sorter/target_path.h"

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

// The pattern text with every run of separators made one; a run holding a backslash becomes a
// backslash; a network path keeps its leading pair.
std::string Collapsed(const std::string& text, bool network) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (i == 0 || !IsSeparator(text[i]) || !IsSeparator(text[i - 1]) || (network && i == 1))
      out += text[i];
    else if (text[i] == '\\')
      out.back() = '\\';
  }
  return out;
}

void Check(bool holds) {
  if (!holds) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> f = Fields(data, size, 9);
  TagInfo tags;
  tags.title = f[2];
  tags.artist = f[3];
  tags.album = f[4];
  tags.comment = f[5];
  tags.genre = f[6];
  tags.year = ParseLeadingInteger(f[7]);
  tags.track = ParseLeadingInteger(f[8]);

  const std::string& pattern = f[0];
  std::string target = BuildTargetPath(pattern, f[1], tags);
  const bool network = pattern.compare(0, 2, "\\\\") == 0;
  const size_t pair = target.find("\\\\");
  Check(pair == std::string::npos ||
        (pair == 0 && network && target.find("\\\\", 1) == std::string::npos));
  // Expansion only removes macro characters; every other character of the pattern stays.
  std::string plain;
  for (char c : pattern)
    if (c != '*' && c != '$' && c != '%' && !(c >= 'A' && c <= 'Z')) plain += c;
  Check(target.size() >= Collapsed(plain, network).size());
  if (pattern.find_first_of("*$%") == std::string::npos)
    Check(target == Collapsed(pattern, network));

  // Every segment between the pattern's own folders comes from tag values alone.
  std::string safe =
      BuildTargetPath("R:\\%TITLE%\\%ARTIST%%ALBUM%\\%COMMENT%\\%GENRE%\\f", "", tags);
  Check(safe.compare(0, 3, "R:\\") == 0);
  size_t begin = 3;
  while (begin <= safe.size()) {
    size_t end = safe.find_first_of("\\/", begin);
    if (end == std::string::npos) end = safe.size();
    std::string segment = safe.substr(begin, end - begin);
    bool dotsOnly = segment.find('.') != std::string::npos &&
                    segment.find_first_not_of(". ") == std::string::npos;
    Check(!dotsOnly);
    Check(CleanTagValue(segment) == segment);  // no device name, no forbidden character
    begin = end + 1;
  }
  return 0;
}

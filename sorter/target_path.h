// The target pattern of the sorter: its macros and the expansion of a pattern into one file's
// target path.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "base/path_parts.h"
#include "settings/text_table.h"
#include "tags/tag_info.h"

// What follows the target folder in the default pattern and after a folder choice.
constexpr char kPatternTail[] = "%GENRE%\\%ARTIST%\\%ALBUM%\\*.$";

// The macros in the order they are replaced, as the window's macro list shows them: each with the
// text that describes it and what it stands for in one file's target path. Values from a tag are
// cleaned (CleanTagValue) and guarded as tag text; the source name's parts are pattern text.
struct Macro {
  const char* text;
  TextId description;
  std::string (*value)(std::string_view source, const TagInfo& tags);
  bool fromTag;
};
extern const Macro kMacros[9];

// The folder (with a trailing backslash added when missing) followed by kPatternTail: the default
// pattern for the current directory, and the pattern after a folder choice.
std::string PatternForFolder(std::string folder);

// The pattern a sorter window starts with: for the current directory, or, when that could not be
// had, for the folder of the first file; never for the root of a drive by accident.
std::string DefaultPattern(std::string_view currentDirectory, std::string_view firstFile);

// Makes one tag value safe to stand in a path: every part between slashes or backslashes loses
// spaces at both ends and dots at its end (a part left empty collapses with its separator in the
// path), the characters < > : " | ? * and the codes 1 to 31 become _, and a part that is a
// reserved device name (alone, or before spaces or a dot) gets _ after the name. Slashes and
// backslashes stay: they still make folder levels.
std::string CleanTagValue(std::string_view value);

// Expands the pattern for one source file: * and $, then the tag macros, each one left-to-right
// pass that does not rescan its own insertions, then every run of backslashes becomes one (but the
// leading pair of a pattern that begins with two, a network path). Tag
// values are cleaned as CleanTagValue says, and no segment that holds text from a tag value can
// end as dots only or as a device name, however values and pattern text meet.
std::string BuildTargetPath(std::string_view pattern, std::string_view source, const TagInfo& tags);

// One level of a folder chain: the prefix to look for, and the name to create when it is missing.
struct FolderLevel {
  std::string prefix;  // up to and including its backslash
  std::string name;    // the prefix without spaces, slashes and backslashes at its end
};
// The levels of a folder (as FolderPart gives it for a target path), outermost first; none for an
// empty folder.
std::vector<FolderLevel> FolderChain(std::string_view folder);

// The folder browser's initial selection for a field text: without its trailing backslash when it
// is longer than three characters (so a drive root such as C:\ keeps it).
std::string BrowseStartFolder(std::string text);

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

// A target pattern: its text, whose first `literal` bytes are a folder the program put in front
// (the current folder, or one chosen with the browse button). That folder is taken as it is
// written: a $, * or %TITLE% in it is part of a name, no macro.
struct TargetPattern {
  std::string text;
  size_t literal = 0;
};

// The macros as the window's macro list shows them: each with the text that describes it and what
// it stands for in one file's target path. Values from a tag are cleaned (CleanTagValue) and
// guarded as tag text; the source name's parts are not.
struct Macro {
  const char* text;
  TextId description;
  std::string (*value)(std::string_view source, const TagInfo& tags);
  bool fromTag;
};
extern const Macro kMacros[9];

// The folder (with a trailing backslash added when missing) followed by kPatternTail: the pattern
// after a folder choice, as the pattern field shows it, and as a pattern whose folder is literal.
std::string PatternForFolder(std::string folder);
TargetPattern PatternForFolderLiteral(std::string folder);

// The pattern a sorter window starts with: for the current directory, or, when that could not be
// had, for the folder of the first file; never for the root of a drive by accident. The folder is
// literal.
TargetPattern DefaultPattern(std::string_view currentDirectory, std::string_view firstFile);

// Makes one tag value safe to stand in a path: every part between slashes or backslashes loses
// spaces at both ends and dots at its end (a part left empty collapses with its separator in the
// path), the characters < > : " | ? * and the codes 1 to 31 become _, and a part that is a
// reserved device name (alone, or before spaces or a dot) gets _ after the name. Slashes and
// backslashes stay: they still make folder levels.
std::string CleanTagValue(std::string_view value);

// Expands the pattern for one source file and spells the result as Windows reads it, so the
// preview, the folders made and the file written agree:
// - After the literal folder, one left-to-right pass fills in the macros (*, $, %TITLE% and the
//   others, exact and case-sensitive); an inserted value is never searched for macros.
// - Every slash becomes a backslash, and every run of them one, but a pattern that begins with two
//   separators (a network or verbatim path) keeps a leading pair.
// - Every level (the text between separators) loses its trailing spaces and dots, as Windows
//   drops them; a level that is exactly . or .. in the pattern text keeps its meaning. Leading
//   spaces go only where they come from a tag value. A level left empty collapses with its
//   separator.
// - Tag values are cleaned as CleanTagValue says, and no level that holds tag text is a device
//   name, however values and pattern text meet.
std::string BuildTargetPath(const TargetPattern& pattern, std::string_view source,
                            const TagInfo& tags);
// The same for a pattern without a literal folder.
std::string BuildTargetPath(std::string_view pattern, std::string_view source, const TagInfo& tags);

// One level of a folder chain: the prefix to look for, and the name to create when it is missing.
struct FolderLevel {
  std::string prefix;  // up to and including its backslash
  std::string name;    // the prefix without spaces and backslashes at its end
};
// The levels of a folder (as FolderPart gives it for a target path), outermost first, slashes
// read as backslashes; none for an empty folder. A root (\) and, in a network path, the server
// and share levels are left out: they can't be created. For a target of BuildTargetPath, each
// name is its prefix without the backslash.
std::vector<FolderLevel> FolderChain(std::string_view folder);

// The folder browser's initial selection for a field text: without its trailing backslash when it
// is longer than three characters (so a drive root such as C:\ keeps it).
std::string BrowseStartFolder(std::string text);

// The parts of a file path; backslash and slash both separate.
#pragma once
#include <string>
#include <string_view>

std::string FilePart(std::string_view path);       // after the last separator
std::string ExtensionPart(std::string_view path);  // after the last dot of the FilePart
std::string BaseNamePart(std::string_view path);   // the FilePart without its last dot and after
std::string FolderPart(std::string_view path);     // up to and including the last separator

// The length of the root a path begins with, its separator included ("C:\", "\\server\share\",
// and the same after "\\?\" or "\\?\UNC\"); npos when it begins with none, as a relative path.
size_t RootLength(std::string_view path);

// The path as Windows' file calls take it beyond MAX_PATH: a whole path longer than 259 UTF-16
// units gets the "\\?\" form ("\\?\UNC\" for a share), which those calls take up to 32,767.
// A shorter, relative or already prefixed path is given as it is. The sort's copies and set-aside
// files have longer names than the targets the sorter accepts, and are placed through this.
std::string LongPathForm(std::string_view path);

// The parts of a file path; backslash and slash both separate.
#pragma once
#include <string>
#include <string_view>

std::string FilePart(std::string_view path);       // after the last separator
std::string ExtensionPart(std::string_view path);  // after the last dot of the FilePart
std::string BaseNamePart(std::string_view path);   // the FilePart without its last dot and after
std::string FolderPart(std::string_view path);     // up to and including the last separator

// The drive a whole path names, as its spelling says: "C:", or "\\server\share" for a network
// path, after a verbatim "\\?\" (and its "UNC\"); empty when it names none. Upper-cased in
// ASCII, so spellings of one drive compare equal.
std::string DriveOf(std::string_view path);

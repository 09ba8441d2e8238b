#include "base/path_parts.h"

#include "base/text_util.h"
#include "base/utf16.h"

namespace {
constexpr std::string_view kSeparators = "\\/";
}  // namespace

std::string FilePart(std::string_view path) {
  size_t separator = path.find_last_of(kSeparators);
  return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string ExtensionPart(std::string_view path) {
  std::string file = FilePart(path);
  size_t dot = file.rfind('.');
  return dot == std::string::npos ? std::string() : file.substr(dot + 1);
}

std::string BaseNamePart(std::string_view path) {
  std::string file = FilePart(path);
  size_t dot = file.rfind('.');
  return dot == std::string::npos ? file : file.substr(0, dot);
}

std::string FolderPart(std::string_view path) {
  size_t separator = path.find_last_of(kSeparators);
  return std::string(separator == std::string_view::npos ? std::string_view()
                                                         : path.substr(0, separator + 1));
}

size_t RootLength(std::string_view path) {
  auto separator = [](char c) { return c == '\\' || c == '/'; };
  size_t start = 0;
  bool network = path.size() >= 2 && separator(path[0]) && separator(path[1]);
  if (network && path.size() >= 4 && (path[2] == '?' || path[2] == '.') && separator(path[3])) {
    network =
        path.size() >= 8 && EqualsIgnoringAsciiCase(path.substr(4, 3), "UNC") && separator(path[7]);
    start = network ? 8 : 4;
  } else if (network) {
    start = 2;
  }
  if (!network)
    return path.size() >= start + 3 && path[start + 1] == ':' && separator(path[start + 2])
               ? start + 3
               : std::string_view::npos;
  for (size_t at = start, levels = 0; at < path.size(); ++at)
    if (separator(path[at]) && ++levels == 2) return at + 1;
  return std::string_view::npos;
}

std::string LongPathForm(std::string_view path) {
  constexpr size_t kLongestPlainPath = 259;
  const size_t root = RootLength(path);
  if (root == std::string_view::npos || Utf16Length(path) <= kLongestPlainPath ||
      path.substr(1, 3) == "\\?\\" || path.substr(1, 3) == "\\.\\")
    return std::string(path);
  std::string whole(path);
  // The prefixed form takes no slash for a separator.
  for (char& c : whole)
    if (c == '/') c = '\\';
  return whole[1] == ':' ? "\\\\?\\" + whole : "\\\\?\\UNC" + whole.substr(1);
}

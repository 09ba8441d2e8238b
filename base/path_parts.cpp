#include "base/path_parts.h"

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

std::string DriveOf(std::string_view path) {
  auto separator = [](char c) { return c == '\\' || c == '/'; };
  auto upper = [](std::string text) {
    for (char& c : text)
      if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return text;
  };
  bool network = path.size() >= 2 && separator(path[0]) && separator(path[1]);
  if (network && path.size() >= 4 && (path[2] == '?' || path[2] == '.') && separator(path[3])) {
    path.remove_prefix(4);
    network = upper(std::string(path.substr(0, 4))) == "UNC\\";
    if (network) path.remove_prefix(2);  // keep two characters to stand for the leading pair
  }
  if (!network)
    return path.size() >= 2 && path[1] == ':' ? upper(std::string(path.substr(0, 2))) : "";
  // \\server\share: up to the separator after the share.
  size_t end = 2, levels = 0;
  for (; end < path.size() && levels < 2; ++end)
    if (separator(path[end])) ++levels;
  std::string drive = "\\\\" + upper(std::string(path.substr(2, end - 2)));
  if (!drive.empty() && separator(drive.back())) drive.pop_back();
  for (char& c : drive)
    if (c == '/') c = '\\';
  return drive;
}

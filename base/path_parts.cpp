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

#include "sorter/shown_paths.h"

#include <algorithm>

std::string FixedFolderOf(const TargetPattern& pattern) {
  const std::string_view text = pattern.text;
  const size_t literal = std::min(pattern.literal, text.size());
  const size_t varies = text.find_first_of("%*$", literal);
  const size_t separator = text.substr(0, varies).find_last_of("\\/");
  if (separator == std::string_view::npos) return "";
  // A stand-in name after the folder goes through the same reading as a real target's, so the
  // folder is spelt as the targets spell it (backslashes, runs collapsed, levels trimmed).
  std::string folder =
      BuildTargetPath(TargetPattern{std::string(text.substr(0, separator + 1)) + "x",
                                    std::min(literal, separator + 1)},
                      "", {});
  folder.pop_back();
  return folder;
}

std::string FixedFolderOf(std::string_view pattern) {
  return FixedFolderOf(TargetPattern{std::string(pattern)});
}

std::string ShortenedTargetText(std::string_view rowText, std::string_view target,
                                std::string_view fixedFolder, const NameCase& names) {
  const bool endsInTarget = !target.empty() && rowText.size() >= target.size() &&
                            rowText.substr(rowText.size() - target.size()) == target;
  if (!endsInTarget || fixedFolder.empty() || target.size() <= fixedFolder.size() ||
      !names.Same(target.substr(0, fixedFolder.size()), fixedFolder))
    return std::string(rowText);
  return std::string(rowText.substr(0, rowText.size() - target.size())) +
         std::string(target.substr(fixedFolder.size()));
}

std::string FullPathsText(std::string_view source, std::string_view target) {
  std::string text(source);
  if (!target.empty()) text += "\r\n" + std::string(target);
  return text;
}

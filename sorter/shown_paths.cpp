#include "sorter/shown_paths.h"

#include "sorter/target_path.h"

std::string FixedFolderOf(std::string_view pattern) {
  const size_t varies = pattern.find_first_of("%*$");
  const size_t separator = pattern.substr(0, varies).find_last_of("\\/");
  if (separator == std::string_view::npos) return "";
  // A stand-in name after the folder goes through the same collapse as a real target's, so the
  // folder is spelt as the targets spell it (a doubled backslash, a network path's leading pair).
  std::string folder = BuildTargetPath(std::string(pattern.substr(0, separator + 1)) + "x", "", {});
  folder.pop_back();
  return folder;
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

// How Windows reads a target path, written out plainly to check BuildTargetPath's targets against:
// in the native tests and in the fuzz target.
#pragma once
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "sorter/target_path.h"

namespace windows_path_reading {
inline std::vector<std::string> Split(std::string_view path) {
  std::vector<std::string> levels(1);
  for (char c : path)
    if (c == '\\')
      levels.emplace_back();
    else
      levels.back() += c;
  return levels;
}

// Slashes as backslashes; every level without its trailing spaces and dots, but for a whole . or
// ..; then every run of backslashes as one, but for the leading pair of a path that begins with
// two separators.
inline std::string Read(std::string_view path) {
  std::string text(path);
  for (char& c : text)
    if (c == '/') c = '\\';
  const bool network = text.starts_with("\\\\");
  std::string joined;
  for (std::string level : Split(text)) {
    if (level != "." && level != "..")
      while (!level.empty() && (level.back() == ' ' || level.back() == '.')) level.pop_back();
    joined += level + '\\';
  }
  joined.pop_back();
  std::string out = network ? "\\\\" : "";
  for (size_t i = out.size(); i < joined.size(); ++i)
    if (joined[i] != '\\' || out.empty() || out.back() != '\\') out += joined[i];
  return out;
}

// What is wrong with the target as a path Windows takes as written, or "" when nothing is: a
// slash, a run of backslashes past a network path's leading pair, or a level (but the root in
// front and the end of a folder) that is empty or ends in a space or dot without being . or ..
inline std::string Fault(std::string_view target) {
  if (target.find('/') != std::string_view::npos) return "a slash";
  const bool network = target.starts_with("\\\\");
  std::vector<std::string> levels = Split(target);
  for (size_t i = 0; i < levels.size(); ++i) {
    const std::string& level = levels[i];
    const bool root = i == 0 || (network && i == 1);
    if (level.empty() && !root && i + 1 < levels.size()) return "an empty level";
    if (!level.empty() && (level.back() == ' ' || level.back() == '.') && level != "." &&
        level != "..")
      return "level \"" + level + "\" ends in a space or dot";
  }
  if (Read(target) != target) return "Windows reads it as " + Read(target);
  return "";
}

// How many levels of the text are exactly .. (slashes and backslashes both separate).
inline size_t UpLevels(std::string_view text) {
  size_t count = 0;
  for (size_t begin = 0; begin <= text.size();) {
    size_t end = std::min(text.find_first_of("\\/", begin), text.size());
    count += text.substr(begin, end - begin) == "..";
    begin = end + 1;
  }
  return count;
}

// What is wrong with the folder chain of a target's folder, or "": every level that can be made
// (not a root, nor a network path's server or share) is listed in order, and the name made for it
// is its prefix without the backslash, so the folder made is the one the target is in.
inline std::string ChainFault(std::string_view folder) {
  std::vector<std::string> expected;
  const size_t unmade = folder.starts_with("\\\\") ? 4 : 0;  // \, \\, server, share
  size_t separators = 0;
  for (size_t at = 0; at < folder.size(); ++at)
    if (folder[at] == '\\' && ++separators > unmade && folder.find_first_not_of('\\') < at)
      expected.emplace_back(folder.substr(0, at + 1));
  std::vector<FolderLevel> chain = FolderChain(folder);
  if (chain.size() != expected.size()) return "chain of " + std::to_string(chain.size());
  for (size_t i = 0; i < chain.size(); ++i)
    if (chain[i].prefix != expected[i] || chain[i].name + '\\' != expected[i])
      return "level " + chain[i].prefix + " named " + chain[i].name;
  return "";
}
}  // namespace windows_path_reading

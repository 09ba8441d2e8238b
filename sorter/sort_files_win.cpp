#include "sorter/sort_files_win.h"

#include <windows.h>

#include "base/file_system_win.h"
#include "base/position.h"
#include "base/system_message_win.h"
#include "sorter/target_path.h"
#include "tags/tag_bridge.h"

namespace {
// The full path of a file, as Windows resolves a relative or dotted one.
std::string FullPath(const std::string& path) {
  char full[MAX_PATH] = {};
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  return length > 0 && length < MAX_PATH ? full : path;
}
}  // namespace

void CreateFolderChain(const std::string& folder) {
  STEP(Sorter);
  const std::vector<FolderLevel> chain = FolderChain(folder);
  // Files sorted into a folder that is already there (most files of a run) cost one query instead
  // of one per level, which a deep target folder would otherwise make for every file.
  if (chain.empty() || IsFolder(chain.back().prefix)) return;
  for (const FolderLevel& level : chain) {
    STEP(Sorter);
    if (!IsFolder(level.prefix)) CreateDirectoryA(level.name.c_str(), nullptr);
  }
}

TargetState TargetStateOf(const std::string& source, const std::string& target) {
  STEP(Sorter);
  if (GetFileAttributesA(target.c_str()) == INVALID_FILE_ATTRIBUTES) return TargetState::kMissing;
  return FoldedPath(FullPath(source)) == FoldedPath(FullPath(target)) ? TargetState::kSameFile
                                                                      : TargetState::kExists;
}

SortFileSteps FileSteps(WhileCopying whileCopying) {
  return {
      .readTags = [](const std::string& path, TagInfo& tags) { return ReadTags(path, &tags); },
      .targetState = TargetStateOf,
      .createFolders = CreateFolderChain,
      .copyFile =
          [whileCopying](const std::string& source, const std::string& target, bool replace) {
            STEP(Sorter);
            return CopyInSteps(source, target, replace, whileCopying);
          },
      // Across drives too; an existing target is never replaced.
      .moveFile =
          [whileCopying](const std::string& source, const std::string& target) {
            STEP(Sorter);
            return MoveInSteps(source, target, whileCopying);
          },
      .systemMessage = SystemMessage,
  };
}

#include "sorter/sort_files_win.h"

#include <windows.h>

#include "app/file_system_win.h"
#include "app/position.h"
#include "sorter/target_path.h"
#include "tags/tag_bridge.h"

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

void SetFileSteps(SortRunSteps& steps) {
  steps.read = [](const std::string& path, TagInfo& tags) { return ReadTags(path, &tags); };
  steps.createFolders = CreateFolderChain;
  steps.copy = [](const std::string& source, const std::string& target) {
    STEP(Sorter);
    CopyFileA(source.c_str(), target.c_str(), FALSE);
  };
  steps.move = [](const std::string& source, const std::string& target) {
    STEP(Sorter);
    // Across drives too; without MOVEFILE_REPLACE_EXISTING an existing target is never replaced.
    MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_COPY_ALLOWED);
  };
}

#include "sorter/sort_files_win.h"

#include <windows.h>

#include <memory>

#include "base/file_system_win.h"
#include "base/name_case_win.h"
#include "base/position.h"
#include "base/system_message_win.h"
#include "base/wide_text_win.h"
#include "sorter/tag_read_ahead_win.h"
#include "sorter/target_path.h"
#include "tags/tag_bridge.h"

static_assert(kErrorPathNotFound == ERROR_PATH_NOT_FOUND && kErrorFileExists == ERROR_FILE_EXISTS &&
              kErrorAlreadyExists == ERROR_ALREADY_EXISTS &&
              kErrorFilenameTooLong == ERROR_FILENAME_EXCED_RANGE &&
              kErrorRequestAborted == ERROR_REQUEST_ABORTED);

namespace {
// The key of a name as SortFileSteps::fileKey gives it: the identity, marked by a leading 1 that
// no name holds, or the folded whole name.
std::u16string FileKey(const std::string& name) {
  if (std::optional<std::string> identity = FileIdentity(name))
    return u"\1" + Utf8ToUtf16(*identity);
  return FileSystemNameCase().Folded(WholePath(name));
}

// Whether a copy or move failed only because the read-ahead holds the file open: TagLib opens a
// file for reading and lets others only read it. The read-ahead never takes the file being placed
// under the spelling the run compares, but may under another (a short name, a link).
bool HeldByReadAhead(std::uint32_t error) { return error == ERROR_SHARING_VIOLATION; }
}  // namespace

void CreateFolderChain(const std::string& folder) {
  STEP(Sorter);
  const std::vector<FolderLevel> chain = FolderChain(folder);
  // Files sorted into a folder that is already there (most files of a run) cost one query instead
  // of one per level, which a deep target folder would otherwise make for every file.
  if (chain.empty()) return;
  // A folder that is there may hold a hidden copy that an earlier run, ended by force, left.
  if (IsFolder(chain.back().prefix)) return RemoveLeftoverCopies(chain.back().prefix);
  for (const FolderLevel& level : chain) {
    STEP(Sorter);
    if (!IsFolder(level.prefix)) CreateDirectoryW(Wide(level.name).c_str(), nullptr);
  }
}

TargetState TargetStateOf(const std::string& source, const std::string& target) {
  STEP(Sorter);
  if (GetFileAttributesW(Wide(target).c_str()) == INVALID_FILE_ATTRIBUTES)
    return TargetState::kMissing;
  return FileKey(source) == FileKey(target) ? TargetState::kSameFile : TargetState::kExists;
}

SortFileSteps FileSteps(WhileCopying whileCopying) {
  auto ahead = std::make_shared<TagReadAhead>();
  return {
      .readTags = [ahead](const std::string& path,
                          TagInfo& tags) { return ahead->Read(path, tags); },
      .readNext = [ahead](const std::string& path) { ahead->Start(path); },
      .targetState = TargetStateOf,
      .createFolders = CreateFolderChain,
      .copyFile =
          [whileCopying, ahead](const std::string& source, const std::string& target,
                                bool replace) {
            STEP(Sorter);
            std::uint32_t error = CopyInSteps(source, target, replace, whileCopying);
            if (HeldByReadAhead(error) && ahead->Wait())
              error = CopyInSteps(source, target, replace, whileCopying);
            return error;
          },
      // Across drives too; an existing target is never replaced.
      .moveFile =
          [whileCopying, ahead](const std::string& source, const std::string& target) {
            STEP(Sorter);
            std::uint32_t error = MoveInSteps(source, target, whileCopying);
            if (HeldByReadAhead(error) && ahead->Wait())
              error = MoveInSteps(source, target, whileCopying);
            return error;
          },
      .systemMessage = SystemMessage,
      .foldedName = [](const std::string& name) { return FileSystemNameCase().Folded(name); },
      .fileKey = FileKey,
  };
}

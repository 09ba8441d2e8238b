#include "sorter/sort_files_win.h"

#include <windows.h>

#include <memory>

#include "base/file_system_win.h"
#include "base/name_case_win.h"
#include "base/position.h"
#include "base/system_message_win.h"
#include "base/path_parts.h"
#include "base/wide_text_win.h"
#include "base/win_handles.h"
#include "sorter/empty_folders.h"
#include "sorter/tag_read_ahead_win.h"
#include "sorter/target_path.h"
#include "tags/save_copy_name.h"
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

void CreateFolderChain(const std::string& folder, RecordWriter* record) {
  STEP(Sorter);
  const std::vector<FolderLevel> chain = FolderChain(folder);
  // Files sorted into a folder that is already there (most files of a run) cost one query instead
  // of one per level, which a deep target folder would otherwise make for every file.
  if (chain.empty()) return;
  // A folder that is there may hold a hidden copy that an earlier run, ended by force, left.
  if (IsFolder(chain.back().prefix)) return RemoveLeftoverCopies(chain.back().prefix);
  for (const FolderLevel& level : chain) {
    STEP(Sorter);
    if (IsFolder(level.prefix)) continue;
    if (record) record->Write({RecordStep::kMakeFolder, level.prefix, "", {}});
    CreateDirectoryW(Wide(level.name).c_str(), nullptr);
  }
}

TargetState TargetStateOf(const std::string& source, const std::string& target) {
  STEP(Sorter);
  if (GetFileAttributesW(Wide(target).c_str()) == INVALID_FILE_ATTRIBUTES)
    return TargetState::kMissing;
  return FileKey(source) == FileKey(target) ? TargetState::kSameFile : TargetState::kExists;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> files;
  for (const std::string& name : NamesIn(folder, "*", true).value_or(std::vector<std::string>{}))
    files.push_back(folder + name);
  return files;
}

SortFileSteps FileSteps(WhileCopying whileCopying, std::shared_ptr<RecordWriter> record) {
  auto ahead = std::make_shared<TagReadAhead>();
  // Each step that changes the disk is in the record before it is done.
  auto write = [record](RecordStep::Kind kind, const std::string& from, const std::string& to) {
    if (!record) return;
    record->Write({kind, from, to, FileMarkOf(from).value_or(FileMark{})});
  };
  return {
      .begin =
          [record](bool move) {
            if (record) record->Begin(move);
          },
      .readTags = [ahead](const std::string& path,
                          TagInfo& tags) { return ahead->Read(path, tags); },
      .readNext = [ahead](const std::string& path) { ahead->Start(path); },
      .targetState = TargetStateOf,
      .createFolders =
          [record](const std::string& folder) { CreateFolderChain(folder, record.get()); },
      .copyFile =
          [whileCopying, ahead, write](const std::string& source, const std::string& target,
                                       bool replace) {
            STEP(Sorter);
            // The file a copy replaces is kept aside, hidden, for the run's undo.
            auto asideName = [&](int attempt) {
              return SetAsideName(target, GetCurrentProcessId(), attempt);
            };
            const std::string aside = replace ? UnusedName(asideName) : "";
            if (!aside.empty()) write(RecordStep::kSetAside, target, aside);
            write(RecordStep::kCopy, source, target);
            std::uint32_t error = CopyInSteps(source, target, replace, whileCopying, aside);
            if (HeldByReadAhead(error) && ahead->Wait())
              error = CopyInSteps(source, target, replace, whileCopying, aside);
            return error;
          },
      // Across drives too; an existing target is never replaced.
      .moveFile =
          [whileCopying, ahead, write](const std::string& source, const std::string& target) {
            STEP(Sorter);
            write(RecordStep::kMove, source, target);
            std::uint32_t error = MoveInSteps(source, target, whileCopying);
            if (HeldByReadAhead(error) && ahead->Wait())
              error = MoveInSteps(source, target, whileCopying);
            return error;
          },
      .folderFiles = FilesIn,
      .systemMessage = SystemMessage,
      .foldedName = [](const std::string& name) { return FileSystemNameCase().Folded(name); },
      .fileKey = FileKey,
  };
}

size_t RemoveEmptiedFolders(const SortSummary& summary, const std::string& selectionFolder,
                            RecordWriter* record) {
  STEP(Sorter);
  const NameCase& names = FileSystemNameCase();
  const std::u16string selection = names.Folded(selectionFolder);
  std::vector<std::pair<std::string, std::string>> moved;
  for (const std::string& source : summary.moved) {
    // A file from below the folder the sorter started in may empty folders up to that one; any
    // other only its own folder.
    const bool below = !selectionFolder.empty() && names.Folded(source).rfind(selection, 0) == 0;
    moved.emplace_back(source, below ? selectionFolder : FolderPart(source));
  }
  const FolderWalk walk{
      .names = [](const std::string& folder) { return NamesIn(folder); },
      .folded = [&names](const std::string& name) { return names.Folded(name); },
  };
  // A process's current folder can't be removed while it is that: the sorter leaves it first.
  const std::vector<EmptiedFolder> emptied = EmptiedFolders(moved, summary.targets, walk);
  if (!emptied.empty()) SetCurrentDirectoryW(Wide(ProgramFolder()).c_str());
  size_t removed = 0;
  for (const EmptiedFolder& folder : emptied) {
    STEP(Sorter);
    if (record) record->Write({RecordStep::kRemoveFolder, folder.folder, "", {}});
    for (const std::string& leftover : folder.leftovers) {
      const std::wstring name = Wide(leftover);
      SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(name.c_str());
    }
    if (RemoveDirectoryW(Wide(folder.folder).c_str())) ++removed;
  }
  return removed;
}

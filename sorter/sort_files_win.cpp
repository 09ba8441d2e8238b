#include "sorter/sort_files_win.h"

#include <windows.h>

#include <memory>
#include <unordered_map>

#include "base/file_system_win.h"
#include "base/name_case_win.h"
#include "base/position.h"
#include "base/system_message_win.h"
#include "base/path_parts.h"
#include "base/user_folders_win.h"
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

// The states of the files of the run's source folders, each folder listed once, when its first
// file is moved: a handle per file costs more than the move itself. A file the listing lacks (one
// that came after it) is looked at alone, as is a name asked for again: the file listed under it
// went with the first move.
class SourceStates {
 public:
  std::optional<FileState> Of(const std::string& path) {
    const std::string folder = FolderPart(path);
    auto listed = folders_.find(folder);
    if (listed == folders_.end()) {
      std::unordered_map<std::u16string, FileState> states;
      for (auto& [name, state] : FileStatesIn(folder).value_or(Listing{}))
        states.emplace(FileSystemNameCase().Folded(name), std::move(state));
      listed = folders_.emplace(folder, std::move(states)).first;
    }
    const auto found = listed->second.find(FileSystemNameCase().Folded(FilePart(path)));
    if (found == listed->second.end()) return FileStateOf(path);
    const FileState state = found->second;
    listed->second.erase(found);
    return state;
  }

 private:
  using Listing = std::vector<std::pair<std::string, FileState>>;
  std::unordered_map<std::string, std::unordered_map<std::u16string, FileState>> folders_;
};

// The run's set-aside folder in a folder: the first name of SetAsideFolderName's that this run made
// there, or else that was free and is made now, hidden; empty when none can be made.
std::string AsideFolder(std::unordered_map<std::u16string, std::string>& made,
                        const std::string& folder) {
  STEP(Sorter);
  const std::u16string key = FileSystemNameCase().Folded(folder);
  if (const auto found = made.find(key); found != made.end()) return found->second;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string aside = folder + SetAsideFolderName(GetCurrentProcessId(), attempt);
    if (CreateDirectoryW(WidePath(aside).c_str(), nullptr)) {
      SetFileAttributesW(WidePath(aside).c_str(), FILE_ATTRIBUTE_HIDDEN);
      return made[key] = aside;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) return "";
  }
  return "";
}
}  // namespace

void CreateFolderChain(const std::string& folder, RecordedSteps* record) {
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
    auto make = [&] { return ErrorOf(CreateDirectoryW(Wide(level.name).c_str(), nullptr)); };
    if (record) {
      // A level that could not be recorded is not made: the file's own step then says why.
      if (record->Folder(RecordStep::kMakeFolder, level.prefix, make) == kErrorNotRecorded) return;
    } else {
      make();
    }
  }
}

TargetState TargetStateOf(const std::string& source, const std::string& target) {
  STEP(Sorter);
  if (GetFileAttributesW(WidePath(target).c_str()) == INVALID_FILE_ATTRIBUTES)
    return TargetState::kMissing;
  return FileKey(source) == FileKey(target) ? TargetState::kSameFile : TargetState::kExists;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> files;
  for (const std::string& name : NamesIn(folder, "*", true).value_or(std::vector<std::string>{}))
    files.push_back(folder + name);
  return files;
}

PlainSteps PlainFileSteps(const WhileCopying& whileCopying, RecordWriter& record) {
  return {
      .mark = MarkOf,
      .state = FileStateOf,
      .sourceState = [sources = std::make_shared<SourceStates>()](
                         const std::string& path) { return sources->Of(path); },
      .copy =
          [whileCopying](const std::string& source, const std::string& target,
                         const std::string& aside, std::optional<FileState>& placed) {
            return CopyInSteps(source, target, whileCopying, aside, &placed);
          },
      .move =
          [whileCopying](const std::string& source, const std::string& target, bool& renamed,
                         std::optional<FileState>& placed) {
            return MoveInSteps(source, target, whileCopying, &renamed, &placed);
          },
      .asideFolder = [made = std::make_shared<std::unordered_map<std::u16string, std::string>>()](
                         const std::string& folder) { return AsideFolder(*made, folder); },
      .rename =
          [](const std::string& from, const std::string& to) {
            // The folders below the set-aside folder that an emptied folder's leftover goes into.
            const std::string root = SetAsideFolderOf(to);
            for (const FolderLevel& level : FolderChain(FolderPart(to)))
              if (level.prefix.size() > root.size())
                CreateDirectoryW(Wide(level.name).c_str(), nullptr);
            return RenameFile(from, to);
          },
      .wholePath = WholePath,
      .append = [&record](const std::string& text) { return record.Append(text); },
      .firstDone = [&record] { record.FirstDone(); },
  };
}

SortFileSteps FileSteps(std::shared_ptr<RecordedSteps> recorded) {
  auto ahead = std::make_shared<TagReadAhead>();
  return {
      .begin = {},
      .readTags = [ahead](const std::string& path,
                          TagInfo& tags) { return ahead->Read(path, tags); },
      .readNext = [ahead](const std::string& path) { ahead->Start(path); },
      .targetState = TargetStateOf,
      .createFolders =
          [recorded](const std::string& folder) { CreateFolderChain(folder, recorded.get()); },
      .copyFile =
          [ahead, recorded](const std::string& source, const std::string& target, bool replace) {
            STEP(Sorter);
            // A file the copy replaces is kept aside, hidden, for the run's undo.
            std::uint32_t error = recorded->Copy(source, target, replace);
            if (HeldByReadAhead(error) && ahead->Wait())
              error = recorded->Copy(source, target, replace);
            return error;
          },
      // Across drives too; an existing target is never replaced.
      .moveFile =
          [ahead, recorded](const std::string& source, const std::string& target) {
            STEP(Sorter);
            std::uint32_t error = recorded->Move(source, target);
            if (HeldByReadAhead(error) && ahead->Wait()) error = recorded->Move(source, target);
            return error;
          },
      .folderFiles = FilesIn,
      .userFolder = IsUserFolder,
      .hasRecycleBin = HasRecycleBin,
      .systemMessage = SystemMessage,
      .foldedName = [](const std::string& name) { return FileSystemNameCase().Folded(name); },
      .fileKey = FileKey,
  };
}

size_t RemoveEmptiedFolders(const SortSummary& summary, const std::string& selectionFolder,
                            RecordedSteps& record) {
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
  const FolderRemoval removal{
      .walk = {
          .names = [](const std::string& folder) { return NamesIn(folder); },
          .folded = [&names](const std::string& name) { return names.Folded(name); },
          .keep =
              [](const std::string& folder) {
                const DWORD attributes = GetFileAttributesW(Wide(folder).c_str());
                return IsUserFolder(folder) ||
                       (attributes != INVALID_FILE_ATTRIBUTES &&
                        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM)));
              },
      },
      .hasRecycleBin = HasRecycleBin,
      .removeFolder = RemoveEmptyFolder,
  };
  // A process's current folder can't be removed while it is that: the sorter leaves it first.
  if (!moved.empty()) SetCurrentDirectoryW(Wide(ProgramFolder()).c_str());
  return RemoveEmptiedFolders(moved, summary.targets, summary.mayDeleteWithoutBin, record, removal);
}

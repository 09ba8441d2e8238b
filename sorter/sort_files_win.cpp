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
// The full path of a file, as Windows resolves a relative or dotted one.
std::wstring FullPath(const std::string& path) {
  const std::wstring wide = Wide(path);
  std::wstring full(MAX_PATH, L'\0');
  DWORD length = GetFullPathNameW(wide.c_str(), DWORD(full.size()), full.data(), nullptr);
  if (length >= full.size()) {
    full.resize(length);
    length = GetFullPathNameW(wide.c_str(), DWORD(full.size()), full.data(), nullptr);
  }
  if (length == 0 || length >= full.size()) return wide;
  full.resize(length);
  return full;
}

// Whether two full paths name the same file: compared as the file system compares names, every
// script's capitals and small letters alike.
bool SameName(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) ==
         CSTR_EQUAL;
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
    if (!IsFolder(level.prefix)) CreateDirectoryW(Wide(level.name).c_str(), nullptr);
  }
}

TargetState TargetStateOf(const std::string& source, const std::string& target) {
  STEP(Sorter);
  if (GetFileAttributesW(Wide(target).c_str()) == INVALID_FILE_ATTRIBUTES)
    return TargetState::kMissing;
  return SameName(FullPath(source), FullPath(target)) ? TargetState::kSameFile
                                                      : TargetState::kExists;
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
      .foldedName = [](const std::string& name) { return FileSystemNameCase().Folded(name); },
  };
}

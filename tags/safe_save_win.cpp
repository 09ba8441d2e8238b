#include <windows.h>

#include <optional>

#include "base/file_system_win.h"
#include "base/path_parts.h"
#include "base/position.h"
#include "base/wide_text_win.h"
#include "tags/safe_save.h"
#include "tags/save_copy_name.h"

namespace {
// A save that left the volume without even its last block free may have been cut short without
// the writer noticing, so it counts as failed.
constexpr unsigned long long kLastBlock = 4096;

// Copies the original to a fresh name beside it; empty, with the system's error code, when no copy
// could be made.
std::string MakeCopy(const std::string& fileName, unsigned long& error) {
  STEP(DA3Rudi);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string copy = SaveCopyName(fileName, GetCurrentProcessId(), attempt);
    if (CopyFileW(Wide(fileName).c_str(), Wide(copy).c_str(), TRUE)) return copy;
    error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
      DeleteFileW(Wide(copy).c_str());  // a copy that failed halfway (disk full) is ours to remove
      return {};
    }
  }
  return {};
}

// Deletes a copy that is no longer needed. One that another program holds open (a virus scanner,
// Explorer's preview) cannot go yet: it is hidden, and the edit and sort runs skip its name.
void RemoveCopy(const std::string& copy) {
  STEP(DA3Rudi);
  const std::wstring name = Wide(copy);
  if (DeleteFileW(name.c_str())) return;
  DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES)
    SetFileAttributesW(name.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
}

// After a failed replace, the files on disk decide; the checked copy is given up only while the
// original is there as it was. Without a backup name, ERROR_UNABLE_TO_MOVE_REPLACEMENT means the
// original is gone and the copy is the only file left; ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 means the
// original lives on under a name the system chose.
bool SettleFailedReplace(const std::string& fileName, const std::string& copy,
                         const FileMark& original, unsigned long error) {
  STEP(DA3Rudi);
  if (std::optional<FileMark> now = MarkOf(fileName)) {
    if (*now == original) RemoveCopy(copy);
    return false;  // a file changed meanwhile by someone else is kept beside the copy
  }
  // MoveFile never overwrites: should a file or folder have taken the name meanwhile, the copy
  // stays where it is, with the saved tags.
  if (!MoveFileW(Wide(copy).c_str(), Wide(fileName).c_str())) return false;
  // The name holds the saved file again; an original that lives on elsewhere is still a failure
  // to report, since the user now has a second file.
  return error != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
}
}  // namespace

std::optional<unsigned long long> FreeBytesBeside(const std::string& path) {
  const std::string folder = FolderPart(path);
  ULARGE_INTEGER free{};
  if (!GetDiskFreeSpaceExW(folder.empty() ? nullptr : Wide(folder).c_str(), &free, nullptr,
                           nullptr))
    return std::nullopt;
  return free.QuadPart;
}

bool ReplaceWithCopy(const std::string& original, const std::string& copy, unsigned long& error) {
  STEP(DA3Rudi);
  // ReplaceFile keeps the original's attributes and identity. The two IGNORE flags let a save
  // succeed where the user may write the file but not its access list (network shares).
  constexpr DWORD kFlags =
      REPLACEFILE_WRITE_THROUGH | REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS;
  if (ReplaceFileW(Wide(original).c_str(), Wide(copy).c_str(), nullptr, kFlags, nullptr, nullptr))
    return true;
  error = GetLastError();
  return false;
}

bool MayReplace(const std::string& fileName, unsigned long& error) {
  DWORD attributes = GetFileAttributesW(Wide(fileName).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    error = GetLastError();
    return false;
  }
  error = attributes & FILE_ATTRIBUTE_READONLY ? ERROR_ACCESS_DENIED : 0;
  return error == 0;
}

namespace {
enum class Attempt { kSaved, kFailed, kChangedMeanwhile };

// One copy, save, check and replace, as SaveThroughCopy describes.
Attempt SaveOnce(const std::string& fileName, unsigned long long room, const CopyStep& save,
                 const CopyStep& check, const ReplaceStep& replace, unsigned long& error,
                 const FreeSpaceQuery& freeSpace) {
  // A volume that does not tell is not taken for full: the save goes on, and the check still
  // catches one cut short.
  auto lacksRoom = [&](const std::string& path, unsigned long long bytes) {
    const std::optional<unsigned long long> free = freeSpace(path);
    return free && *free < bytes;
  };
  STEP(DA3Rudi);
  error = 0;
  const std::optional<FileMark> original = MarkOf(fileName);
  if (!original) {
    error = ERROR_FILE_NOT_FOUND;
    return Attempt::kFailed;
  }

  std::string copy = MakeCopy(fileName, error);
  if (copy.empty()) return Attempt::kFailed;
  bool good = false;
  if (lacksRoom(copy, room))
    error = ERROR_DISK_FULL;
  else if (save(copy, error))
    good = lacksRoom(copy, kLastBlock) ? (error = ERROR_DISK_FULL, false) : check(copy, error);
  STEP(DA3Rudi);
  if (!good) {
    RemoveCopy(copy);  // the original was never touched
    return Attempt::kFailed;
  }
  // The copy holds the file as it was when it was made; a file written since by another program
  // (a player's rating, another tagger) is not replaced by it.
  if (MarkOf(fileName) != original) {
    RemoveCopy(copy);
    error = MarkOf(fileName) ? kErrorChangedWhileSaved : ERROR_FILE_NOT_FOUND;
    return error == kErrorChangedWhileSaved ? Attempt::kChangedMeanwhile : Attempt::kFailed;
  }
  if (replace(fileName, copy, error)) return Attempt::kSaved;
  return SettleFailedReplace(fileName, copy, *original, error) ? Attempt::kSaved : Attempt::kFailed;
}
}  // namespace

bool SaveThroughCopy(const std::string& fileName, unsigned long long room, const CopyStep& save,
                     const CopyStep& check, const ReplaceStep& replace, unsigned long& error,
                     const FreeSpaceQuery& freeSpace) {
  STEP(DA3Rudi);
  // A file changed while it was saved is saved once more from what it holds then.
  for (int attempt = 0; attempt < 2; ++attempt)
    switch (SaveOnce(fileName, room, save, check, replace, error, freeSpace)) {
      case Attempt::kSaved:
        return true;
      case Attempt::kFailed:
        return false;
      case Attempt::kChangedMeanwhile:
        break;
    }
  return false;
}

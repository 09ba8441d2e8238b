// File-system queries and whole-file reads. Paths are UTF-8 and reach Windows' wide calls.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_mark.h"

// The size of a file; nothing for a folder or a missing path.
std::optional<std::uint64_t> FileSize(const std::string& path);
bool IsFolder(const std::string& path);

// The mark of a file; nothing when the name holds no file (missing, or a folder).
std::optional<FileMark> MarkOf(const std::string& path);

// Reads a file from its start piece by piece until enough(the newest piece) holds or the file
// ends. False when it cannot be opened, or the memory for what it needs cannot
// be had.
bool ReadFileUntil(const std::string& path, std::string& bytes,
                   const std::function<bool(std::string_view piece)>& enough);
// Reads from the file's current position to its end. False, with bytes empty, when the memory for
// the file cannot be had.
bool ReadRest(HANDLE file, std::string& bytes);

// The path made whole as Windows resolves it (GetFullPathNameW): a relative one in the current
// directory, dots and slashes read. A name that holds an unpaired surrogate, or one Windows can't
// resolve, stays as it is.
std::string WholePath(const std::string& path);

// What makes a file the file it is, whatever its name is spelt as (a mapped drive or its network
// name, a short 8.3 name, a link): its volume's serial number and its index there. Nothing when
// the name holds no file or folder that can be opened, or the volume gives no index (some shares
// give 0 for every file).
std::optional<std::string> FileIdentity(const std::string& path);
// Whether the volume of a path keeps a file's index when it is renamed or moved within it, as NTFS
// does; FAT, FAT32 and exFAT give it a new one. A volume that does not say counts as keeping it.
bool KeepsFileIndexes(const std::string& path);
// Whether the drive of a path keeps a Recycle Bin: a fixed drive does, a share, a removable or a
// RAM disk does not.
bool HasRecycleBin(const std::string& path);

// The file's identity (empty where the volume gives none) and mark, read through one handle;
// nothing when the name holds no file.
std::optional<FileState> FileStateOf(const std::string& path);
// The same through a handle already open (with no access asked, or any) to the file at the path.
std::optional<FileState> FileStateOfHandle(HANDLE file, const std::string& path);

// The state of every file in a folder, given with its backslash, by name (as the folder spells it,
// a name that is no valid UTF-16 keeping its mark), as FileStateOf gives them one by one, from one
// listing of the folder instead of a handle per file. Nothing when the folder can't be listed.
std::optional<std::vector<std::pair<std::string, FileState>>> FileStatesIn(
    const std::string& folder);

// The names in a folder, given with its backslash, that match the pattern (`.` and `..` left out,
// folders too when filesOnly); a name that is no valid UTF-16 keeps its mark. Nothing when the
// folder can't be listed.
std::optional<std::vector<std::string>> NamesIn(const std::string& folder,
                                                const char* pattern = "*", bool filesOnly = false);

// Whether a folder is there and holds nothing.
bool IsEmptyFolder(const std::string& folder);
// Removes a folder that holds nothing; 0 or the system's error code.
std::uint32_t RemoveEmptyFolder(const std::string& folder);
// Renames a file within its volume, never over another; 0 or the system's error code.
std::uint32_t RenameFile(const std::string& from, const std::string& to);

// The full path of the running executable, and its folder with the trailing backslash.
std::string ProgramPath();
std::string ProgramFolder();

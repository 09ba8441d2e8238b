#include "base/file_system_win.h"

#include <windows.h>

#include <map>
#include <mutex>
#include <new>
#include <string_view>
#include <unordered_map>

#include "base/path_parts.h"
#include "base/position.h"
#include "base/wide_text_win.h"
#include "base/win_handles.h"

namespace {
constexpr DWORD kPieceSize = 64 * 1024;

// Empties the text and gives its memory back.
void FreeBytes(std::string& bytes) { std::string().swap(bytes); }

std::optional<WIN32_FILE_ATTRIBUTE_DATA> Attributes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data))
    return std::nullopt;
  return data;
}
}  // namespace

std::optional<FileMark> MarkOf(const std::string& path) {
  auto data = Attributes(path);
  if (!data || (data->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  return FileMark{(std::uint64_t(data->nFileSizeHigh) << 32) | data->nFileSizeLow,
                  (std::uint64_t(data->ftLastWriteTime.dwHighDateTime) << 32) |
                      data->ftLastWriteTime.dwLowDateTime};
}

std::optional<std::uint64_t> FileSize(const std::string& path) {
  STEP(DA3Rudi);
  if (auto stamp = MarkOf(path)) return stamp->size;
  return std::nullopt;
}

bool IsFolder(const std::string& path) {
  STEP(DA3Rudi);
  auto data = Attributes(path);
  return data && (data->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadFileUntil(const std::string& path, std::string& bytes,
                   const std::function<bool(std::string_view piece)>& enough) {
  STEP(DA3Rudi);
  bytes.clear();
  FileHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  char piece[kPieceSize];
  DWORD got = 0;
  try {
    while (ReadFile(file.get(), piece, sizeof piece, &got, nullptr) && got > 0) {
      bytes.append(piece, got);
      if (enough(std::string_view(piece, got))) break;
    }
  } catch (const std::bad_alloc&) {
    FreeBytes(bytes);
    return false;
  }
  return true;
}

bool ReadRest(HANDLE file, std::string& bytes) {
  STEP(DA3Rudi);
  FreeBytes(bytes);
  LARGE_INTEGER size{}, position{}, none{};
  if (!GetFileSizeEx(file, &size) || !SetFilePointerEx(file, none, &position, FILE_CURRENT))
    return true;  // nothing to read from this handle
  try {
    // The whole size is asked for at once: growing the text while reading would need up to twice
    // the memory, and a file too large for this process's memory fails here, not halfway.
    const long long rest = size.QuadPart - position.QuadPart;
    if (rest > 0) {
      if (static_cast<unsigned long long>(rest) > bytes.max_size()) throw std::bad_alloc();
      bytes.reserve(size_t(rest));
    }
    char piece[kPieceSize];
    DWORD got = 0;
    while (ReadFile(file, piece, sizeof piece, &got, nullptr) && got > 0) bytes.append(piece, got);
  } catch (const std::bad_alloc&) {
    FreeBytes(bytes);
    return false;
  }
  return true;
}

std::optional<std::vector<std::string>> NamesIn(const std::string& folder, const char* pattern,
                                                bool filesOnly) {
  WIN32_FIND_DATAW found;
  const FindHandle search(FindFirstFileW(Wide(folder + pattern).c_str(), &found));
  if (!search) return std::nullopt;
  std::vector<std::string> names;
  do {
    const bool isFolder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    const std::string name = Utf8Marked(found.cFileName);
    if (name != "." && name != ".." && !(filesOnly && isFolder)) names.push_back(name);
  } while (FindNextFileW(search.get(), &found));
  return names;
}

bool IsEmptyFolder(const std::string& folder) {
  const std::optional<std::vector<std::string>> names = NamesIn(folder);
  return names && names->empty();
}

std::uint32_t RemoveEmptyFolder(const std::string& folder) {
  return RemoveDirectoryW(WidePath(folder).c_str()) ? 0 : GetLastError();
}

std::uint32_t RenameFile(const std::string& from, const std::string& to) {
  return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), 0) ? 0 : GetLastError();
}

std::string WholePath(const std::string& path) {
  STEP(DA3Rudi);
  if (HoldsUnpairedSurrogate(path)) return path;
  const std::wstring wide = Wide(path);
  std::wstring whole(MAX_PATH, L'\0');
  DWORD length = GetFullPathNameW(wide.c_str(), DWORD(whole.size()), whole.data(), nullptr);
  if (length >= whole.size()) {
    whole.resize(length);
    length = GetFullPathNameW(wide.c_str(), DWORD(whole.size()), whole.data(), nullptr);
  }
  if (length == 0 || length >= whole.size()) return path;
  whole.resize(length);
  return Utf8(whole).value_or(path);
}

namespace {
// The information of the file or folder the name holds, opened with no access asked and every
// sharing allowed: the file stays free for any other program meanwhile.
std::optional<BY_HANDLE_FILE_INFORMATION> HandleInformation(const std::string& path) {
  FileHandle file(CreateFileW(WidePath(path).c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!file || !GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
  return info;
}

// A file's identity as the program keeps it: its volume's serial number and its index there;
// empty for an index of 0, which some shares give every file.
std::string IdentityOf(DWORD serial, std::uint64_t index) {
  return index == 0 ? "" : std::to_string(serial) + ":" + std::to_string(index);
}
}  // namespace

std::optional<std::string> FileIdentity(const std::string& path) {
  STEP(DA3Rudi);
  const auto info = HandleInformation(path);
  if (!info) return std::nullopt;
  std::string identity =
      IdentityOf(info->dwVolumeSerialNumber,
                 (std::uint64_t(info->nFileIndexHigh) << 32) | info->nFileIndexLow);
  if (identity.empty()) return std::nullopt;
  return identity;
}

namespace {
// The file's index on its volume through its handle, without the volume's own information, which
// GetFileInformationByHandle reads anew for every file (half a millisecond under Wine, where
// the index alone costs next to nothing).
std::optional<std::uint64_t> IndexOf(HANDLE file) {
  using Query = LONG(WINAPI*)(HANDLE, void* status, void* info, ULONG length, int kind);
  static const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationFile")));
  constexpr int kFileInternalInformation = 6;
  struct {
    void* status;
    ULONG_PTR information;
  } status{};  // IO_STATUS_BLOCK
  LARGE_INTEGER index{};
  if (!query || query(file, &status, &index, sizeof index, kFileInternalInformation) < 0)
    return std::nullopt;
  return std::uint64_t(index.QuadPart);
}

// The serial number of the volume a folder is on, asked once per folder: the files of one folder
// are on one volume.
std::optional<DWORD> FolderSerial(const std::string& path, HANDLE file) {
  static std::mutex guard;
  static std::unordered_map<std::string, DWORD> serials;
  const std::string folder = FolderPart(path);
  const std::lock_guard<std::mutex> lock(guard);
  if (auto known = serials.find(folder); known != serials.end()) return known->second;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(file, &info)) return std::nullopt;
  return serials[folder] = info.dwVolumeSerialNumber;
}
}  // namespace

bool KeepsFileIndexes(const std::string& path) {
  STEP(DA3Rudi);
  // A run asks for each file it moves: the answer is kept for each folder, the files of one folder
  // being on one volume, and for each volume. Finding a path's volume costs more than the move
  // (under Wine a query per level of the path).
  static std::mutex guard;
  static std::map<std::string, bool> folders;
  static std::map<std::wstring, bool> volumes;
  const std::lock_guard lock(guard);
  const std::string folder = FolderPart(path);
  if (const auto found = folders.find(folder); found != folders.end()) return found->second;
  wchar_t root[MAX_PATH + 1] = {}, system[MAX_PATH + 1] = {};
  if (!GetVolumePathNameW(Wide(path).c_str(), root, MAX_PATH)) return true;
  auto volume = volumes.find(root);
  if (volume == volumes.end()) {
    const bool keeps =
        !GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, system, MAX_PATH) ||
        (std::wstring_view(system).substr(0, 3) != L"FAT" && std::wstring_view(system) != L"exFAT");
    volume = volumes.emplace(root, keeps).first;
  }
  return folders[folder] = volume->second;
}

bool HasRecycleBin(const std::string& path) {
  const std::string whole = WholePath(path);
  const size_t root = RootLength(whole);
  // A path with no root the system can name is placed nowhere: the step itself says why.
  if (root == std::string_view::npos) return true;
  return GetDriveTypeW(Wide(whole.substr(0, root)).c_str()) == DRIVE_FIXED;
}

std::optional<FileState> FileStateOf(const std::string& path) {
  STEP(DA3Rudi);
  FileHandle file(CreateFileW(WidePath(path).c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file) return std::nullopt;
  return FileStateOfHandle(file.get(), path);
}

std::optional<FileState> FileStateOfHandle(HANDLE file, const std::string& path) {
  FILE_BASIC_INFO basic;
  FILE_STANDARD_INFO standard;
  if (!GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic) ||
      !GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard) ||
      standard.Directory)
    return std::nullopt;
  FileState state{
      "",
      {std::uint64_t(standard.EndOfFile.QuadPart), std::uint64_t(basic.LastWriteTime.QuadPart)}};
  const std::optional<std::uint64_t> index = IndexOf(file);
  const std::optional<DWORD> serial = index ? FolderSerial(path, file) : std::nullopt;
  if (index && serial) state.identity = IdentityOf(*serial, *index);
  return state;
}

std::optional<std::vector<std::pair<std::string, FileState>>> FileStatesIn(
    const std::string& folder) {
  STEP(DA3Rudi);
  FileHandle listed(CreateFileW(WidePath(folder).c_str(), FILE_LIST_DIRECTORY,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!listed || !GetFileInformationByHandle(listed.get(), &info)) return std::nullopt;
  std::vector<std::pair<std::string, FileState>> states;
  std::vector<std::uint64_t> entries(8 * 1024);  // 64 KiB, aligned as the entries must be
  const char* buffer = reinterpret_cast<const char*>(entries.data());
  for (auto kind = FileIdBothDirectoryRestartInfo;;) {
    if (!GetFileInformationByHandleEx(listed.get(), kind, entries.data(),
                                      DWORD(entries.size() * sizeof entries[0])))
      return GetLastError() == ERROR_NO_MORE_FILES ? std::optional(std::move(states))
                                                   : std::nullopt;
    kind = FileIdBothDirectoryInfo;
    for (size_t at = 0;;) {
      const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer + at);
      if (!(entry->FileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        FileState state{IdentityOf(info.dwVolumeSerialNumber, entry->FileId.QuadPart),
                        {std::uint64_t(entry->EndOfFile.QuadPart),
                         std::uint64_t(entry->LastWriteTime.QuadPart)}};
        states.emplace_back(
            Utf8Marked(std::wstring_view(entry->FileName, entry->FileNameLength / sizeof(WCHAR))),
            std::move(state));
      }
      if (entry->NextEntryOffset == 0) break;
      at += entry->NextEntryOffset;
    }
  }
}

std::string ProgramPath() {
  STEP(DA3Rudi);
  std::wstring path(MAX_PATH, L'\0');
  while (true) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return Utf8Marked(path);
    }
    path.resize(path.size() * 2);
  }
}

std::string ProgramFolder() {
  std::string path = ProgramPath();
  return path.substr(0, path.find_last_of('\\') + 1);
}

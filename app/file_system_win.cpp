#include "app/file_system_win.h"

#include <windows.h>

#include "app/position.h"
#include "app/win_handles.h"

namespace {
std::optional<WIN32_FILE_ATTRIBUTE_DATA> Attributes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return data;
}
}  // namespace

std::optional<std::uint64_t> FileSize(const std::string& path) {
  STEP(DA3Rudi);
  auto data = Attributes(path);
  if (!data || (data->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  return (std::uint64_t(data->nFileSizeHigh) << 32) | data->nFileSizeLow;
}

bool IsFolder(const std::string& path) {
  STEP(DA3Rudi);
  auto data = Attributes(path);
  return data && (data->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  STEP(DA3Rudi);
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  return ReadRest(file.get(), bytes);
}

bool ReadRest(HANDLE file, std::string& bytes) {
  STEP(DA3Rudi);
  bytes.clear();
  char buffer[64 * 1024];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  return true;
}

std::string ProgramPath() {
  STEP(DA3Rudi);
  std::string path(MAX_PATH, '\0');
  while (true) {
    DWORD length = GetModuleFileNameA(nullptr, path.data(), DWORD(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string ProgramFolder() {
  std::string path = ProgramPath();
  return path.substr(0, path.find_last_of('\\') + 1);
}

// Stands in for the user's mail program in the crash report tests. Registered for mailto: as
//   "mail_stand_in.exe" "<record file>" %1
// it writes the whole command line it was started with into the record file, in UTF-8.
#include <windows.h>

#include <string>

#include "base/wide_text_win.h"
#include "base/win_handles.h"

namespace {
// Writes the bytes as a new file's whole content; false when the file cannot be created.
bool WriteNewFile(const std::wstring& path, const std::string& bytes) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file) return false;
  DWORD written = 0;
  WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr);
  return true;
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::wstring line = GetCommandLineW();
  // The record file is the second quoted text: after the program's own quoted path.
  size_t open = line.find(L'"', line.find(L'"', 1) + 1);
  size_t close = open == std::wstring::npos ? open : line.find(L'"', open + 1);
  if (close == std::wstring::npos) return 1;
  const std::wstring record = line.substr(open + 1, close - open - 1);
  if (!WriteNewFile(record + L".part", Utf8Shown(line))) return 1;
  // Renamed when complete, so the test never reads half a record.
  MoveFileExW((record + L".part").c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING);
  return 0;
}

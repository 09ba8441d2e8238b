// Stands in for the user's mail program in the crash report tests. Registered for mailto: as
//   "mail_stand_in.exe" "<record file>" %1
// it writes the whole command line it was started with into the record file.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string line = GetCommandLineA();
  // The record file is the second quoted text: after the program's own quoted path.
  size_t open = line.find('"', line.find('"', 1) + 1);
  size_t close = open == std::string::npos ? open : line.find('"', open + 1);
  if (close == std::string::npos) return 1;
  const std::string record = line.substr(open + 1, close - open - 1);
  HANDLE file = CreateFileA((record + ".part").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, line.data(), DWORD(line.size()), &written, nullptr);
  CloseHandle(file);
  // Renamed when complete, so the test never reads half a record.
  MoveFileExA((record + ".part").c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING);
  return 0;
}

#include "tests/support/win_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>

#include "base/path_parts.h"
#include "base/wide_text_win.h"

namespace testing_win {

std::string FixturePath(const std::string& name) {
  return std::string(DA3_TEST_FIXTURE_DIR) + "\\" + name;
}
std::string ProgramExe() { return std::string(DA3_TEST_BINARY_DIR) + "\\DA3Zur.exe"; }
std::string SourcePath(const std::string& relative) {
  std::string path = std::string(DA3_TEST_SOURCE_DIR) + "\\" + relative;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  // Under the build's testtmp, or under the folder DA3_TEST_TEMP names (the benchmarks' tmpfs).
  wchar_t root[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(L"DA3_TEST_TEMP", root, MAX_PATH);
  std::string base = length > 0 && length < MAX_PATH
                         ? Utf8Shown(root) + "\\"
                         : std::string(DA3_TEST_BINARY_DIR) + "\\testtmp\\";
  CreateDirectoryW(Wide(base).c_str(), nullptr);
  path_ = base + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++) + "\\";
  RemoveTree(path_);
  CreateDirectoryW(Wide(path_).c_str(), nullptr);
}

TempDir::~TempDir() { RemoveTree(path_); }

TestDiskDir::TestDiskDir(Disk disk, const std::string& name) {
  const std::string root = disk == kOtherDrive ? "Y:\\" : SourcePath("build\\smalldisk\\");
  ULARGE_INTEGER total{};
  if (!GetDiskFreeSpaceExW(Wide(root).c_str(), nullptr, &total, nullptr) ||
      total.QuadPart > (4ULL << 30))
    return;
  path_ = root + name + "\\";
  RemoveTree(path_);
  CreateDirectoryW(Wide(path_).c_str(), nullptr);
}

TestDiskDir::~TestDiskDir() {
  if (!path_.empty()) RemoveTree(path_);
}

std::string TempDir::CopyFixture(const std::string& fixture, const std::string& name) const {
  std::string target = path_ + name;
  CopyFileW(Wide(FixturePath(fixture)).c_str(), Wide(target).c_str(), FALSE);
  return target;
}

std::string ReadFileBytes(const std::string& path) {
  FileHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  std::string bytes;
  char buffer[65536];
  DWORD got;
  while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got)
    bytes.append(buffer, got);
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  FileHandle file(
      CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file) return;
  DWORD done;
  WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &done, nullptr);
}

void KeepForReader(const std::string& file, const std::string& name) {
  if (const char* folder = std::getenv("DA3_KEEP_FOLDER"))
    CopyFileW(Wide(file).c_str(),
              Wide(std::string(folder) + "\\" + (name.empty() ? FilePart(file) : name)).c_str(),
              FALSE);
}

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveTree(const std::string& path) {
  std::string folder = path;
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  const std::wstring wide = Wide(folder);
  DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(wide.c_str());
    return;
  }
  WIN32_FIND_DATAW found;
  if (FindHandle search{FindFirstFileW((wide + L"\\*").c_str(), &found)}) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      // A name no UTF-8 text can carry (a test's own unpaired surrogate) is removed by its wide
      // name.
      if (std::optional<std::string> utf8 = Utf8(name)) {
        RemoveTree(folder + "\\" + *utf8);
      } else {
        const std::wstring path = wide + L"\\" + name;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search.get(), &found));
  }
  SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(wide.c_str());
}

void MakeSparseFile(const std::string& path, long long size) {
  const FileHandle file(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(file) << path;
  LARGE_INTEGER end{};
  end.QuadPart = size;
  ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
  ASSERT_TRUE(SetEndOfFile(file.get()));
}

size_t FileCount(const std::string& folder) {
  WIN32_FIND_DATAW found;
  FindHandle search(FindFirstFileW(Wide(folder + "*").c_str(), &found));
  if (!search) return 0;
  size_t files = 0;
  do files += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  while (FindNextFileW(search.get(), &found));
  return files;
}

std::vector<std::string> NamesMatching(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  FindHandle search(FindFirstFileW(Wide(pattern).c_str(), &found));
  if (!search) return names;
  do names.push_back(Utf8Shown(found.cFileName));
  while (FindNextFileW(search.get(), &found));
  return names;
}

KeyHandle OpenedKey(HKEY root, const std::string& path, REGSAM access) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, Wide(path).c_str(), 0, access, &key) != ERROR_SUCCESS) return KeyHandle();
  return KeyHandle(key);
}

KeyHandle CreatedKey(HKEY root, const std::string& path, REGSAM access) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, Wide(path).c_str(), 0, nullptr, 0, access, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return KeyHandle();
  return KeyHandle(key);
}

bool WaitUntil(const std::function<bool()>& cond, int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (true) {
    if (cond()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    Sleep(5);
  }
}

namespace {
struct WindowQuery {
  DWORD processId;
  const char* className;
  const char* title;
  HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  auto* query = reinterpret_cast<WindowQuery*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != query->processId || !IsWindowVisible(window)) return TRUE;
  if (query->className && ClassOf(window) != query->className) return TRUE;
  if (query->title && TextOf(window) != query->title) return TRUE;
  query->found = window;
  return FALSE;
}
}  // namespace

HWND WaitForWindow(DWORD processId, const char* className, const char* title, int timeoutMs) {
  WindowQuery query{processId, className, title};
  WaitUntil(
      [&] {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
        return query.found != nullptr;
      },
      timeoutMs);
  return query.found;
}

bool WaitUntilAnswering(HWND window, int timeoutMs) {
  DWORD_PTR ignored;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, DWORD(timeoutMs), &ignored) != 0;
}

HWND WaitForMessageBox(DWORD processId, const char* title, int timeoutMs) {
  return WaitForWindow(processId, "#32770", title, timeoutMs);
}

std::string MessageBoxText(HWND box) {
  std::string text;
  for (HWND child : Children(box))
    if (ClassOf(child) == "Static" && !TextOf(child).empty()) text += TextOf(child);
  return text;
}

bool AnswerMessageBox(HWND box, int button) {
  HWND control = GetDlgItem(box, button);
  if (!control) return false;
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), LPARAM(control));
  return WaitUntil([&] { return !IsWindow(box); });
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

std::vector<HWND> WaitForChildren(HWND parent, size_t count, int timeoutMs) {
  std::vector<HWND> children;
  WaitUntil(
      [&] {
        children = Children(parent);
        return children.size() >= count;
      },
      timeoutMs);
  return children;
}

std::string ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, int(std::size(name)));
  return Utf8Shown(name);
}

std::string TextOf(HWND window) {
  // WM_GETTEXT through SendMessageTimeout, so a hung window cannot hang the test; wide, so every
  // character arrives as it is, also from another process.
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
    return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), LPARAM(text.data()), SMTO_ABORTIFHUNG, 2000,
                      &copied);
  text.resize(copied < text.size() ? copied : 0);
  return Utf8Shown(text);
}

void SetText(HWND window, const std::string& text) {
  DWORD_PTR result;
  SendMessageTimeoutW(window, WM_SETTEXT, 0, LPARAM(Wide(text).c_str()), SMTO_ABORTIFHUNG, 2000,
                      &result);
}

LONG StyleOf(HWND window) { return GetWindowLongW(window, GWL_STYLE); }

RECT RectInParent(HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

SIZE ClientSize(HWND window) {
  RECT rect;
  GetClientRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

void PressKey(HWND window, WPARAM key) {
  HWND focus = FocusOf(window);
  PostMessageW(focus, WM_KEYDOWN, key, 1);
  PostMessageW(focus, WM_KEYUP, key, LPARAM(0xC0000001));
}

bool PressKeyHolding(HWND window, int held, WPARAM key, const std::function<bool()>& done) {
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  if (!AttachThreadInput(GetCurrentThreadId(), thread, TRUE)) return false;
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[held] = 0x80;
  SetKeyboardState(keys);
  PressKey(window, key);
  const bool effect = WaitUntil(done);
  keys[held] = 0;
  SetKeyboardState(keys);
  AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
  return effect;
}

Process::Process(const std::string& commandLine, const std::string& appData,
                 const std::string& currentDirectory)
    : Process(Wide(commandLine), appData, currentDirectory) {}

Process::Process(std::wstring commandLine, const std::string& appData,
                 const std::string& currentDirectory) {
  SetEnvironmentVariableW(L"APPDATA", Wide(appData).c_str());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring& line = commandLine;
  PROCESS_INFORMATION info{};
  const std::wstring folder = Wide(currentDirectory);
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info))
    return;
  process_ = KernelHandle(info.hProcess);
  thread_ = KernelHandle(info.hThread);
  id_ = info.dwProcessId;
}

Process::~Process() {
  if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.get(), 99);
    WaitForSingleObject(process_.get(), 5000);
  }
}

long Process::WaitForExit(int timeoutMs) {
  if (!process_ || WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return long(code);
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::string ProgramCommand(const std::string& arguments) {
  return "\"" + ProgramExe() + "\" " + arguments;
}

}  // namespace testing_win

// Helpers for the Windows tests under Wine: temporary folders and fixture copies, bounded waits for
// windows and controls of one process, reading controls, answering message boxes, and starting
// DA3Zur.exe as a process of its own.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "base/win_handles.h"

namespace testing_win {

// Paths of the generated audio files, the built program and the source tree.
std::string FixturePath(const std::string& name);
std::string ProgramExe();
std::string SourcePath(const std::string& relative);

// A fresh empty folder (ending in a backslash) that is removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }
  // Copies a fixture into the folder under the given name; returns the copy's path.
  std::string CopyFixture(const std::string& fixture, const std::string& name) const;

 private:
  std::string path_;
};

// A fresh folder on one of the small volumes the test script mounts, removed with everything in
// it: kSmallDisk (1 MiB, build\smalldisk) or kOtherDrive (drive Y:, a volume of its own, which a
// move from the test folders reaches only by copying). path() is empty when the volume is not
// there, and the test is then skipped.
class TestDiskDir {
 public:
  enum Disk { kSmallDisk, kOtherDrive };
  TestDiskDir(Disk disk, const std::string& name);
  ~TestDiskDir();
  TestDiskDir(const TestDiskDir&) = delete;
  TestDiskDir& operator=(const TestDiskDir&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// Copies a file a test saved into the folder DA3_KEEP_FOLDER names, where that is set, for a reader
// no one here wrote to check (scripts/check_*_saves.sh); under its own name, or the one given.
void KeepForReader(const std::string& file, const std::string& name = "");
bool FileExists(const std::string& path);
void RemoveTree(const std::string& path);
// How many files (not folders) the folder holds; the folder path ends in a backslash.
size_t FileCount(const std::string& folder);
// Makes the file (created when missing) the given size by setting its end: it holds (almost)
// nothing on disk.
void MakeSparseFile(const std::string& path, long long size);
// The names FindFirstFile lists for the pattern, folders included, in the file system's order.
std::vector<std::string> NamesMatching(const std::string& pattern);

// A registry key opened (OpenedKey) or created when it is not there (CreatedKey) with the given
// access; none when that cannot be done.
KeyHandle OpenedKey(HKEY root, const std::string& path, REGSAM access);
KeyHandle CreatedKey(HKEY root, const std::string& path, REGSAM access);

// Polls cond every few milliseconds until it holds or timeoutMs passes; returns whether it held.
bool WaitUntil(const std::function<bool()>& cond, int timeoutMs = 5000);

// The visible top-level window of the process with the given class (null: any) and exact title
// (null: any), waiting at most timeoutMs; null when none appeared.
HWND WaitForWindow(DWORD processId, const char* className, const char* title, int timeoutMs = 5000);
// Waits until the window's thread answers a sent message, which it does only from its event loop.
bool WaitUntilAnswering(HWND window, int timeoutMs = 5000);
// A message box (class #32770) of the process with the given title.
HWND WaitForMessageBox(DWORD processId, const char* title, int timeoutMs = 5000);
// The message box text (its static controls joined).
std::string MessageBoxText(HWND box);
// Presses a message box button (IDOK, IDYES, IDNO) and waits for the box to go away.
bool AnswerMessageBox(HWND box, int button);

// The direct children of a window in creation order.
std::vector<HWND> Children(HWND parent);
// Waits until the window has at least count children; returns them in creation order.
std::vector<HWND> WaitForChildren(HWND parent, size_t count, int timeoutMs = 5000);

std::string ClassOf(HWND window);
std::string TextOf(HWND window);
void SetText(HWND window, const std::string& text);
LONG StyleOf(HWND window);
// The child's rectangle in its parent's client coordinates.
RECT RectInParent(HWND child);
SIZE ClientSize(HWND window);
// Clicks a button as the user would, through BM_CLICK from another thread.
void Click(HWND button);
// The control that has the keyboard focus in the window's thread.
HWND FocusOf(HWND window);
// A key press as the keyboard puts it in the queue of the window's focused control.
void PressKey(HWND window, WPARAM key);
// Presses the key with another (Shift, Ctrl) held in the key state the window's thread reads, until
// done says the key had its effect; false when it never did.
bool PressKeyHolding(HWND window, int held, WPARAM key, const std::function<bool()>& done);

// A child process of DA3Zur.exe (or another program) started with APPDATA set for it, in the given
// current directory (empty: this process's).
class Process {
 public:
  Process(const std::string& commandLine, const std::string& appData,
          const std::string& currentDirectory = "");
  // A command line that UTF-8 cannot carry (one with an unpaired surrogate).
  Process(std::wstring commandLine, const std::string& appData,
          const std::string& currentDirectory = "");
  ~Process();  // ends the process if it is still running
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  DWORD id() const { return id_; }
  bool started() const { return bool(process_); }
  // The exit code, or -1 when the process did not end within timeoutMs.
  long WaitForExit(int timeoutMs = 10000);

 private:
  KernelHandle process_, thread_;
  DWORD id_ = 0;
};

// The command line that starts DA3Zur.exe with the given arguments.
std::string ProgramCommand(const std::string& arguments);
// A path in double quotes, as a command-line argument.
std::string Quoted(const std::string& path);

}  // namespace testing_win

#include "tests/support/window_driver.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "tests/support/win_test_support.h"

namespace testing_win {
namespace {
constexpr int kCloseBoundMs = 30000;

BOOL CALLBACK AddVisible(HWND window, LPARAM windows) {
  if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

// Answers a message box or dialog with the button that gives up: Cancel, else No, else OK.
void GiveUp(HWND box) {
  for (int button : {IDCANCEL, IDNO, IDOK}) {
    if (GetDlgItem(box, button)) {
      AnswerMessageBox(box, button);
      return;
    }
  }
  PostMessageW(box, WM_CLOSE, 0, 0);
}

// Answers a box of the thread or, when it shows none, asks its windows to close. A window under a
// box waits for the box, so the boxes go first.
void CloseWhatIsShown(DWORD thread) {
  std::vector<HWND> windows;
  EnumThreadWindows(thread, AddVisible, LPARAM(&windows));
  for (HWND window : windows) {
    if (ClassOf(window) == "#32770") {
      GiveUp(window);
      return;
    }
  }
  for (HWND window : windows) PostMessageW(window, WM_CLOSE, 0, 0);
}
}  // namespace

void DriveWindow(const std::function<void()>& run, const std::function<void()>& body) {
  const DWORD runThread = GetCurrentThreadId();
  std::atomic<bool> returned{false};
  std::thread driver([&] {
    body();
    // Each round closes what is shown, then gives the run a moment to return.
    const bool closed = WaitUntil(
        [&] {
          if (returned) return true;
          CloseWhatIsShown(runThread);
          return WaitUntil([&] { return bool(returned); }, 100);
        },
        kCloseBoundMs);
    if (!closed) {
      std::fprintf(stderr,
                   "The window's run did not return within %d ms of the driver's end, "
                   "although its boxes were answered and its windows asked to close.\n",
                   kCloseBoundMs);
      std::fflush(stderr);
      TerminateProcess(GetCurrentProcess(), 1);
    }
  });
  run();
  returned = true;
  driver.join();
}

}  // namespace testing_win

// What every window of the program shares: a top-level window of fixed client size, controls
// created from a table of constants in the system's message font, and the event loop that waits at
// most 5 ms at a time and lets IsDialogMessage handle Tab, Shift+Tab and Enter.
//
// Sizes and positions are given as at 96 DPI, the layout the windows are drawn for. The program
// tells Windows it scales itself (system DPI awareness, in its manifest), so texts stay sharp at
// 125 % or 150 %: every size and position given here is scaled by DPI/96, and the message font
// comes at the display's size already.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "base/position.h"
#include "base/win_handles.h"
#include "settings/text_table.h"

// One control of a window's table. The caption is TextTable entry textId, or fixedText when textId
// is kNoText.
struct ControlRow {
  const char* className;
  DWORD style;  // WS_CHILD | WS_VISIBLE are always added
  DWORD exStyle;
  int x, y, width, height;
  int id;
  size_t textId;
  const char* fixedText = "";
};
constexpr size_t kNoText = static_cast<size_t>(-1);

// Receives the messages of a top-level window; returns true when it handled the message (result
// then holds the answer), false to leave it to the default handling.
class WindowHandler {
 public:
  virtual ~WindowHandler() = default;
  virtual bool OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                         LRESULT& result) = 0;
};

// A length at 96 DPI scaled to the display's DPI.
int ScaledForDpi(int pixels);

// Creates a top-level window (title bar, system menu, close and minimize box; no sizing border,
// no maximize box) whose client area is width x height, at the default position, hidden. Messages
// go to handler from the first one on.
WindowHandle CreateTopLevelWindow(const char* title, int width, int height,
                                  WindowHandler* handler);

// The system's message font (non-client metrics), owned by the caller.
FontHandle CreateMessageFont();

// Creates one control from its table row and gives it the font.
HWND CreateControl(HWND parent, const ControlRow& row, const TextTable& texts, HFONT font);

// Brings the closed field of a drop-down list to the given height at 96 DPI (the opened list keeps
// the height the control was created with).
void FitSelectionHeight(HWND list, int height);

// Runs the window's event loop until done() holds: waits for input at most 5 ms at a time, then
// dispatches what arrived (dialog keys through IsDialogMessage). Each round records a step of the
// window's module, so a fault while the window idles names that module. idle, when given, does a
// short piece of background work after each round and returns true while more is left; the loop
// then does not wait.
void RunEventLoop(HWND window, const std::function<bool()>& done, Module module,
                  const std::function<bool()>& idle = nullptr);

// Dispatches every message that is waiting, without blocking.
void DispatchPendingMessages(HWND window);

// The text of a window or control.
std::string WindowText(HWND window);

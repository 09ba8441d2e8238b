// What every window of the program shares: one skeleton (ProgramWindow) of a top-level window of
// fixed client size, controls created from a table of constants in the system's message font, and
// the event loop that waits at most 5 ms at a time and lets IsDialogMessage handle Tab, Shift+Tab
// and Enter.
//
// Sizes and positions are given as at 96 DPI, the layout the windows are drawn for. The program
// tells Windows it scales itself (system DPI awareness, in its manifest), so texts stay sharp at
// 125 % or 150 %: every size and position given here is scaled by DPI/96, and the message font
// comes at the display's size already.
#pragma once
#include <windows.h>

#include <span>
#include <string>
#include <string_view>

#include "base/position.h"
#include "base/win_handles.h"
#include "settings/text_table.h"

// One control of a window's table. The caption is TextTable entry textId, or fixedText when textId
// is kNoText.
struct ControlRow {
  const wchar_t* className;
  DWORD style;  // WS_CHILD | WS_VISIBLE are always added
  DWORD exStyle;
  int x, y, width, height;
  int id;
  size_t textId;
  const char* fixedText = "";  // UTF-8, as every text of the program
};
constexpr size_t kNoText = static_cast<size_t>(-1);

// A length at 96 DPI scaled to the display's DPI.
int ScaledForDpi(int pixels);

// The system's message font (non-client metrics), owned by the caller.
FontHandle CreateMessageFont();

// Brings the closed field of a drop-down list to the given height at 96 DPI (the opened list keeps
// the height the control was created with).
void FitSelectionHeight(HWND list, int height);

// Adds a column to a report list view at the given place, its width at 96 DPI.
void AddColumn(HWND list, int index, const std::string& text, int width);
// A field's label ("Track:") as a column title: without its colon.
std::string ColumnTitle(std::string label);

// Dispatches every message that is waiting, without blocking.
void DispatchPendingMessages(HWND window);

// The text of a window or control as UTF-8; an unpaired surrogate in it (which only a program
// could have put there) shows as U+FFFD.
std::string ControlText(HWND window);
// Sets the text of a window or control from UTF-8.
void SetControlText(HWND window, std::string_view text);

// When a window's controls are built: after the empty window shows, so its frame appears at once,
// or before, for a window that other processes look for as soon as it is visible and must then
// find complete.
enum class BuildOrder { kShowThenBuild, kBuildThenShow };

// What a window is: its fixed title (the same in every language), its client size at 96 DPI, the
// module a crash report names while it runs, and when its controls are built.
struct WindowFrame {
  const char* title;
  int width, height;
  Module module;
  BuildOrder order = BuildOrder::kShowThenBuild;
};

// The skeleton of every window of the program. Run creates a top-level window (title bar, system
// menu, close and minimize box; no sizing border, no maximize box) and its controls in the message
// font (which WM_GETFONT answers), calls Build to fill them, shows the window in the frame's order,
// gives the focus to the first control that takes Tab (as a dialog starts), and runs the event
// loop until Close. The loop waits for input at most 5 ms at a time and records a step of the
// frame's module on every round, so a fault while the window idles names that module. The window
// stays until the object goes, so a derived window can still own a message box after Run.
class ProgramWindow {
 public:
  explicit ProgramWindow(const WindowFrame& frame) : frame_(frame) {}
  virtual ~ProgramWindow();
  ProgramWindow(const ProgramWindow&) = delete;
  ProgramWindow& operator=(const ProgramWindow&) = delete;

  // False when the window could not be created.
  bool Run(std::span<const ControlRow> controls, const TextTable& texts);

  // Every message of the window, from the first one on; true when handled (result then holds the
  // answer), false to leave it to the default handling.
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 protected:
  // Fills the controls once they exist (texts, lists, columns).
  virtual void Build() = 0;
  // The control that has the focus when the window starts: the first that takes Tab, unless a
  // window names another.
  virtual HWND FirstFocus() const;
  // The window's own messages; true when handled (result then holds the answer).
  virtual bool OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
  // A short piece of background work after a round of the loop; true while more is left, and the
  // loop then does not wait.
  virtual bool WorkWhileIdle() { return false; }

  HWND window() const { return window_.get(); }
  HWND Control(int id) const { return GetDlgItem(window_.get(), id); }
  // Ends the event loop after the current message.
  void Close() { closed_ = true; }
  bool closed() const { return closed_; }

 private:
  const WindowFrame frame_;
  FontHandle font_;  // outlives the window and its controls, which use it
  WindowHandle window_;
  bool closed_ = false;
};

// Finding and driving the tag editor window from a test, in the test's own process or another.
#pragma once
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "editor/editor_window.h"
#include "tags/tag_info.h"

// How GoogleTest prints a record in a failure message.
void PrintTo(const TagInfo& record, std::ostream* out);

namespace testing_win {

struct EditorWindowFound {
  HWND window = nullptr;
  std::vector<HWND> controls;  // empty when the window or its controls never appeared
  HWND operator[](EditorControl c) const { return controls[c]; }
  explicit operator bool() const { return controls.size() == kEditorControlCount; }
};

// Waits for the editor window of the process to appear with all its controls filled and its
// event loop running; fails with a message when it does not within timeoutMs.
EditorWindowFound WaitForEditor(DWORD processId, int timeoutMs = 5000);

// Types the text at the end of a field character by character (WM_CHAR), as the keyboard would.
void Type(HWND control, const std::string& text);
// Empties an edit field as select-all and Delete would, then types the text.
void Retype(HWND field, const std::string& text);
// Picks a genre list entry as the user would (the list's selection and its notification).
void PickGenre(HWND list, int index);
int SelectedGenre(HWND list);
// Waits until the window is gone; true when it went.
bool WaitUntilClosed(HWND window, int timeoutMs = 5000);

}  // namespace testing_win

#include "tests/support/editor_support.h"

#include <gtest/gtest.h>

#include "base/wide_text_win.h"
#include "editor/editor_window.h"
#include "tests/support/win_test_support.h"

void PrintTo(const TagInfo& r, std::ostream* out) {
  *out << "{title \"" << r.title << "\", artist \"" << r.artist << "\", album \"" << r.album
       << "\", year " << r.year << ", comment \"" << r.comment << "\", track " << r.track
       << ", genre \"" << r.genre << "\", bitrate " << r.bitrate << ", sampleRate " << r.sampleRate
       << ", channels " << r.channels << ", length " << r.length << "}";
}

namespace testing_win {

namespace {
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result);
  return LRESULT(result);
}
}  // namespace

EditorWindowFound WaitForEditor(DWORD processId, int timeoutMs) {
  EditorWindowFound found;
  found.window = WaitForWindow(processId, nullptr, kEditorTitle, timeoutMs);
  if (!found.window) {
    ADD_FAILURE() << "no visible window titled \"" << kEditorTitle << "\" appeared";
    return found;
  }
  // The window shows before its controls exist; the genre list is filled last.
  std::vector<HWND> controls = WaitForChildren(found.window, kEditorControlCount, timeoutMs);
  if (controls.size() != kEditorControlCount) {
    ADD_FAILURE() << "the editor has " << controls.size() << " controls, not "
                  << kEditorControlCount;
    return found;
  }
  HWND genres = controls[kGenreList];
  if (!WaitUntil([&] { return Send(genres, CB_GETCOUNT, 0, 0) == 148; }, timeoutMs)) {
    ADD_FAILURE() << "the genre list never held the 148 genres";
    return found;
  }
  // The window's thread enters its event loop after the preselection.
  if (!WaitUntilAnswering(found.window, timeoutMs)) {
    ADD_FAILURE() << "the editor never reached its event loop";
    return found;
  }
  found.controls = controls;
  return found;
}

void Type(HWND control, const std::string& text) {
  LRESULT end = Send(control, WM_GETTEXTLENGTH, 0, 0);
  Send(control, EM_SETSEL, WPARAM(end), end);  // the caret after the text, as a click there puts it
  // One WM_CHAR per UTF-16 unit, as the keyboard sends them (a pair as two).
  for (wchar_t c : Wide(text)) Send(control, WM_CHAR, WPARAM(c), 1);
}

void Retype(HWND field, const std::string& text) {
  Send(field, EM_SETSEL, 0, -1);
  Send(field, WM_CLEAR, 0, 0);
  Type(field, text);
}

void PickGenre(HWND list, int index) {
  Send(list, CB_SETCURSEL, WPARAM(index), 0);
  Send(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE), LPARAM(list));
}

int SelectedGenre(HWND list) { return int(Send(list, CB_GETCURSEL, 0, 0)); }

bool WaitUntilClosed(HWND window, int timeoutMs) {
  return WaitUntil([&] { return !IsWindow(window); }, timeoutMs);
}

}  // namespace testing_win

#include "window_kit/list_dialog_win.h"

#include <commctrl.h>

#include "base/wide_text_win.h"

bool ListDialog::Ask(HWND owner, std::span<const ControlRow> controls) {
  EnableWindow(owner, FALSE);
  const bool ran = Run(controls, texts_);
  EnableWindow(owner, TRUE);
  SetActiveWindow(owner);
  return ran && taken_;
}

HWND ListDialog::FirstFocus() const {
  HWND field = Control(ids_.field);
  SendMessageW(field, EM_SETSEL, 0, -1);
  return field;
}

bool ListDialog::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CLOSE:
      Close();
      return true;
    case DM_GETDEFID:  // Enter presses OK
      result = MAKELRESULT(ids_.ok, DC_HASDEFID);
      return true;
    case WM_COMMAND: {
      const int id = LOWORD(wParam), code = HIWORD(wParam);
      // Escape comes as IDCANCEL from IsDialogMessage, Enter as IDOK.
      if ((id == ids_.ok && code == BN_CLICKED) || id == IDOK) {
        taken_ = true;
        Close();
        return true;
      }
      if ((id == ids_.cancel && code == BN_CLICKED) || id == IDCANCEL) {
        Close();
        return true;
      }
      return OnCommand(id, code);
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->idFrom != UINT_PTR(ids_.list) || header->code != LVN_GETDISPINFOW) return false;
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(lParam)->item;
      if (!(item.mask & LVIF_TEXT) || item.iItem < 0 || size_t(item.iItem) >= RowCount())
        return true;
      cell_ = Wide(CellText(size_t(item.iItem), item.iSubItem));
      item.pszText = cell_.data();
      return true;
    }
    default:
      return false;
  }
}

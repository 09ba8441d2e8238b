// A window that asks the user over a list: a field that has the focus first (its text selected), a
// report list view whose cells are asked for as they are drawn, and OK (also Enter) and Cancel
// (also Escape and the close box). The window's own controls answer through OnCommand.
#pragma once
#include <windows.h>

#include <span>
#include <string>

#include "window_kit/window_kit_win.h"

struct ListDialogIds {
  int field, list, ok, cancel;
};

class ListDialog : public ProgramWindow {
 public:
  ListDialog(const WindowFrame& frame, const TextTable& texts, ListDialogIds ids)
      : ProgramWindow(frame), texts_(texts), ids_(ids) {}

  // Shows the window over the owner, which is disabled meanwhile, until it ends; true when it
  // ended with OK.
  bool Ask(HWND owner, std::span<const ControlRow> controls);

 protected:
  // A command of the window's own controls; true when handled.
  virtual bool OnCommand(int id, int code) = 0;
  // The list's rows, and a cell's text.
  virtual size_t RowCount() const = 0;
  virtual std::string CellText(size_t row, int column) const = 0;

  const TextTable& texts_;

 private:
  HWND FirstFocus() const override;
  bool OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  const ListDialogIds ids_;
  bool taken_ = false;
  std::wstring cell_;  // the text a cell shows, alive until the list has drawn it
};

// Helpers for the sorter's window tests: its controls, and the rows of its list views read from
// this process or from another.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace testing_win {

struct SorterControls {
  HWND window = nullptr, pattern = nullptr, browse = nullptr, macros = nullptr, sort = nullptr,
       cancel = nullptr, files = nullptr;
  explicit operator bool() const { return files != nullptr; }
};

// The visible sorter window of the process with its six controls, waiting at most timeoutMs.
SorterControls WaitForSorter(DWORD processId, int timeoutMs = 5000);

size_t RowCount(HWND list);
// The texts of one column of a list view, also of a list view in another process.
std::vector<std::string> ListTexts(HWND list, int column = 0);
int ColumnWidth(HWND list, int column);
// The header texts of a list view in this process.
std::vector<std::string> HeaderTexts(HWND list);

}  // namespace testing_win

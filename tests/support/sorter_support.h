// Helpers for the sorter's window tests: the sorter run in this process under a driver, its
// controls, and the rows of its list views read from this process or from another.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "settings/text_table.h"

namespace testing_win {

struct SorterControls {
  HWND window = nullptr, pattern = nullptr, browse = nullptr, macros = nullptr, sort = nullptr,
       cancel = nullptr, files = nullptr, album = nullptr;
  explicit operator bool() const { return files != nullptr; }
};

// Runs the sorter with the files on this thread while body plays the user from a driver thread,
// and closes what body leaves open (DriveWindow).
void DriveSorter(const TextTable& texts, const std::vector<std::string>& files,
                 const std::function<void()>& body);

// The visible sorter window of the process with its seven controls, waiting at most timeoutMs.
SorterControls WaitForSorter(DWORD processId, int timeoutMs = 5000);

// Clicks Sort and answers the sorter process's question whether to delete the originals: Yes to
// move, No to copy. False when the question never came.
bool StartSort(const SorterControls& sorter, DWORD processId, bool move, int timeoutMs = 5000);

size_t RowCount(HWND list);
// The texts of one column of a list view, also of a list view in another process.
std::vector<std::string> ListTexts(HWND list, int column = 0);
int ColumnWidth(HWND list, int column);
// The header texts of a list view in this process.
std::vector<std::string> HeaderTexts(HWND list);

}  // namespace testing_win

#include "tests/support/sorter_support.h"

#include <commctrl.h>

#include "base/wide_text_win.h"
#include "base/win_handles.h"
#include "sorter/sorter_window.h"
#include "tests/support/win_test_support.h"
#include "tests/support/window_driver.h"

namespace testing_win {

void DriveSorter(const TextTable& texts, const std::vector<std::string>& files,
                 const std::function<void()>& body) {
  DriveWindow([&] { RunSorter(texts, files); }, body);
}

bool StartSort(const SorterControls& sorter, DWORD processId, bool move, int timeoutMs) {
  Click(sorter.sort);
  HWND question = WaitForMessageBox(processId, "Question", timeoutMs);
  return question && AnswerMessageBox(question, move ? IDYES : IDNO);
}

SorterControls WaitForSorter(DWORD processId, int timeoutMs) {
  SorterControls controls;
  controls.window = WaitForWindow(processId, nullptr, kSorterTitle, timeoutMs);
  if (!controls.window) return controls;
  std::vector<HWND> children = WaitForChildren(controls.window, 7, timeoutMs);
  if (children.size() < 7) return controls;
  controls.pattern = children[0];
  controls.browse = children[1];
  controls.macros = children[2];
  controls.sort = children[3];
  controls.cancel = children[4];
  controls.files = children[5];
  controls.album = children[6];
  return controls;
}

size_t RowCount(HWND list) {
  DWORD_PTR count = 0;
  SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count);
  return count;
}

std::vector<std::string> ListTexts(HWND list, int column) {
  // LVM_GETITEMTEXT carries pointers, so for another process the item and its buffer are placed
  // in that process's memory.
  DWORD owner = 0;
  GetWindowThreadProcessId(list, &owner);
  KernelHandle process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, owner));
  std::vector<std::string> texts;
  if (!process) return texts;
  constexpr size_t kBuffer = 4096;
  char* remote = static_cast<char*>(VirtualAllocEx(process.get(), nullptr,
                                                   sizeof(LVITEMW) + kBuffer * sizeof(wchar_t),
                                                   MEM_COMMIT, PAGE_READWRITE));
  for (size_t row = 0, count = RowCount(list); remote && row < count; ++row) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof item);
    item.cchTextMax = kBuffer;
    SIZE_T done = 0;
    WriteProcessMemory(process.get(), remote, &item, sizeof item, &done);
    DWORD_PTR length = 0;
    SendMessageTimeoutW(list, LVM_GETITEMTEXTW, row, LPARAM(remote), SMTO_ABORTIFHUNG, 2000,
                        &length);
    std::wstring text(length < kBuffer ? length : 0, L'\0');
    ReadProcessMemory(process.get(), remote + sizeof item, text.data(), text.size() * 2, &done);
    texts.push_back(Utf8Shown(text));
  }
  if (remote) VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
  return texts;
}

int ColumnWidth(HWND list, int column) {
  return int(SendMessageW(list, LVM_GETCOLUMNWIDTH, WPARAM(column), 0));
}

std::vector<std::string> HeaderTexts(HWND list) {
  std::vector<std::string> texts;
  for (int column = 0;; ++column) {
    wchar_t text[256] = {};
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT;
    info.pszText = text;
    info.cchTextMax = int(std::size(text));
    if (!SendMessageW(list, LVM_GETCOLUMNW, WPARAM(column), LPARAM(&info))) return texts;
    texts.push_back(Utf8Shown(text));
  }
}

}  // namespace testing_win

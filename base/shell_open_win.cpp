#include "base/shell_open_win.h"

#include <shellapi.h>

#include "base/position.h"

void OpenAddress(HWND owner, const wchar_t* address, ULONG extraMask) {
  STEP(DA3Rudi);
  SHELLEXECUTEINFOW execute{};
  execute.cbSize = sizeof execute;
  execute.fMask = SEE_MASK_FLAG_NO_UI | extraMask;
  execute.hwnd = owner;
  execute.lpVerb = L"open";
  execute.lpFile = address;
  execute.nShow = SW_SHOWNORMAL;
  ShellExecuteExW(&execute);
}

#include "base/shell_open_win.h"

#include <shellapi.h>

#include "base/position.h"

void OpenAddress(HWND owner, const char* address, ULONG extraMask) {
  STEP(DA3Rudi);
  SHELLEXECUTEINFOA execute{};
  execute.cbSize = sizeof execute;
  execute.fMask = SEE_MASK_FLAG_NO_UI | extraMask;
  execute.hwnd = owner;
  execute.lpVerb = "open";
  execute.lpFile = address;
  execute.nShow = SW_SHOWNORMAL;
  ShellExecuteExA(&execute);
}

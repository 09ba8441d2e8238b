#include "app/crash_handler_win.h"

#include <objbase.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "app/crash_report.h"
#include "app/position.h"
#include "app/shell_open_win.h"

namespace {
// Stack kept back on the program's thread for the fault filter after a stack overflow.
constexpr ULONG kStackGuarantee = 64 * 1024;
constexpr SIZE_T kReportStackSize = 1024 * 1024;

// Everything the report needs is prepared at installation: after a fault the process may be short
// of stack, and the faulting thread may hold locks that a thread starting now would wait for.
struct CrashState {
  std::string quotedParameters;
  HANDLE faultArrived = nullptr;
  HANDLE reportThread = nullptr;
  volatile LONG reporting = 0;
  std::uint32_t faultCode = 0;
  std::uint32_t position = 0;
};
CrashState* crash = nullptr;  // lives until the process ends

// Ends at once: no destructors or library clean-up run in a process that has faulted.
[[noreturn]] void EndProcess() {
  TerminateProcess(GetCurrentProcess(), 0);
  for (;;) Sleep(INFINITE);
}

// The report runs on a thread of its own with a full stack, so a stack overflow on the faulting
// thread cannot take the report down with it. That thread waits in the filter meanwhile, so the
// program's windows take no input until the process ends. The box has no owner window: a box
// owned by a window of the waiting thread would wait for that thread forever; it stays on top of
// the program's windows instead.
DWORD WINAPI ReportThread(void*) {
  WaitForSingleObject(crash->faultArrived, INFINITE);
  STEP(DA3Rudi);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  const std::string report =
      ComposeCrashReport(crash->quotedParameters, crash->position, crash->faultCode);
  int answer = MessageBoxA(nullptr, CrashBoxText(report).c_str(), kCrashTitle,
                           MB_YESNO | MB_TASKMODAL | MB_SETFOREGROUND | MB_TOPMOST);
  // The process ends right after this call and the shell may start the mail program from a
  // thread of its own, so the start itself is let finish (SEE_MASK_NOASYNC), not the program.
  if (answer == IDYES) OpenAddress(nullptr, CrashMailAddress(report).c_str(), SEE_MASK_NOASYNC);
  EndProcess();
}

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* fault) {
  // Copied first, before anything else can store a position.
  const std::uint32_t position = CurrentPosition;
  const std::uint32_t code = fault->ExceptionRecord->ExceptionCode;
  // A second fault while a report is under way (in another thread or in the report itself) ends
  // the process: one report only, and nothing that could wait for a thread that is stuck.
  if (InterlockedCompareExchange(&crash->reporting, 1, 0) != 0) EndProcess();
  crash->position = position;
  crash->faultCode = code;
  SetEvent(crash->faultArrived);
  // Never back into the faulting step: the report thread ends the process.
  WaitForSingleObject(crash->reportThread, INFINITE);
  EndProcess();
}

// 64-bit Windows swallows a fault in a window procedure that the system called back from kernel
// mode (a 32-bit program on it most of all) unless the process turns that off; Windows 7 SP1 and
// later have the switch. Wine has neither the switch nor the swallowing.
void LetCallbackFaultsThrough() {
  constexpr DWORD kCallbackFilterEnabled = 1;  // PROCESS_CALLBACK_FILTER_ENABLED
  using GetPolicy = BOOL(WINAPI*)(DWORD*);
  using SetPolicy = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto get = reinterpret_cast<GetPolicy>(reinterpret_cast<void (*)()>(
      GetProcAddress(kernel, "GetProcessUserModeExceptionPolicy")));
  auto set = reinterpret_cast<SetPolicy>(reinterpret_cast<void (*)()>(
      GetProcAddress(kernel, "SetProcessUserModeExceptionPolicy")));
  DWORD flags = 0;
  if (get && set && get(&flags)) set(flags & ~kCallbackFilterEnabled);
}
}  // namespace

void InstallCrashHandler(std::string_view commandLine) {
  STEP(DA3Rudi);
  crash = new CrashState;
  crash->quotedParameters = QuotedParameters(Arguments(commandLine));
  crash->faultArrived = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  crash->reportThread = CreateThread(nullptr, kReportStackSize, ReportThread, nullptr,
                                     STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  ULONG guarantee = kStackGuarantee;
  SetThreadStackGuarantee(&guarantee);
  LetCallbackFaultsThrough();
  STEP(DA3Rudi);
  SetUnhandledExceptionFilter(CrashFilter);
}

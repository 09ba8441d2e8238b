#include "app/crash_handler_win.h"

#include <objbase.h>
#include <windows.h>

#include <csignal>
#include <cstdint>
#include <exception>
#include <string>

#include "app/crash_report.h"
#include "base/position.h"
#include "base/shell_open_win.h"
#include "base/utf16.h"

namespace {
// Stack kept back on the program's thread for the fault filter after a stack overflow.
constexpr ULONG kStackGuarantee = 64 * 1024;
constexpr SIZE_T kReportStackSize = 1024 * 1024;
// How long the faulting thread waits for the report before it ends the process anyway: a fault
// inside a lock that the box needs (the process heap, the loader lock) must not freeze the
// program. While the box shows, the user is reading and no limit applies.
constexpr DWORD kReportLimitMs = 60 * 1000;

// Everything the report needs is prepared at installation: after a fault the process may be short
// of stack, and the faulting thread may hold locks (the heap's among them) that anything
// allocating or starting a thread now would wait for.
struct CrashState {
  std::string quotedParameters;
  std::string reportText, boxText, mailText;    // room for the texts, sized at installation
  std::u16string wideTitle, wideBox, wideMail;  // and their wide forms, which the calls take
  HANDLE faultArrived = nullptr;
  HANDLE reportThread = nullptr;
  DWORD reportThreadId = 0;
  volatile LONG reporting = 0;
  volatile LONG boxShowing = 0;
  HHOOK boxHook = nullptr;
  DWORD faultingThreadId = 0;
  std::uint32_t faultCode = 0;
  std::uint32_t position = 0;
  // The program's own thread's last step: a thread that never began one (one that another
  // process started in this one, say) faulted while that step was the program's latest.
  const volatile std::uint32_t* mainPosition = nullptr;
};
CrashState* crash = nullptr;  // lives until the process ends

// Ends at once: no destructors or library clean-up run in a process that has faulted.
[[noreturn]] void EndProcess() {
  TerminateProcess(GetCurrentProcess(), 0);
  for (;;) Sleep(INFINITE);
}

// Notes when the crash box is up (the report thread makes no other window), so the faulting thread
// lets the user take their time.
LRESULT CALLBACK NoteBoxShown(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND || code == HCBT_ACTIVATE) InterlockedExchange(&crash->boxShowing, 1);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CALLBACK DisableWindow(HWND window, LPARAM) {
  if (IsWindowVisible(window)) EnableWindow(window, FALSE);
  return TRUE;
}

// Disables the visible top-level windows of the program's other threads, so nothing can be
// started there while the box shows and then be cut off by its answer. A window whose thread
// does not answer is left alone: disabling it would wait for that thread.
BOOL CALLBACK DisableOtherThreadsWindow(HWND window, LPARAM) {
  DWORD process = 0;
  const DWORD thread = GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId() || thread == crash->faultingThreadId ||
      thread == crash->reportThreadId || !IsWindowVisible(window))
    return TRUE;
  DWORD_PTR ignored;
  if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored))
    EnableWindow(window, FALSE);
  return TRUE;
}

// The report runs on a thread of its own with a full stack, so a stack overflow on the faulting
// thread cannot take the report down with it; the thread and its COM apartment exist from
// installation on. Composing the texts takes only the memory set aside then. The box has no owner
// window (one owned by a window of the waiting thread would wait for that thread forever); the
// program's windows are disabled instead, so it is modal over them.
DWORD WINAPI ReportThread(void*) {
  // This thread's own step and its leave to go on are kept from here: made after the fault, they
  // would need the heap, which the faulting thread may hold.
  LetThisThreadStepOn();
  STEP(DA3Rudi);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  crash->boxHook = SetWindowsHookExW(WH_CBT, NoteBoxShown, nullptr, GetCurrentThreadId());
  WaitForSingleObject(crash->faultArrived, INFINITE);
  STEP(DA3Rudi);
  FixedText report(crash->reportText.data(), crash->reportText.size());
  ComposeCrashReport(report, crash->quotedParameters, crash->position, crash->faultCode);
  FixedText box(crash->boxText.data(), crash->boxText.size());
  ComposeCrashBoxText(box, report.view());
  Utf8ToUtf16Into(box.view(), crash->wideBox.data(), crash->wideBox.size());
  EnumWindows(DisableOtherThreadsWindow, 0);
  // Once their windows are disabled, the other threads stop at their next step; a copy going on a
  // worker stops too (the copy routine looks at this), and its target stays as a stopped copy
  // leaves it.
  StepsHeld = true;
  int answer = MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(crash->wideBox.data()),
                           reinterpret_cast<const wchar_t*>(crash->wideTitle.c_str()),
                           MB_YESNO | MB_TASKMODAL | MB_SETFOREGROUND | MB_TOPMOST);
  // Windows that the shell makes while opening the mail program are no box: from here on the limit
  // holds again.
  UnhookWindowsHookEx(crash->boxHook);
  InterlockedExchange(&crash->boxShowing, 0);
  // The process ends right after this call and the shell may start the mail program from a
  // thread of its own, so the start itself is let finish (SEE_MASK_NOASYNC), not the program.
  if (answer == IDYES) {
    FixedText mail(crash->mailText.data(), crash->mailText.size());
    ComposeCrashMailAddress(mail, report.view());
    Utf8ToUtf16Into(mail.view(), crash->wideMail.data(), crash->wideMail.size());
    OpenAddress(nullptr, reinterpret_cast<const wchar_t*>(crash->wideMail.data()),
                SEE_MASK_NOASYNC);
  }
  EndProcess();
}

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* fault) {
  // Copied first, before anything else can store a position.
  const std::uint32_t own = CurrentPosition;
  const std::uint32_t position = own ? own : *crash->mainPosition;
  const std::uint32_t code = fault->ExceptionRecord->ExceptionCode;
  // A second fault while a report is under way (in another thread or in the report itself) ends
  // the process: one report only, and nothing that could wait for a thread that is stuck.
  if (InterlockedCompareExchange(&crash->reporting, 1, 0) != 0) EndProcess();
  crash->position = position;
  crash->faultCode = code;
  crash->faultingThreadId = GetCurrentThreadId();
  SetEvent(crash->faultArrived);
  // This thread's own windows can only be disabled from here: it answers no messages any more.
  EnumThreadWindows(GetCurrentThreadId(), DisableWindow, 0);
  // Never back into the faulting step: the report thread ends the process, or this one does when
  // the report has not come up within the limit.
  for (;;) {
    if (WaitForSingleObject(crash->reportThread, kReportLimitMs) != WAIT_TIMEOUT) break;
    if (!crash->boxShowing) break;
  }
  EndProcess();
}

// The thread inside a FaultsReportedHere, and how many it is inside (calls may nest while COM
// waits for one the program made); only the program's own thread takes COM's calls.
volatile LONG guardedDepth = 0;
volatile DWORD guardedThread = 0;

// Seen before any handler of the stack: a processor fault inside a guarded call is reported, not
// left to a handler that would catch it. Every other exception goes its way.
LONG WINAPI ReportGuardedFault(EXCEPTION_POINTERS* fault) {
  if (!guardedDepth || guardedThread != GetCurrentThreadId()) return EXCEPTION_CONTINUE_SEARCH;
  switch (fault->ExceptionRecord->ExceptionCode) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_STACK_OVERFLOW:
      return CrashFilter(fault);
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

// A process can also end in a fault the processor never raised: a C++ exception that nothing
// caught (std::bad_alloc from TagLib or a string, most likely in the 32-bit build) ends in
// std::terminate, and abort() from the runtime raises SIGABRT; both would end with the runtime's
// own box and exit code 3. They are given to the filter as faults of their own, with codes the
// fault table does not name: GCC's code for its C++ exceptions, and the status of a fatal exit.
constexpr DWORD kUncaughtException = 0x20474343, kAbort = 0x40000015;

[[noreturn]] void ReportFault(DWORD code) {
  EXCEPTION_RECORD record{};
  record.ExceptionCode = code;
  record.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
  CONTEXT context{};
  EXCEPTION_POINTERS fault{&record, &context};
  CrashFilter(&fault);
  EndProcess();
}
[[noreturn]] void ReportUncaughtException() { ReportFault(kUncaughtException); }
void ReportAbort(int) { ReportFault(kAbort); }

// 64-bit Windows swallows a fault in a window procedure that the system called back from kernel
// mode (a 32-bit program on it most of all) unless the process turns that off; Windows 7 SP1 and
// later have the switch. Wine has neither the switch nor the swallowing.
void LetCallbackFaultsThrough() {
  constexpr DWORD kCallbackFilterEnabled = 1;  // PROCESS_CALLBACK_FILTER_ENABLED
  using GetPolicy = BOOL(WINAPI*)(DWORD*);
  using SetPolicy = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  auto get = reinterpret_cast<GetPolicy>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "GetProcessUserModeExceptionPolicy")));
  auto set = reinterpret_cast<SetPolicy>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetProcessUserModeExceptionPolicy")));
  DWORD flags = 0;
  if (get && set && get(&flags)) set(flags & ~kCallbackFilterEnabled);
}
}  // namespace

void InstallCrashHandler(std::string_view commandLine) {
  STEP(DA3Rudi);
  crash = new CrashState;
  crash->mainPosition = &CurrentPosition;
  // As the user sees the names: a character no text can carry shows as U+FFFD, in the box and in
  // the mail alike.
  crash->quotedParameters = Utf16ToUtf8Shown(Utf8ToUtf16(QuotedParameters(Arguments(commandLine))));
  const size_t reportSize = CrashReportCapacity(crash->quotedParameters.size());
  crash->reportText.assign(reportSize, '\0');
  crash->boxText.assign(CrashBoxCapacity(reportSize), '\0');
  crash->mailText.assign(CrashMailCapacity(reportSize), '\0');
  // A UTF-8 text never takes more UTF-16 units than it has bytes.
  crash->wideTitle = Utf8ToUtf16(kCrashTitle);
  crash->wideBox.assign(crash->boxText.size(), u'\0');
  crash->wideMail.assign(crash->mailText.size(), u'\0');
  crash->faultArrived = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  crash->reportThread = CreateThread(nullptr, kReportStackSize, ReportThread, nullptr,
                                     STACK_SIZE_PARAM_IS_A_RESERVATION, &crash->reportThreadId);
  ULONG guarantee = kStackGuarantee;
  SetThreadStackGuarantee(&guarantee);
  LetCallbackFaultsThrough();
  STEP(DA3Rudi);
  SetUnhandledExceptionFilter(CrashFilter);
  AddVectoredExceptionHandler(TRUE, ReportGuardedFault);
  std::set_terminate(ReportUncaughtException);
  std::signal(SIGABRT, ReportAbort);
}

FaultsReportedHere::FaultsReportedHere() {
  guardedThread = GetCurrentThreadId();
  InterlockedIncrement(&guardedDepth);
}

FaultsReportedHere::~FaultsReportedHere() { InterlockedDecrement(&guardedDepth); }

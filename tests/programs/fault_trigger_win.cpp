// Linked only into DA3ZurFaults.exe, the test build of the program: before the program starts, a
// hidden message-only window titled "fault trigger <process id>" is made on the program's thread.
// A message posted to it raises a fault inside the program's own event loop, which the shipped
// DA3Zur.exe has no way to do.
#include <malloc.h>
#include <windows.h>

#include <cstdint>
#include <new>
#include <string>

#include "base/position.h"

namespace {
constexpr UINT kRaiseFault = WM_APP + 0x46;
enum Fault : WPARAM {
  kDivideByZero = 1,
  kStackOverflow,
  kAccessViolation,
  kUnknownCode,
  kAccessViolationHoldingHeap,
  kAccessViolationHoldingProcessHeap,
  kUncaughtException,
  kAccessViolationOnWorker,
};
constexpr DWORD kUnknownFaultCode = 0xE0001234;

volatile int zero = 0, one = 1;

// Each call keeps a page of stack that the compiler cannot fold away.
int Recurse(int depth) {
  volatile char frame[4096];
  frame[depth % sizeof frame] = char(depth);
  if (zero == 0) return Recurse(depth + 1) + frame[0];
  return frame[0];
}

HWND triggerWindow = nullptr;

// Records the given step as this thread's, lets the program's thread begin one of its own (its
// event loop records one for the message), then faults.
DWORD WINAPI FaultAfterStep(void* position) {
  CurrentPosition = std::uint32_t(reinterpret_cast<std::uintptr_t>(position));
  PostMessageA(triggerWindow, WM_NULL, 0, 0);
  Sleep(300);
  *reinterpret_cast<volatile int*>(std::uintptr_t(zero + 16)) = 1;
  return 0;
}

LRESULT CALLBACK TriggerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kRaiseFault) return DefWindowProcA(window, message, wParam, lParam);
  switch (wParam) {
    case kDivideByZero:
      return one / zero;  // both unknown to the compiler, so a real division
    case kStackOverflow:
      return Recurse(0);
    case kAccessViolation:
      *reinterpret_cast<volatile int*>(std::uintptr_t(zero + 16)) = 1;
      return 0;
    case kUnknownCode:
      RaiseException(kUnknownFaultCode, 0, 0, nullptr);
      return 0;
    case kAccessViolationHoldingHeap:  // the heap that the program's own code allocates from
      HeapLock(reinterpret_cast<HANDLE>(_get_heap_handle()));
      *reinterpret_cast<volatile int*>(std::uintptr_t(zero + 16)) = 1;
      return 0;
    case kAccessViolationHoldingProcessHeap:  // the heap that every window needs
      HeapLock(GetProcessHeap());
      *reinterpret_cast<volatile int*>(std::uintptr_t(zero + 16)) = 1;
      return 0;
    case kUncaughtException:  // what running out of memory inside a string or TagLib gives
      throw std::bad_alloc();
    case kAccessViolationOnWorker:
      CloseHandle(
          CreateThread(nullptr, 0, FaultAfterStep, reinterpret_cast<void*>(lParam), 0, nullptr));
      return 0;
  }
  return 0;
}

struct FaultTrigger {
  FaultTrigger() {
    WNDCLASSA type{};
    type.lpfnWndProc = TriggerProc;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "DA3ZurFaultTrigger";
    RegisterClassA(&type);
    std::string title = "fault trigger " + std::to_string(GetCurrentProcessId());
    triggerWindow = CreateWindowExA(0, type.lpszClassName, title.c_str(), 0, 0, 0, 0, 0,
                                    HWND_MESSAGE, nullptr, type.hInstance, nullptr);
  }
} trigger;
}  // namespace

// Helpers for the crash report tests: faults raised in a running program from outside or through
// the test build's trigger, the source line a report should name, and a stand-in mail program.
#pragma once
#include <cstdint>
#include <windows.h>

#include <string>

#include "tests/support/win_test_support.h"

namespace testing_win {

// DA3ZurFaults.exe, the test build of the program with the fault trigger, started like
// ProgramCommand.
std::string FaultingProgramCommand(const std::string& arguments);
std::string FaultingProgramExe();

// Starts a thread in the process at address 0: an access violation that no code of the process
// handles. The thread runs none of the program's code, so it records no position of its own.
bool FaultFromOutside(DWORD processId);

// Faults raised on the program's own thread by the test build's trigger.
enum class TestFault : WPARAM {
  kDivideByZero = 1,
  kStackOverflow,
  kAccessViolation,
  kUnknownCode,
  kAccessViolationHoldingHeap,         // while the C runtime's heap is locked
  kAccessViolationHoldingProcessHeap,  // while the process heap, which the box needs, is locked
  kUncaughtException,                  // a std::bad_alloc that nothing catches
  // On a thread of its own, after it recorded the step given as the position and the program's
  // thread has begun another.
  kAccessViolationOnWorker,
};
bool RaiseTestFault(DWORD processId, TestFault fault, std::uint32_t position = 0);
// Raises the fault in the one test-build process that runs, by a message sent to its thread: one
// sent runs also while the thread waits inside a COM call, where one posted waits. Gives the
// process's id; 0 when none runs.
DWORD SendTestFault(TestFault fault);

// The line a report names for the first step (STEP) after the first line holding anchor, in the
// source file given relative to the source tree: the file's number and the line in the file;
// 0 when there is none.
unsigned StepLineAfter(const std::string& sourceFile, const std::string& anchor);

// The whole text of the crash box as the user reads it.
std::string CrashBoxTextFor(const std::string& parameters, unsigned line, const std::string& module,
                            const std::string& description);

// mail_stand_in.exe registered for mailto: while the object lives: under HKCU\Software\Classes,
// where Windows looks first, and in HKEY_CLASSES_ROOT itself, the only place Wine reads (its
// classes root is HKLM\Software\Classes alone). The handler found there before is put back.
class MailStandIn {
 public:
  MailStandIn();
  ~MailStandIn();
  MailStandIn(const MailStandIn&) = delete;
  MailStandIn& operator=(const MailStandIn&) = delete;
  bool registered() const { return registered_; }
  // The address the stand-in was started with, waiting for it; empty when it never came.
  std::string WaitForAddress(int timeoutMs = 5000) const;
  // Whether the stand-in was started at all: its record exists or it is still running.
  bool Started() const;

 private:
  TempDir dir_;
  std::string exe_, record_, previousCommand_;
  bool registered_ = false;
};

}  // namespace testing_win

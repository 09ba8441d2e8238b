// Calling the program's verbs as Explorer does, from a test or a benchmark: the class the verb's
// registration names, created out of process, and the files dropped on it as CF_HDROP.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/win_test_support.h"

namespace testing_win {

// Enters both verbs per user for DA3Zur.exe (or the given program), as Insert in its
// configuration window does.
void RegisterVerbsForProgram(const std::string& program = ProgramExe());

// Reads the class the verb's registration names, creates it out of process and drops the files on
// it in one call; false (with a failure added) when any of that did not work. Windows finds
// per-user classes through HKEY_CLASSES_ROOT; Wine's COM looks only at the machine-wide ones, so
// the per-user class is copied there first. Needs COM initialised on this thread.
bool InvokeVerb(const char* verb, const std::vector<std::string>& files);
// The same with wide names, which may hold what no UTF-8 text can (an unpaired surrogate).
bool InvokeVerb(const char* verb, const std::vector<std::wstring>& files);
// Drops the files as InvokeVerb does, calling meanwhile while the verb object takes them (inside
// its call, when the object asks for them); gives what the drop returned.
HRESULT DropWhile(const char* verb, const std::vector<std::string>& files,
                  const std::function<void()>& meanwhile);
// The process whose window with the title a verb call opened; 0 when none came in time.
DWORD ProcessShowing(const char* title, int timeoutMs = 20000);

}  // namespace testing_win

// The program as COM starts it for an Explorer verb: its own local server for the two verb
// classes, which takes the selection Explorer drops on the verb's object.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"

// One call of a verb: edit or sort, and every selected file, in the order Explorer gave them.
struct VerbCall {
  Mode mode;
  std::vector<std::string> files;
};

// Offers both verb classes to COM, then waits until Explorer has dropped its selection on an
// object of one of them, and withdraws them, so a verb chosen while this process goes on starts
// another one (a second sort then joins this process's window through the hand-over). Nothing
// when no selection arrived within waitMs. Needs COM initialised on this thread.
std::optional<VerbCall> ReceiveVerbCall(DWORD waitMs);

// The configuration window: the Explorer verbs and the language.
#pragma once
#include <functional>
#include <string>
#include <utility>

#include "settings/program_tables.h"

// The window's fixed title, the same in every language.
inline constexpr char kConfigurationTitle[] = "Veltan's DA3Zur Tools 1.0";

// What the Undo button does, given by the program, so this window needs to know nothing of how a
// sort is taken back.
struct SortUndo {
  // Whether there is a sort to undo, and the question to ask, or the message why there is none.
  std::function<std::pair<bool, std::string>()> offer;
  std::function<std::string()> undo;  // takes it back; the text of the box that says how it went
};

// Shows the window until it is closed, then stores the settings (and reloads the texts after a
// change of language).
void ConfigurationWindow(ProgramTables& tables, const SortUndo& undo = {});

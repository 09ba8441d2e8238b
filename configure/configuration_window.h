// The configuration window: the Explorer verbs and the language.
#pragma once
#include "settings/program_tables.h"

// The window's fixed title, the same in every language.
inline constexpr char kConfigurationTitle[] = "Veltan's DA3Zur Tools 1.0";

// Shows the window until it is closed, then stores the settings (and reloads the texts after a
// change of language).
void ConfigurationWindow(ProgramTables& tables);

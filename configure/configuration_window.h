// The configuration window: the Explorer verbs and the language.
#pragma once
#include "settings/program_tables.h"

// Shows the window until it is closed, then stores the settings (and reloads the texts after a
// change of language).
void ConfigurationWindow(ProgramTables& tables);

// The window's fixed title, not taken from the text table.
inline constexpr const char* kConfigurationTitle = "Veltan's DA3Zur Tools 1.0";

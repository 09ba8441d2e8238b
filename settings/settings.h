// Loading the settings and texts at start-up and after a change of language.
#pragma once
#include <string>

#include "settings/program_tables.h"

// The per-user settings folder under APPDATA, ending in a backslash.
std::string SettingsFolder();

// Reads "Language" from preferences.ini, loads that catalog from the program's folder or the
// English defaults, and fills the genre names. Always 1.
int LoadSettings(ProgramTables& tables);

// 1 when the file is a catalog and its texts are now in the table; 0 leaves the table unchanged.
int LoadCatalog(const std::string& path, TextTable& texts);

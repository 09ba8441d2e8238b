// The crash handler: an unhandled processor fault anywhere in the process ends in the crash report
// instead of a silent end.
#pragma once
#include <string_view>

// Installs the handler as the process-wide filter for unhandled faults. Called once at start-up,
// before settings and texts exist; the command line gives the report's parameters.
void InstallCrashHandler(std::string_view commandLine);

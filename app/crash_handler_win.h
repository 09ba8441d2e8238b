// The crash handler: an unhandled processor fault anywhere in the process ends in the crash report
// instead of a silent end.
#pragma once
#include <string_view>

// Installs the handler as the process-wide filter for unhandled faults. Called once at start-up,
// before settings and texts exist; the command line gives the report's parameters.
void InstallCrashHandler(std::string_view commandLine);

// While one lives, a processor fault on its thread is reported even where a handler further up
// its stack would catch it. COM's stubs catch every fault inside a call they dispatch and answer
// the caller with an error; the process is told at start-up not to let them, but Wine's catch
// whatever the process asks. The calls COM makes into the program's objects run inside one.
class FaultsReportedHere {
 public:
  FaultsReportedHere();
  ~FaultsReportedHere();
  FaultsReportedHere(const FaultsReportedHere&) = delete;
  FaultsReportedHere& operator=(const FaultsReportedHere&) = delete;
};

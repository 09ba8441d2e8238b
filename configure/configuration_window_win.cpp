#include "configure/configuration_window.h"

#include "app/position.h"

// The configuration window is not built yet.
void ConfigurationWindow(ProgramTables&) { STEP(Configure); }

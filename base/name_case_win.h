// The case table of the system's file names, for comparing names in the pure core.
#pragma once
#include "base/name_case.h"

// Filled once, from the system's own upper-case forms of every UTF-16 unit.
const NameCase& FileSystemNameCase();

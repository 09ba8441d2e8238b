// Resource ids shared by DA3Zur.rc and the code that loads the resources.
#pragma once

// The program's icon group (16 to 256 pixels).
#define DA3_PROGRAM_ICON 1

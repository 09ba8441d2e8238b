// Handing an address (web or mail) to the program the user chose for its kind.
#pragma once
#include <windows.h>
#include <shellapi.h>

// Opens the address through the shell without waiting for the program it starts and without
// error boxes; whether it worked is not asked. extraMask adds SEE_MASK_ flags.
void OpenAddress(HWND owner, const char* address, ULONG extraMask = 0);

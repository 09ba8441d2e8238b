// Handing an address (web or mail) to the program the user chose for its kind.
#pragma once
#include <windows.h>
#include <shellapi.h>

// Opens the address through the shell without waiting for the program it starts and without
// error boxes; whether it worked is not asked. extraMask adds SEE_MASK_ flags. The address is wide
// already: the crash report hands over one made without allocating.
void OpenAddress(HWND owner, const wchar_t* address, ULONG extraMask = 0);

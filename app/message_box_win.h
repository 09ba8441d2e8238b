// Plain message boxes (no icon) with texts from the text table.
#pragma once
#include <windows.h>

#include <string>

void ShowMessage(HWND owner, const std::string& title, const std::string& text);
// true for Yes, false for No.
bool AskYesNo(HWND owner, const std::string& title, const std::string& text);

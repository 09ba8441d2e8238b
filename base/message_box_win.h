// Plain message boxes (no icon) with texts from the text table.
#pragma once
#include <windows.h>

#include <string>

void ShowMessage(HWND owner, const std::string& title, const std::string& text);
// The button that Enter presses in a Yes/No box.
enum class Answer { kYes, kNo };
// true for Yes, false for No.
bool AskYesNo(HWND owner, const std::string& title, const std::string& text,
              Answer preset = Answer::kYes);

#include "base/message_box_win.h"

#include "base/position.h"

void ShowMessage(HWND owner, const std::string& title, const std::string& text) {
  STEP(DA3Rudi);
  MessageBoxA(owner, text.c_str(), title.c_str(), MB_OK);
}

bool AskYesNo(HWND owner, const std::string& title, const std::string& text, Answer preset) {
  STEP(DA3Rudi);
  const UINT button = preset == Answer::kNo ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
  return MessageBoxA(owner, text.c_str(), title.c_str(), MB_YESNO | button) == IDYES;
}

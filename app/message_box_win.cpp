#include "app/message_box_win.h"

#include "app/position.h"

void ShowMessage(HWND owner, const std::string& title, const std::string& text) {
  STEP(DA3Rudi);
  MessageBoxA(owner, text.c_str(), title.c_str(), MB_OK);
}

bool AskYesNo(HWND owner, const std::string& title, const std::string& text) {
  STEP(DA3Rudi);
  return MessageBoxA(owner, text.c_str(), title.c_str(), MB_YESNO) == IDYES;
}

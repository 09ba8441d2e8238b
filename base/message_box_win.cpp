#include "base/message_box_win.h"

#include "base/position.h"
#include "base/wide_text_win.h"

void ShowMessage(HWND owner, const std::string& title, const std::string& text) {
  STEP(DA3Rudi);
  MessageBoxW(owner, Wide(text).c_str(), Wide(title).c_str(), MB_OK);
}

bool AskYesNo(HWND owner, const std::string& title, const std::string& text, Answer preset) {
  STEP(DA3Rudi);
  const UINT button = preset == Answer::kNo ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
  return MessageBoxW(owner, Wide(text).c_str(), Wide(title).c_str(), MB_YESNO | button) == IDYES;
}

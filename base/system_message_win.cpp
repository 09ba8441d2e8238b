#include "base/system_message_win.h"

#include <windows.h>

#include "base/wide_text_win.h"

std::string SystemMessage(std::uint32_t error) {
  wchar_t* text = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = length ? Utf8Shown(std::wstring_view(text, length)) : "";
  LocalFree(text);
  while (!message.empty() &&
         (message.back() == '\r' || message.back() == '\n' || message.back() == ' '))
    message.pop_back();
  return message.empty() ? "Error " + std::to_string(error) : message;
}

std::uint32_t ErrorOf(int succeeded) { return succeeded ? 0 : GetLastError(); }

// The system's ANSI code page, as the pure core meets it: older files keep their texts in it.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Bytes below 0x80 are ASCII in every ANSI code page, so a text of them alone needs no conversion
// either way.
inline bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

struct CodePage {
  // The bytes of a text in the code page, as UTF-8.
  std::function<std::string(std::string_view bytes)> toUtf8;
  // A UTF-8 text in the code page; nothing when a character of it has no exact form there.
  std::function<std::optional<std::string>(std::string_view utf8)> fromUtf8;
};

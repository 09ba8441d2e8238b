// Two ANSI code pages as the pure core meets them, built from their tables the way Windows reads
// and writes them: Western (Latin-1 for 0xA0-0xFF, nothing else above ASCII) and Cyrillic (the
// letters of 1251, 0xC0-0xFF).
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "base/code_page.h"
#include "base/utf16.h"

inline CodePage CodePageOf(char16_t lowest, unsigned char from) {
  return {
      [=](std::string_view bytes) {
        std::u16string text;
        for (char c : bytes) {
          const auto byte = static_cast<unsigned char>(c);
          text += byte < 0x80    ? char16_t(byte)
                  : byte >= from ? char16_t(lowest + (byte - from))
                                 : u'?';
        }
        return Utf16ToUtf8Shown(text);
      },
      [=](std::string_view utf8) -> std::optional<std::string> {
        std::string bytes;
        for (char16_t unit : Utf8ToUtf16(utf8)) {
          if (unit < 0x80)
            bytes += char(unit);
          else if (unit >= lowest && unit < lowest + (0x100 - from))
            bytes += char(from + (unit - lowest));
          else
            return std::nullopt;
        }
        return bytes;
      },
  };
}
inline CodePage WesternCodePage() { return CodePageOf(0xA0, 0xA0); }
inline CodePage CyrillicCodePage() { return CodePageOf(0x410, 0xC0); }

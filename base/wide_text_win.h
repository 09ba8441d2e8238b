// The UTF-8 <-> UTF-16 conversions in the form Windows' wide calls take and give.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "base/path_parts.h"
#include "base/utf16.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

// The UTF-8 text as a wide text for a W call.
inline std::wstring Wide(std::string_view utf8) {
  std::u16string utf16 = Utf8ToUtf16(utf8);
  return std::wstring(reinterpret_cast<const wchar_t*>(utf16.data()), utf16.size());
}

// A file's whole path for a W call, in the long form beyond MAX_PATH (LongPathForm).
inline std::wstring WidePath(std::string_view utf8) { return Wide(LongPathForm(utf8)); }

// A wide text from a W call as UTF-8; nothing when it holds an unpaired surrogate.
inline std::optional<std::string> Utf8(std::wstring_view wide) {
  return Utf16ToUtf8(
      std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

// A wide name handed to the program as UTF-8, an unpaired surrogate kept as Utf16ToUtf8Marked
// keeps it.
inline std::string Utf8Marked(std::wstring_view wide) {
  return Utf16ToUtf8Marked(
      std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

// A wide text shown to the user as UTF-8, U+FFFD for an unpaired surrogate.
inline std::string Utf8Shown(std::wstring_view wide) {
  return Utf16ToUtf8Shown(
      std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

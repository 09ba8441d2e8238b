#include "base/code_page_win.h"

#include <windows.h>

#include "base/position.h"
#include "base/wide_text_win.h"

namespace {
std::string AnsiToUtf8(std::string_view bytes) {
  STEP(DA3Rudi);
  if (bytes.empty()) return {};
  const int size = int(bytes.size());
  const int units = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  if (units <= 0) return {};
  std::wstring wide(size_t(units), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), units);
  return Utf8Shown(wide);
}

std::optional<std::string> Utf8ToAnsi(std::string_view utf8) {
  STEP(DA3Rudi);
  if (utf8.empty()) return std::string();
  const std::wstring wide = Wide(utf8);
  if (Utf8(wide) != std::string(utf8)) return std::nullopt;  // not UTF-8 to begin with
  BOOL lossy = FALSE;
  // No best fit: "ř" must not pass for "r". Code pages that take no flags (UTF-7, UTF-8) are no
  // ANSI code page.
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), int(wide.size()),
                                       nullptr, 0, nullptr, &lossy);
  if (size <= 0 || lossy) return std::nullopt;
  std::string bytes(size_t(size), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), int(wide.size()), bytes.data(),
                      size, nullptr, &lossy);
  // Exact means the bytes read back as the same text.
  if (lossy || AnsiToUtf8(bytes) != utf8) return std::nullopt;
  return bytes;
}
}  // namespace

CodePage SystemCodePage() { return {AnsiToUtf8, Utf8ToAnsi}; }

#include "base/name_case_win.h"

#include <windows.h>

const NameCase& FileSystemNameCase() {
  static const NameCase table = [] {
    // Every unit but the surrogates, which have no case and would pair up in one buffer.
    std::vector<char16_t> upper(0x10000);
    for (size_t u = 0; u < upper.size(); ++u) upper[u] = char16_t(u);
    auto* units = reinterpret_cast<wchar_t*>(upper.data());
    CharUpperBuffW(units + 1, 0xD800 - 1);
    CharUpperBuffW(units + 0xE000, 0x10000 - 0xE000);
    return NameCase(std::move(upper));
  }();
  return table;
}

#include "tags/latin1.h"

#include <cstdint>

#include "base/position.h"

Latin1Result Utf8ToLatin1(std::string_view utf8) {
  STEP(DA3Rudi);
  Latin1Result result;
  size_t i = 0;
  while (i < utf8.size()) {
    auto lead = static_cast<std::uint8_t>(utf8[i]);
    size_t length;
    std::uint32_t value;
    if (lead < 0x80) {
      length = 1, value = lead;
    } else if (lead >= 0xC0 && lead <= 0xDF) {
      length = 2, value = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, value = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF7) {
      length = 4, value = lead & 0x07u;
    } else {
      result.stop = Utf8Stop::Malformed;
      return result;
    }
    for (size_t k = 1; k < length; ++k) {
      if (i + k >= utf8.size()) {
        result.stop = Utf8Stop::Truncated;
        return result;
      }
      auto next = static_cast<std::uint8_t>(utf8[i + k]);
      if ((next & 0xC0u) != 0x80u) {
        result.stop = Utf8Stop::Malformed;
        return result;
      }
      value = (value << 6) | (next & 0x3Fu);
    }
    if (value > 0xFF) {
      result.stop = Utf8Stop::AboveLatin1;
      return result;
    }
    result.text.push_back(static_cast<char>(value));
    i += length;
  }
  return result;
}

std::string Latin1ToUtf8(std::string_view text) {
  STEP(DA3Rudi);
  std::string utf8;
  utf8.reserve(text.size());
  for (char c : text) {
    auto b = static_cast<std::uint8_t>(c);
    if (b < 0x80) {
      utf8.push_back(c);
    } else {
      utf8.push_back(static_cast<char>(0xC0 + (b >> 6)));
      utf8.push_back(static_cast<char>(0x80 + (b & 0x3F)));
    }
  }
  return utf8;
}

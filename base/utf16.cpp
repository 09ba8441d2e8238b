#include "base/utf16.h"

namespace {
constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }
bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// The character at utf8[at], and how many bytes it takes; U+FFFD for one byte that begins no
// valid sequence, and for the whole of a sequence that encodes a surrogate.
char32_t DecodeAt(std::string_view utf8, size_t at, size_t& used) {
  const auto lead = static_cast<unsigned char>(utf8[at]);
  used = 1;
  if (lead < 0x80) return lead;
  size_t length;
  char32_t value, least;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, least = 0x10000;
  } else {
    return kReplacement;
  }
  if (utf8.size() - at < length) return kReplacement;
  for (size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(utf8[at + i]);
    if (!IsContinuation(byte)) return kReplacement;
    value = value << 6 | (byte & 0x3F);
  }
  if (value < least || value > 0x10FFFF) return kReplacement;
  used = length;
  return IsSurrogate(value) ? kReplacement : value;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// What becomes of an unpaired surrogate on the way to UTF-8.
enum class Unpaired { kStop, kReplace, kKeep };

// Walks the UTF-16 text; false when an unpaired surrogate stops it.
bool ToUtf8(std::u16string_view utf16, std::string& out, Unpaired unpaired) {
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t c = utf16[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (utf16[++i] - 0xDC00);
    } else if (IsSurrogate(c)) {
      if (unpaired == Unpaired::kStop) return false;
      if (unpaired == Unpaired::kReplace) c = kReplacement;
    }
    AppendUtf8(out, c);
  }
  return true;
}
}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (size_t at = 0, used = 0; at < utf8.size(); at += used) {
    // ASCII, most of every path, needs no decoding.
    if (static_cast<unsigned char>(utf8[at]) < 0x80) {
      used = 1, out += static_cast<char16_t>(utf8[at]);
      continue;
    }
    const char32_t c = DecodeAt(utf8, at, used);
    if (c < 0x10000) {
      out += static_cast<char16_t>(c);
    } else {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  return out;
}

size_t Utf16Length(std::string_view utf8) {
  size_t units = 0;
  for (size_t at = 0, used = 0; at < utf8.size(); at += used) {
    // ASCII, most of every path, needs no decoding.
    if (static_cast<unsigned char>(utf8[at]) < 0x80) {
      used = 1, ++units;
      continue;
    }
    units += DecodeAt(utf8, at, used) < 0x10000 ? 1 : 2;
  }
  return units;
}

size_t Utf8ToUtf16Into(std::string_view utf8, char16_t* out, size_t capacity) {
  size_t written = 0;
  for (size_t at = 0, used = 0; at < utf8.size(); at += used) {
    const char32_t c = DecodeAt(utf8, at, used);
    const size_t units = c < 0x10000 ? 1 : 2;
    if (written + units > capacity - 1) break;
    if (units == 1) {
      out[written++] = static_cast<char16_t>(c);
    } else {
      out[written++] = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out[written++] = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  out[written] = 0;
  return written;
}

std::optional<std::string> Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  if (!ToUtf8(utf16, out, Unpaired::kStop)) return std::nullopt;
  return out;
}

std::string Utf16ToUtf8Shown(std::u16string_view utf16) {
  std::string out;
  ToUtf8(utf16, out, Unpaired::kReplace);
  return out;
}

std::string Utf16ToUtf8Marked(std::u16string_view utf16) {
  std::string out;
  ToUtf8(utf16, out, Unpaired::kKeep);
  return out;
}

bool HoldsUnpairedSurrogate(std::string_view text) {
  for (size_t at = text.find('\xED'); at != std::string_view::npos && at + 2 < text.size();
       at = text.find('\xED', at + 1)) {
    const auto second = static_cast<unsigned char>(text[at + 1]);
    if (second >= 0xA0 && second <= 0xBF &&
        IsContinuation(static_cast<unsigned char>(text[at + 2])))
      return true;
  }
  return false;
}

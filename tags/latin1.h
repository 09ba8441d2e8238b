// Conversions between the program's 8-bit text (each byte read as the Latin-1 code point of the
// same value) and the UTF-8 that TagLib and UTF-8 preference files use.
#pragma once
#include <string>
#include <string_view>

enum class Utf8Stop {
  None,         // the whole text was converted
  Malformed,    // a byte that cannot start a sequence, or a bad continuation byte
  AboveLatin1,  // a character above U+00FF
  Truncated,    // a sequence cut off by the end of the text
};

struct Latin1Result {
  std::string text;  // what was converted before the stop
  Utf8Stop stop = Utf8Stop::None;
};

// Converts sequence by sequence and stops at the first sequence it cannot hold in one byte.
Latin1Result Utf8ToLatin1(std::string_view utf8);

// Each byte below 0x80 is copied; every other byte becomes its two-byte UTF-8 sequence.
std::string Latin1ToUtf8(std::string_view text);

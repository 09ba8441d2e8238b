// The program's text is UTF-8; Windows' is UTF-16. One pair of conversions between them.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Every valid sequence becomes its character; a byte that does not begin one, a bad continuation
// byte, an overlong form or one above U+10FFFF becomes U+FFFD, and so does each whole sequence
// that encodes a surrogate's code point, so nothing past the text is read and the result is
// always valid UTF-16.
std::u16string Utf8ToUtf16(std::string_view utf8);

// How many UTF-16 units Utf8ToUtf16 makes of the text, without making them: the length Windows
// counts for a name.
size_t Utf16Length(std::string_view utf8);

// Utf8ToUtf16 into memory set aside beforehand (no allocation): at most capacity - 1 units, never
// half of a surrogate pair, then a zero unit. Returns the units written, without the zero.
// capacity must be at least 1.
size_t Utf8ToUtf16Into(std::string_view utf8, char16_t* out, size_t capacity);

// Nothing when the text holds an unpaired surrogate, which no UTF-8 text can carry.
std::optional<std::string> Utf16ToUtf8(std::u16string_view utf16);

// Utf16ToUtf8 with U+FFFD for every unpaired surrogate: for texts shown to the user only.
std::string Utf16ToUtf8Shown(std::u16string_view utf16);

// Utf16ToUtf8 with every unpaired surrogate kept as the three bytes its code point would take
// (ED A0 80 to ED BF BF). Those bytes are no UTF-8, so no existing name is ever taken for such a
// text; Utf8ToUtf16 shows each as one U+FFFD, and HoldsUnpairedSurrogate tells the text apart.
// For names handed to the program, which must be listed and reported, not dropped.
std::string Utf16ToUtf8Marked(std::u16string_view utf16);

// Whether the text holds an unpaired surrogate as Utf16ToUtf8Marked keeps it.
bool HoldsUnpairedSurrogate(std::string_view text);

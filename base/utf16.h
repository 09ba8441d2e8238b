// The program's text is UTF-8; Windows' is UTF-16. One pair of conversions between them.
#pragma once
#include <optional>
#include <string>
#include <string_view>

// Every valid sequence becomes its character; a byte that does not begin one, a bad continuation
// byte, an overlong form, a surrogate's code point or one above U+10FFFF becomes U+FFFD, so
// nothing past the text is read and the result is always valid UTF-16.
std::u16string Utf8ToUtf16(std::string_view utf8);

// Nothing when the text holds an unpaired surrogate, which no UTF-8 text can carry.
std::optional<std::string> Utf16ToUtf8(std::u16string_view utf16);

// Utf16ToUtf8 with U+FFFD for every unpaired surrogate: for texts shown to the user only.
std::string Utf16ToUtf8Shown(std::u16string_view utf16);

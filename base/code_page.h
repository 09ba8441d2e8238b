// The system's ANSI code page, as the pure core meets it: older files keep their texts in it.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

struct CodePage {
  // The bytes of a text in the code page, as UTF-8.
  std::function<std::string(std::string_view bytes)> toUtf8;
  // A UTF-8 text in the code page; nothing when a character of it has no exact form there.
  std::function<std::optional<std::string>(std::string_view utf8)> fromUtf8;
};

// The text of a preferences.ini file: parsing, lookups, changes and the written form. Inside, every
// name and value is UTF-8; in the file, a leading UTF-8 byte-order mark says the rest is UTF-8, and
// without it the bytes are in the system's ANSI code page, as older versions wrote them.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/code_page.h"

class PreferenceText {
 public:
  enum class Kind { Comment, Group, Key };
  struct Entry {
    Kind kind;
    std::string name;   // key, group name or comment text
    std::string value;  // the key's raw value
  };

  // Parses the bytes of a file: after a leading UTF-8 byte-order mark as UTF-8, else as text in
  // the code page.
  static PreferenceText Parse(std::string_view bytes, const CodePage& codePage);

  // The visible value of key, trimmed of blanks and tabs; fallback when it is not visible.
  std::string ReadString(std::string_view key, std::string_view fallback) const;
  // The value's leading decimal number as atoi reads it; fallback when the key is not visible.
  std::int32_t ReadInteger(std::string_view key, std::int32_t fallback) const;
  // Sets key to value: in place when the key is visible, else after the last ungrouped entry.
  void WriteString(std::string_view key, std::string_view value);
  void WriteInteger(std::string_view key, std::int32_t value);

  // Every entry in order, in the written form, each line ending in CR LF (UTF-8).
  std::string Serialize() const;
  // The bytes of the file: the written form in the code page while every character of it has an
  // exact form there, so a file the program wrote before keeps its bytes, else the byte-order mark
  // and the written form in UTF-8.
  std::string FileBytes(const CodePage& codePage) const;

  // Whether the parsed file began with the byte-order mark.
  bool utf8() const { return utf8_; }
  const std::vector<Entry>& entries() const { return entries_; }

 private:
  // The visible key entry equal to key (A-Z compared without case), or null.
  const Entry* Find(std::string_view key) const;

  std::vector<Entry> entries_;
  bool utf8_ = false;
};

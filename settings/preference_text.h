// The text of a preferences.ini file: parsing, lookups, changes and the written form.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class PreferenceText {
 public:
  enum class Kind { Comment, Group, Key };
  struct Entry {
    Kind kind;
    std::string name;   // key, group name or comment text
    std::string value;  // the key's raw value
  };

  // Parses the bytes of a file; a leading UTF-8 byte-order mark marks the file as UTF-8.
  static PreferenceText Parse(std::string_view bytes);

  // The visible value of key, trimmed of blanks and tabs; fallback when it is not visible.
  std::string ReadString(std::string_view key, std::string_view fallback) const;
  // The value's leading decimal number as atoi reads it; fallback when the key is not visible.
  std::int32_t ReadInteger(std::string_view key, std::int32_t fallback) const;
  // Sets key to value: in place when the key is visible, else after the last ungrouped entry.
  void WriteString(std::string_view key, std::string_view value);
  void WriteInteger(std::string_view key, std::int32_t value);

  // Every entry in order, in the written form, each line ending in CR LF.
  std::string Serialize() const;

  bool utf8() const { return utf8_; }
  const std::vector<Entry>& entries() const { return entries_; }

 private:
  // The visible key entry equal to key (A-Z compared without case), or null.
  const Entry* Find(std::string_view key) const;

  std::vector<Entry> entries_;
  bool utf8_ = false;
};

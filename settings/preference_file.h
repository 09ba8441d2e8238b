// PreferenceFile: one preferences.ini on disk, open between OpenExisting or CreateNew and Close.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "settings/preference_text.h"

class PreferenceFile {
 public:
  PreferenceFile();
  ~PreferenceFile();  // closes, writing out what was written
  PreferenceFile(const PreferenceFile&) = delete;
  PreferenceFile& operator=(const PreferenceFile&) = delete;

  // Opens an existing file (read-write, others may read; else read-only) and parses it.
  bool OpenExisting(const std::string& path);
  // Creates the file, or cuts an existing one to zero length, with no entries.
  bool CreateNew(const std::string& path);

  std::string ReadString(const std::string& key, const std::string& fallback) const;
  std::int32_t ReadInteger(const std::string& key, std::int32_t fallback) const;
  // Dropped when no file could be created or opened.
  void WriteString(const std::string& key, const std::string& value);
  void WriteInteger(const std::string& key, std::int32_t value);

  // Writes the whole file anew when anything was written, then closes it.
  void Close();

 private:
  struct Open;
  std::unique_ptr<Open> open_;
  std::string path_;
};

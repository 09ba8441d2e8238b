#include <windows.h>

#include <new>

#include "base/file_system_win.h"
#include "base/position.h"
#include "base/rewrite_attributes.h"
#include "base/win_handles.h"
#include "settings/preference_file.h"

struct PreferenceFile::Open {
  FileHandle file;
  PreferenceText text;
  bool written = false;
};

static_assert(kAttributeHidden == FILE_ATTRIBUTE_HIDDEN &&
              kAttributeSystem == FILE_ATTRIBUTE_SYSTEM &&
              kAttributeArchive == FILE_ATTRIBUTE_ARCHIVE &&
              kAttributeNormal == FILE_ATTRIBUTE_NORMAL &&
              kNoAttributes == INVALID_FILE_ATTRIBUTES);

PreferenceFile::PreferenceFile() = default;
PreferenceFile::~PreferenceFile() { Close(); }

bool PreferenceFile::OpenExisting(const std::string& path) {
  STEP(DA3Rudi);
  Close();
  path_ = path;
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  // Refused for writing (a read-only file, or another process that holds it and lets others only
  // read, as every sorter that Explorer starts together does): read it, sharing as much as the
  // holder allows.
  if (!file)
    file = FileHandle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  // A file too large for memory has no entries: every read gives its default.
  PreferenceText text;
  try {
    std::string bytes;
    if (ReadRest(file.get(), bytes)) text = PreferenceText::Parse(bytes);
  } catch (const std::bad_alloc&) {
    text = PreferenceText{};
  }
  open_ = std::make_unique<Open>(Open{std::move(file), std::move(text), false});
  return true;
}

bool PreferenceFile::CreateNew(const std::string& path) {
  STEP(DA3Rudi);
  Close();
  path_ = path;
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, RewriteAttributes(GetFileAttributesA(path.c_str())),
                              nullptr));
  if (!file) return false;
  open_ = std::make_unique<Open>(Open{std::move(file), PreferenceText{}, false});
  return true;
}

std::string PreferenceFile::ReadString(const std::string& key, const std::string& fallback) const {
  return open_ ? open_->text.ReadString(key, fallback) : fallback;
}

std::int32_t PreferenceFile::ReadInteger(const std::string& key, std::int32_t fallback) const {
  return open_ ? open_->text.ReadInteger(key, fallback) : fallback;
}

void PreferenceFile::WriteString(const std::string& key, const std::string& value) {
  STEP(DA3Rudi);
  if (!open_) return;
  open_->text.WriteString(key, value);
  open_->written = true;
}

void PreferenceFile::WriteInteger(const std::string& key, std::int32_t value) {
  WriteString(key, std::to_string(value));
}

void PreferenceFile::Close() {
  STEP(DA3Rudi);
  if (!open_) return;
  if (open_->written) {
    const std::string bytes = open_->text.Serialize();
    HANDLE file = open_->file.get();
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    DWORD done = 0;
    if (!bytes.empty()) WriteFile(file, bytes.data(), DWORD(bytes.size()), &done, nullptr);
    SetEndOfFile(file);
  }
  open_.reset();
}

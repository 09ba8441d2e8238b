#include <windows.h>

#include <optional>

#include "base/file_system_win.h"
#include "base/path_parts.h"
#include "base/position.h"
#include "base/text_util.h"
#include "tags/latin1.h"
#include "tags/save_copy_name.h"
#include "tags/tag_bridge.h"
#include "tags/taglib.h"

namespace {
struct TextField {
  std::string TagInfo::*member;
  char* (*get)(const TagLib_Tag*);
  void (*set)(TagLib_Tag*, const char*);
};
// The text fields in the order they are read and written, with the numbers between them.
const TextField kTitle{&TagInfo::title, taglib::Title, taglib::SetTitle};
const TextField kArtist{&TagInfo::artist, taglib::Artist, taglib::SetArtist};
const TextField kAlbum{&TagInfo::album, taglib::Album, taglib::SetAlbum};
const TextField kComment{&TagInfo::comment, taglib::Comment, taglib::SetComment};
const TextField kGenre{&TagInfo::genre, taglib::Genre, taglib::SetGenre};
const TextField* const kTextFields[] = {&kTitle, &kArtist, &kAlbum, &kComment, &kGenre};

// What the program's 8-bit reading makes of a TagLib text.
std::string ReadText(const char* utf8) {
  return TrimSpaces(Utf8ToLatin1(utf8 ? utf8 : "").text);
}

void ReadField(const TagLib_Tag* tag, const TextField& field, TagInfo& record) {
  record.*field.member = ReadText(field.get(tag));
}

// Writes the record's text, unless the record holds exactly what reading made of the file's value
// and that reading lost part of it: then the file keeps its value rather than the shortened one.
void WriteField(TagLib_Tag* tag, const TextField& field, const TagInfo& record) {
  const std::string& text = record.*field.member;
  const char* current = field.get(tag);
  const std::string currentText = current ? current : "";
  if (text == ReadText(current) && Latin1ToUtf8(text) != currentText) return;
  field.set(tag, Latin1ToUtf8(text).c_str());
}

bool IsUsable(const std::string& fileName, const TagInfo* record) {
  STEP(DA3Rudi);
  if (TrimSpaces(fileName).empty()) return false;
  auto size = FileSize(fileName);
  return size && *size >= 1 && record;
}

// What must survive a save. The bit rate is left out: for Ogg files TagLib estimates it from the
// file's size, which a longer comment changes.
struct AudioProperties {
  int sampleRate = 0, channels = 0, length = 0;
  bool operator==(const AudioProperties&) const = default;
};

AudioProperties PropertiesOf(TagLib_File* file) {
  const TagLib_AudioProperties* p = taglib::FileAudioProperties(file);
  return p ? AudioProperties{taglib::SampleRate(p), taglib::Channels(p), taglib::Length(p)}
           : AudioProperties{};
}

// Opens a file through TagLib and reads its audio properties; false when it does not open.
bool OpensWith(const std::string& fileName, AudioProperties& properties) {
  STEP(DA3Rudi);
  taglib::File file(taglib::FileNew(fileName.c_str()));
  if (!file) return false;
  properties = PropertiesOf(file.get());
  return true;
}

// Whether a saved file opens with the original's audio properties and reads back the record's
// texts. TagLib reports some saves as done that stored nothing (a file that only looks like its
// format, say); those are caught here.
bool SavedAsMeant(const std::string& fileName, const TagInfo& record,
                  const AudioProperties& before) {
  STEP(DA3Rudi);
  taglib::File file(taglib::FileNew(fileName.c_str()));
  if (!file || PropertiesOf(file.get()) != before) return false;
  const TagLib_Tag* tag = taglib::FileTag(file.get());
  if (!tag) return false;
  for (const TextField* field : kTextFields)
    if (ReadText(field->get(tag)) != TrimSpaces(record.*field->member)) return false;
  return true;
}

// Copies the original to a fresh name beside it; empty when no copy could be made.
std::string MakeCopy(const std::string& fileName) {
  STEP(DA3Rudi);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string copy = SaveCopyName(fileName, GetCurrentProcessId(), attempt);
    if (CopyFileA(fileName.c_str(), copy.c_str(), TRUE)) return copy;
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) {
      DeleteFileA(copy.c_str());  // a copy that failed halfway (disk full) is ours to remove
      return {};
    }
  }
  return {};
}

// Free bytes on the volume that holds the file, or 0 when they cannot be asked for.
unsigned long long FreeBytesBeside(const std::string& fileName) {
  const std::string folder = FolderPart(fileName);
  ULARGE_INTEGER free{};
  if (!GetDiskFreeSpaceExA(folder.empty() ? nullptr : folder.c_str(), &free, nullptr, nullptr))
    return 0;
  return free.QuadPart;
}

// TagLib does not notice a write that runs out of disk space and reports such a save as done, so
// a save is tried only with room for every text of the record (UTF-8 takes at most two bytes per
// 8-bit character) beside a margin for padding and tag headers, and it counts as failed when it
// left the volume without even the last block free.
constexpr unsigned long long kSaveMargin = 64 * 1024, kLastBlock = 4096;

unsigned long long RoomForSave(const TagInfo& record) {
  size_t texts = 0;
  for (const TextField* field : kTextFields) texts += (record.*field->member).size();
  return 2 * texts + kSaveMargin;
}

// Sets the record's fields in the file and saves it in place.
bool SaveInto(const std::string& fileName, const TagInfo& record) {
  STEP(DA3Rudi);
  taglib::File file(taglib::FileNew(fileName.c_str()));
  if (!file) return false;
  if (TagLib_Tag* tag = taglib::FileTag(file.get())) {
    WriteField(tag, kTitle, record);
    WriteField(tag, kArtist, record);
    WriteField(tag, kAlbum, record);
    taglib::SetYear(tag, static_cast<unsigned>(record.year));
    WriteField(tag, kComment, record);
    taglib::SetTrack(tag, static_cast<unsigned>(record.track));
    WriteField(tag, kGenre, record);
  }
  return taglib::FileSave(file.get());
}

// Deletes a copy that is no longer needed. One that another program holds open (a virus scanner,
// Explorer's preview) cannot go yet: it is hidden, and the edit and sort runs skip its name.
void RemoveCopy(const std::string& copy) {
  STEP(DA3Rudi);
  if (DeleteFileA(copy.c_str())) return;
  DWORD attributes = GetFileAttributesA(copy.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES)
    SetFileAttributesA(copy.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
}

// After a failed replace, the files on disk decide; the checked copy is given up only while the
// original is there as it was. Without a backup name, ERROR_UNABLE_TO_MOVE_REPLACEMENT means the
// original is gone and the copy is the only file left; ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 means the
// original lives on under a name the system chose.
int SettleFailedReplace(const std::string& fileName, const std::string& copy,
                        const FileStamp& original, unsigned long error) {
  STEP(DA3Rudi);
  if (std::optional<FileStamp> now = StampOf(fileName)) {
    if (*now == original) RemoveCopy(copy);
    return 0;  // a file changed meanwhile by someone else is kept beside the copy
  }
  // MoveFile never overwrites: should a file or folder have taken the name meanwhile, the copy
  // stays where it is, with the saved tags.
  if (!MoveFileA(copy.c_str(), fileName.c_str())) return 0;
  // The name holds the saved file again; an original that lives on elsewhere is still a failure
  // to report, since the user now has a second file.
  return error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 ? 0 : 1;
}
bool ReplaceWithCopy(const std::string& original, const std::string& copy, unsigned long& error) {
  STEP(DA3Rudi);
  // ReplaceFile keeps the original's attributes and identity. The two IGNORE flags let a save
  // succeed where the user may write the file but not its access list (network shares).
  constexpr DWORD kFlags =
      REPLACEFILE_WRITE_THROUGH | REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS;
  if (ReplaceFileA(original.c_str(), copy.c_str(), nullptr, kFlags, nullptr, nullptr)) return true;
  error = GetLastError();
  return false;
}
}  // namespace

int ReadTags(const std::string& fileName, TagInfo* record) {
  STEP(DA3Rudi);
  if (!IsUsable(fileName, record)) return 0;
  taglib::File file(taglib::FileNew(fileName.c_str()));
  if (!file) return 0;
  if (const TagLib_Tag* tag = taglib::FileTag(file.get())) {
    ReadField(tag, kTitle, *record);
    ReadField(tag, kArtist, *record);
    ReadField(tag, kAlbum, *record);
    record->year = static_cast<std::int32_t>(taglib::Year(tag));
    ReadField(tag, kComment, *record);
    record->track = static_cast<std::int32_t>(taglib::Track(tag));
    ReadField(tag, kGenre, *record);
  }
  if (const TagLib_AudioProperties* p = taglib::FileAudioProperties(file.get())) {
    record->bitrate = taglib::Bitrate(p);
    record->sampleRate = taglib::SampleRate(p);
    record->channels = taglib::Channels(p);
    record->length = static_cast<std::int64_t>(taglib::Length(p));
  }
  return 1;
}

int WriteTags(const std::string& fileName, const TagInfo* record) {
  return WriteTags(fileName, record, ReplaceWithCopy);
}

int WriteTags(const std::string& fileName, const TagInfo* record, const ReplaceStep& replace) {
  STEP(DA3Rudi);
  if (!IsUsable(fileName, record)) return 0;
  DWORD attributes = GetFileAttributesA(fileName.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY)) return 0;
  AudioProperties before;
  if (!OpensWith(fileName, before)) return 0;
  const std::optional<FileStamp> original = StampOf(fileName);
  if (!original) return 0;

  std::string copy = MakeCopy(fileName);
  if (copy.empty()) return 0;
  bool good = FreeBytesBeside(copy) >= RoomForSave(*record) && SaveInto(copy, *record) &&
              FreeBytesBeside(copy) >= kLastBlock && SavedAsMeant(copy, *record, before);
  STEP(DA3Rudi);
  if (!good) {
    RemoveCopy(copy);  // the original was never touched
    return 0;
  }
  unsigned long error = 0;
  if (replace(fileName, copy, error)) return 1;
  return SettleFailedReplace(fileName, copy, *original, error);
}

#include <cstdint>

#include "base/file_system_win.h"
#include "base/position.h"
#include "base/text_util.h"
#include "tags/safe_save.h"
#include "tags/tag_bridge.h"
#include "tags/taglib.h"

namespace {
// How a field is got from and set in a TagLib tag, and where the record keeps it.
struct TextAccess {
  std::string TagInfo::*member;
  char* (*get)(const TagLib_Tag*);
  void (*set)(TagLib_Tag*, const char*);
};
struct NumberAccess {
  std::int32_t TagInfo::*member;
  unsigned (*get)(const TagLib_Tag*);
  void (*set)(TagLib_Tag*, unsigned);
};
// A field is a text or a number: it fills the one access and leaves the other empty.
struct Field {
  TextAccess text{};
  NumberAccess number{};
};
// The seven fields in the order they are read and written.
constexpr Field kFields[] = {
    {.text = {&TagInfo::title, taglib::Title, taglib::SetTitle}},
    {.text = {&TagInfo::artist, taglib::Artist, taglib::SetArtist}},
    {.text = {&TagInfo::album, taglib::Album, taglib::SetAlbum}},
    {.number = {&TagInfo::year, taglib::Year, taglib::SetYear}},
    {.text = {&TagInfo::comment, taglib::Comment, taglib::SetComment}},
    {.number = {&TagInfo::track, taglib::Track, taglib::SetTrack}},
    {.text = {&TagInfo::genre, taglib::Genre, taglib::SetGenre}},
};

// A TagLib text as the record holds it: the UTF-8 unchanged but for spaces at its ends.
std::string ReadText(const char* utf8) { return TrimSpaces(utf8 ? utf8 : ""); }

void ReadField(const TagLib_Tag* tag, const Field& field, TagInfo& record) {
  if (field.text.member)
    record.*field.text.member = ReadText(field.text.get(tag));
  else
    record.*field.number.member = static_cast<std::int32_t>(field.number.get(tag));
}

// Writes the record's value; a text crosses as the UTF-8 it is.
void WriteField(TagLib_Tag* tag, const Field& field, const TagInfo& record) {
  if (!field.text.member) {
    field.number.set(tag, static_cast<unsigned>(record.*field.number.member));
    return;
  }
  field.text.set(tag, (record.*field.text.member).c_str());
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
  taglib::File file(taglib::FileNew(fileName));
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
  taglib::File file(taglib::FileNew(fileName));
  if (!file || PropertiesOf(file.get()) != before) return false;
  const TagLib_Tag* tag = taglib::FileTag(file.get());
  if (!tag) return false;
  for (const Field& field : kFields) {
    const TextAccess& text = field.text;
    if (text.member && ReadText(text.get(tag)) != TrimSpaces(record.*text.member)) return false;
  }
  return true;
}

// TagLib does not notice a write that runs out of disk space and reports such a save as done, so
// a save is tried only with room for every text of the record (no encoding a tag stores takes more
// than twice the UTF-8 bytes: UTF-16 doubles ASCII) beside a margin for padding and tag headers.
constexpr unsigned long long kSaveMargin = 64 * 1024;

unsigned long long RoomForSave(const TagInfo& record) {
  size_t texts = 0;
  for (const Field& field : kFields)
    if (field.text.member) texts += (record.*field.text.member).size();
  return 2 * texts + kSaveMargin;
}

// Sets the record's fields in the file and saves it in place.
bool SaveInto(const std::string& fileName, const TagInfo& record) {
  STEP(DA3Rudi);
  taglib::File file(taglib::FileNew(fileName));
  if (!file) return false;
  if (TagLib_Tag* tag = taglib::FileTag(file.get()))
    for (const Field& field : kFields) WriteField(tag, field, record);
  return taglib::FileSave(file.get());
}
}  // namespace

int ReadTags(const std::string& fileName, TagInfo* record) {
  STEP(DA3Rudi);
  if (!IsUsable(fileName, record)) return 0;
  taglib::File file(taglib::FileNew(fileName));
  if (!file) return 0;
  if (const TagLib_Tag* tag = taglib::FileTag(file.get()))
    for (const Field& field : kFields) ReadField(tag, field, *record);
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
  if (!IsUsable(fileName, record) || !MayReplace(fileName)) return 0;
  AudioProperties before;
  if (!OpensWith(fileName, before)) return 0;
  auto save = [&](const std::string& copy) { return SaveInto(copy, *record); };
  auto check = [&](const std::string& copy) { return SavedAsMeant(copy, *record, before); };
  return SaveThroughCopy(fileName, RoomForSave(*record), save, check, replace) ? 1 : 0;
}

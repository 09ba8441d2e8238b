#include <cstdint>

#include "base/file_system_win.h"
#include "base/position.h"
#include "base/text_util.h"
#include "tags/safe_save.h"
#include "tags/tag_bridge.h"
#include "tags/taglib.h"

namespace {
// How a field is got from and set in a file's tag, and where the record keeps it. Texts go through
// the file as well as its tag, since the comment is the file's own comment (taglib.h).
struct TextAccess {
  std::string TagInfo::*member;
  char* (*get)(TagLib_File*, TagLib_Tag*);
  void (*set)(TagLib_File*, TagLib_Tag*, const char*);
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

// A text of the tag alone, in the form of a text access.
template <char* (*Get)(const TagLib_Tag*)>
char* TagText(TagLib_File*, TagLib_Tag* tag) {
  return Get(tag);
}
template <void (*Set)(TagLib_Tag*, const char*)>
void SetTagText(TagLib_File*, TagLib_Tag* tag, const char* text) {
  Set(tag, text);
}

// The seven fields in the order they are read and written.
constexpr Field kFields[] = {
    {.text = {&TagInfo::title, TagText<taglib::Title>, SetTagText<taglib::SetTitle>}},
    {.text = {&TagInfo::artist, TagText<taglib::Artist>, SetTagText<taglib::SetArtist>}},
    {.text = {&TagInfo::album, TagText<taglib::Album>, SetTagText<taglib::SetAlbum>}},
    {.number = {&TagInfo::year, taglib::Year, taglib::SetYear}},
    {.text = {&TagInfo::comment, taglib::OwnComment, taglib::SetOwnComment}},
    {.number = {&TagInfo::track, taglib::Track, taglib::SetTrack}},
    {.text = {&TagInfo::genre, TagText<taglib::Genre>, SetTagText<taglib::SetGenre>}},
};

// A TagLib text as the record holds it: the UTF-8 unchanged but for spaces at its ends.
std::string ReadText(const char* utf8) { return TrimSpaces(utf8 ? utf8 : ""); }

void ReadField(TagLib_File* file, TagLib_Tag* tag, const Field& field, TagInfo& record) {
  if (field.text.member)
    record.*field.text.member = ReadText(field.text.get(file, tag));
  else
    record.*field.number.member = static_cast<std::int32_t>(field.number.get(tag));
}

// Whether the record holds, for the field, what reading the file gives now: a field the user did
// not change. Such a field is never set, so what the file holds beyond the program's reading of it
// (a full date, a track total, a vinyl side, several values, spaces around a text) stays as it is.
bool Unchanged(TagLib_File* file, TagLib_Tag* tag, const Field& field, const TagInfo& record) {
  if (field.text.member)
    return ReadText(field.text.get(file, tag)) == TrimSpaces(record.*field.text.member);
  return field.number.get(tag) == static_cast<unsigned>(record.*field.number.member);
}

void WriteField(TagLib_File* file, TagLib_Tag* tag, const Field& field, const TagInfo& record) {
  if (field.text.member)
    field.text.set(file, tag, (record.*field.text.member).c_str());
  else
    field.number.set(tag, static_cast<unsigned>(record.*field.number.member));
}

// The fields a save sets, as flags by their place in kFields.
using FieldSet = unsigned;
constexpr FieldSet Flag(size_t field) { return FieldSet(1) << field; }

// The fields in which the record differs from the file. A file without a tag can take none, so
// then every field counts, and the save that follows fails.
FieldSet ChangedFields(TagLib_File* file, const TagInfo& record) {
  const taglib::FileTags tags(file);
  TagLib_Tag* tag = tags.get();
  FieldSet changed = 0;
  for (size_t i = 0; i < std::size(kFields); ++i)
    if (!tag || !Unchanged(file, tag, kFields[i], record)) changed |= Flag(i);
  return changed;
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

// Opens a file through TagLib, reads its audio properties and finds the fields the record
// changes; false when it does not open.
bool OpensWith(const std::string& fileName, const TagInfo& record, AudioProperties& properties,
               FieldSet& changed) {
  STEP(DA3Rudi);
  taglib::File file(taglib::FileNew(fileName));
  if (!file) return false;
  properties = PropertiesOf(file.get());
  changed = ChangedFields(file.get(), record);
  return true;
}

// Whether a saved file opens with the original's audio properties and reads back every field as
// the record holds it: those set, and those left as the file had them. TagLib reports some saves
// as done that stored nothing (a file that only looks like its format, say), or that a tag read
// first now shadows with a shortened value; those are caught here.
bool SavedAsMeant(const std::string& fileName, const TagInfo& record,
                  const AudioProperties& before) {
  STEP(DA3Rudi);
  taglib::File file(taglib::FileNew(fileName));
  if (!file || PropertiesOf(file.get()) != before) return false;
  const taglib::FileTags tags(file.get());
  TagLib_Tag* tag = tags.get();
  if (!tag) return false;
  for (const Field& field : kFields)
    if (!Unchanged(file.get(), tag, field, record)) return false;
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

// Sets the given fields from the record in a copy of the file, and saves it in place.
bool SaveInto(const std::string& fileName, const TagInfo& record, FieldSet fields) {
  STEP(DA3Rudi);
  taglib::File file(taglib::FileNew(fileName));
  if (!file) return false;
  const taglib::FileTags tags(file.get());
  TagLib_Tag* tag = tags.get();
  if (!tag) return false;
  {
    const taglib::ApeKeysKept keys(file.get());
    for (size_t i = 0; i < std::size(kFields); ++i)
      if (fields & Flag(i)) WriteField(file.get(), tag, kFields[i], record);
  }
  return taglib::SaveFile(file.get());
}
}  // namespace

int ReadTags(const std::string& fileName, TagInfo* record) {
  STEP(DA3Rudi);
  if (!IsUsable(fileName, record)) return 0;
  taglib::File file(taglib::FileNew(fileName));
  if (!file) return 0;
  const taglib::FileTags tags(file.get());
  if (TagLib_Tag* tag = tags.get())
    for (const Field& field : kFields) ReadField(file.get(), tag, field, *record);
  if (const TagLib_AudioProperties* p = taglib::FileAudioProperties(file.get())) {
    record->bitrate = taglib::Bitrate(p);
    record->sampleRate = taglib::SampleRate(p);
    record->channels = taglib::Channels(p);
    record->length = static_cast<std::int64_t>(taglib::Length(p));
  }
  return 1;
}

int WriteTags(const std::string& fileName, const TagInfo* record, unsigned long* error) {
  return WriteTags(fileName, record, ReplaceWithCopy, error);
}

int WriteTags(const std::string& fileName, const TagInfo* record, const ReplaceStep& replace,
              unsigned long* error) {
  STEP(DA3Rudi);
  unsigned long why = 0;
  bool saved = false;
  AudioProperties before;
  FieldSet changed = 0;
  if (IsUsable(fileName, record) && MayReplace(fileName, why) &&
      OpensWith(fileName, *record, before, changed)) {
    // A record the user did not change leaves the file untouched.
    auto save = [&](const std::string& copy) { return SaveInto(copy, *record, changed); };
    auto check = [&](const std::string& copy) { return SavedAsMeant(copy, *record, before); };
    saved = !changed || SaveThroughCopy(fileName, RoomForSave(*record), save, check, replace, why);
  }
  if (error) *error = saved ? 0 : why;
  return saved ? 1 : 0;
}

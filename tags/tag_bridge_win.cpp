#include <array>
#include <cstdint>
#include <vector>

#include "base/file_system_win.h"
#include "base/position.h"
#include "base/text_util.h"
#include "tags/safe_save.h"
#include "tags/tag_bridge.h"
#include "tags/taglib.h"

namespace {
// How a field is got from and set in a file's tag, where the record keeps it, and its TagLib
// property key. Texts go through the file as well as its tag, since the comment is the file's own
// comment and the artist and genre may hold several values (taglib.h).
struct TextAccess {
  std::string TagInfo::*member;
  std::string (*get)(TagLib_File*, TagLib_Tag*);
  void (*set)(TagLib_File*, TagLib_Tag*, const char*);
};
struct NumberAccess {
  std::int32_t TagInfo::*member;
  unsigned (*get)(TagLib_File*, TagLib_Tag*);
  void (*set)(TagLib_File*, TagLib_Tag*, unsigned);
};
// A field is a text or a number: it fills the one access and leaves the other empty. Its value
// shows under its key among the file's properties, and under the other keys where given.
struct Field {
  const char* key;
  TextAccess text{};
  NumberAccess number{};
  std::array<const char*, 2> otherKeys{};
};

// A text of the tag alone, in the form of a text access.
template <std::string (*Get)(const TagLib_Tag*)>
std::string TagText(TagLib_File*, TagLib_Tag* tag) {
  return Get(tag);
}
template <void (*Set)(TagLib_Tag*, const char*)>
void SetTagText(TagLib_File*, TagLib_Tag* tag, const char* text) {
  Set(tag, text);
}
template <unsigned (*Get)(const TagLib_Tag*)>
unsigned TagNumber(TagLib_File*, TagLib_Tag* tag) {
  return Get(tag);
}
template <void (*Set)(TagLib_Tag*, unsigned)>
void SetTagNumber(TagLib_File*, TagLib_Tag* tag, unsigned number) {
  Set(tag, number);
}
// A field that may hold several values, read and set as taglib::ListText says.
template <const char* Key, std::string (*Get)(const TagLib_Tag*)>
std::string ListText(TagLib_File* file, TagLib_Tag* tag) {
  return taglib::ListText(file, tag, Key, Get);
}
template <const char* Key, void (*Set)(TagLib_Tag*, const char*)>
void SetListText(TagLib_File* file, TagLib_Tag* tag, const char* text) {
  taglib::SetListText(file, tag, Key, text, Set);
}
constexpr char kArtistKey[] = "ARTIST", kGenreKey[] = "GENRE";

// The seven fields and the track total, in the order they are read and written (the total after
// the number it goes with). ID3v2, APE and MP4 keep the total in the track number's property.
constexpr Field kFields[] = {
    {"TITLE", {&TagInfo::title, TagText<taglib::Title>, SetTagText<taglib::SetTitle>}},
    {kArtistKey,
     {&TagInfo::artist, ListText<kArtistKey, taglib::Artist>,
      SetListText<kArtistKey, taglib::SetArtist>}},
    {"ALBUM", {&TagInfo::album, TagText<taglib::Album>, SetTagText<taglib::SetAlbum>}},
    {"DATE", {}, {&TagInfo::year, TagNumber<taglib::Year>, SetTagNumber<taglib::SetYear>}},
    {"COMMENT", {&TagInfo::comment, taglib::OwnComment, taglib::SetOwnComment}},
    {"TRACKNUMBER", {}, {&TagInfo::track, TagNumber<taglib::Track>, taglib::SetTrack}},
    {"TRACKTOTAL",
     {},
     {&TagInfo::trackTotal, taglib::TrackTotal, taglib::SetTrackTotal},
     {"TOTALTRACKS", "TRACKNUMBER"}},
    {kGenreKey,
     {&TagInfo::genre, ListText<kGenreKey, taglib::Genre>,
      SetListText<kGenreKey, taglib::SetGenre>}},
};

void ReadField(TagLib_File* file, TagLib_Tag* tag, const Field& field, TagInfo& record) {
  if (field.text.member)
    record.*field.text.member = TrimSpaces(field.text.get(file, tag));
  else
    record.*field.number.member = static_cast<std::int32_t>(field.number.get(file, tag));
}

// Whether the record holds, for the field, what reading the file gives now: a field the user did
// not change. Such a field is never set, so what the file holds beyond the program's reading of it
// (a full date, a track total, a vinyl side, spaces around a text) stays as it is.
bool Unchanged(TagLib_File* file, TagLib_Tag* tag, const Field& field, const TagInfo& record) {
  if (field.text.member)
    return TrimSpaces(field.text.get(file, tag)) == TrimSpaces(record.*field.text.member);
  return field.number.get(file, tag) == static_cast<unsigned>(record.*field.number.member);
}

void WriteField(TagLib_File* file, TagLib_Tag* tag, const Field& field, const TagInfo& record) {
  if (field.text.member)
    field.text.set(file, tag, (record.*field.text.member).c_str());
  else
    field.number.set(file, tag, static_cast<unsigned>(record.*field.number.member));
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

bool IsUsable(const std::string& fileName) {
  STEP(DA3Rudi);
  if (TrimSpaces(fileName).empty()) return false;
  auto size = FileSize(fileName);
  return size && *size >= 1;
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

// The tag fields of an opened file, as ReadTags reads them.
void ReadFields(TagLib_File* file, TagInfo& record) {
  const taglib::FileTags tags(file);
  if (TagLib_Tag* tag = tags.get())
    for (const Field& field : kFields) ReadField(file, tag, field, record);
}

// The fields of an opened file with the edit applied; a track total the format keeps nowhere
// stays as read (none), as the window that numbers tracks says of such files.
TagInfo EditedReading(TagLib_File* file, const TagEdit& edit) {
  TagInfo edited;
  ReadFields(file, edited);
  const std::int32_t total = edited.trackTotal;
  edit(edited);
  if (!taglib::KeepsTrackTotal(file)) edited.trackTotal = total;
  return edited;
}

// The property keys of the given fields, which a save compares apart from every other value the
// file holds.
std::vector<std::string> KeysOf(FieldSet fields) {
  std::vector<std::string> keys;
  for (size_t i = 0; i < std::size(kFields); ++i)
    if (fields & Flag(i)) {
      keys.push_back(kFields[i].key);
      for (const char* other : kFields[i].otherKeys)
        if (other) keys.push_back(other);
    }
  return keys;
}

// One save of a file as it is at that moment: what it held, and what it is to hold.
struct SavePlan {
  AudioProperties properties;
  TagInfo edited;                 // the fresh reading with the edit applied
  FieldSet fields = 0;            // the fields in which the edit changes the fresh reading
  taglib::HeldValues others;      // every value the file holds beyond the fields set
  std::vector<Picture> pictures;  // what the file is to hold once the cover change is made
  bool picturesChange = false;
};

// Pictures as a save compares them: where the format has no types (MP4), by their bytes alone, the
// first of those left counting as the front cover.
std::vector<Picture> Comparable(std::vector<Picture> pictures, bool untyped) {
  if (untyped)
    for (Picture& picture : pictures) picture.type = kOtherPicture;
  return pictures;
}

// Reads the copy as it is now, applies the edit to that reading, and sets in the copy the fields
// the edit changed; every other field, frame and value is left as the copy holds it. Saves the
// copy in place when there is anything to set.
bool SaveEdit(const std::string& copy, const TagEdit& edit, const CoverChange& cover,
              SavePlan& plan, unsigned long& error) {
  STEP(DA3Rudi);
  taglib::File file(taglib::FileNew(copy));
  if (!file) return false;
  const taglib::FileTags tags(file.get());
  TagLib_Tag* tag = tags.get();
  if (!tag) return false;
  plan = {};
  taglib::JoinSplitDate(file.get());
  plan.properties = PropertiesOf(file.get());
  plan.edited = EditedReading(file.get(), edit);
  plan.fields = ChangedFields(file.get(), plan.edited);
  plan.others = taglib::OtherValues(file.get(), KeysOf(plan.fields));
  const std::vector<Picture> held = taglib::Pictures(file.get());
  plan.pictures = PicturesAfter(held, cover);
  plan.picturesChange = !SamePictures(held, plan.pictures);
  if (!plan.fields && !plan.picturesChange) return true;
  if (cover.kind == CoverChange::kSet && taglib::BlocksLimitPictures(file.get()) &&
      PictureBlockTooLarge(plan.pictures.back())) {
    error = kErrorPictureTooLarge;
    return false;
  }
  if (plan.picturesChange && !taglib::ChangeCover(file.get(), cover)) {
    error = kErrorHoldsNoPicture;
    return false;
  }
  {
    const taglib::ApeKeysKept keys(file.get());
    for (size_t i = 0; i < std::size(kFields); ++i)
      if (plan.fields & Flag(i)) WriteField(file.get(), tag, kFields[i], plan.edited);
  }
  return taglib::SaveFile(file.get());
}

// Whether a saved copy opens with the audio properties it had, reads back every field as the plan
// holds it (those set, and those left as they were) and holds every other value it held. TagLib
// reports some saves as done that stored nothing (a file that only looks like its format, say), or
// that a tag read first now shadows with a shortened value; it drops what it cannot write (an
// ID3v2.2 frame it has no name for, an MP4 item whose name it cannot split). Those are caught
// here: the last with kErrorWouldLoseValues.
bool SavedAsPlanned(const std::string& copy, const SavePlan& plan, unsigned long& error) {
  STEP(DA3Rudi);
  taglib::File file(taglib::FileNew(copy));
  if (!file || PropertiesOf(file.get()) != plan.properties) return false;
  const taglib::FileTags tags(file.get());
  TagLib_Tag* tag = tags.get();
  if (!tag) return false;
  for (const Field& field : kFields)
    if (!Unchanged(file.get(), tag, field, plan.edited)) return false;
  const bool untyped = taglib::PicturesUntyped(file.get());
  if (!SamePictures(Comparable(taglib::Pictures(file.get()), untyped),
                    Comparable(plan.pictures, untyped)))
    return plan.picturesChange ? false : (error = kErrorWouldLoseValues, false);
  if (taglib::OtherValues(file.get(), KeysOf(plan.fields)).Keeps(plan.others)) return true;
  error = kErrorWouldLoseValues;
  return false;
}

// TagLib does not notice a write that runs out of disk space and reports such a save as done, so
// a save is tried only with room for every text the edit sets (no encoding a tag stores takes more
// than twice the UTF-8 bytes: UTF-16 doubles ASCII) beside a margin for padding and tag headers.
constexpr unsigned long long kSaveMargin = 64 * 1024;

// A cover takes its bytes, four thirds of them in an Ogg file's comment; counted so everywhere.
unsigned long long RoomForSave(const TagEdit& edit, const CoverChange& cover) {
  TagInfo typed;
  edit(typed);
  size_t texts = 0;
  for (const Field& field : kFields)
    if (field.text.member) texts += (typed.*field.text.member).size();
  return 2 * texts + cover.data.size() / 3 * 4 + kSaveMargin;
}

// Whether the edit changes any field of the file as it is now; a file that does not open with a
// tag counts as changed, so that the save that follows reports it.
bool EditChanges(const std::string& fileName, const TagEdit& edit, const CoverChange& cover) {
  STEP(DA3Rudi);
  taglib::File file(taglib::FileNew(fileName));
  if (!file) return true;
  if (ChangedFields(file.get(), EditedReading(file.get(), edit)) != 0) return true;
  const std::vector<Picture> held = taglib::Pictures(file.get());
  return !SamePictures(held, PicturesAfter(held, cover)) ||
         (cover.kind == CoverChange::kSet && !taglib::HoldsPictures(file.get()));
}

int Write(const std::string& fileName, const TagEdit& edit, const CoverChange& cover,
          const ReplaceStep& replace, unsigned long* error) {
  STEP(DA3Rudi);
  unsigned long why = 0;
  bool saved = false;
  if (!IsUsable(fileName)) {
    why = FileSize(fileName) ? 0 : ERROR_FILE_NOT_FOUND;
  } else if (MayReplace(fileName, why)) {
    // An edit that changes nothing leaves the file untouched.
    SavePlan plan;
    auto save = [&](const std::string& copy, unsigned long& code) {
      return SaveEdit(copy, edit, cover, plan, code);
    };
    auto check = [&](const std::string& copy, unsigned long& code) {
      return SavedAsPlanned(copy, plan, code);
    };
    saved = !EditChanges(fileName, edit, cover) ||
            SaveThroughCopy(fileName, RoomForSave(edit, cover), save, check, replace, why);
  }
  if (error) *error = saved ? 0 : why;
  return saved ? 1 : 0;
}
}  // namespace

int ReadTags(const std::string& fileName, TagInfo* record) {
  return ReadTags(fileName, record, nullptr);
}

int ReadTags(const std::string& fileName, TagInfo* record, CoverSummary* cover) {
  STEP(DA3Rudi);
  if (!record || !IsUsable(fileName)) return 0;
  taglib::File file(taglib::FileNew(fileName));
  if (!file) return 0;
  if (cover) {
    // The pictures' types and digests, their bytes never copied.
    std::vector<Picture> types;
    std::vector<std::string> digests;
    taglib::VisitPictures(file.get(), [&](const taglib::PictureView& picture) {
      types.push_back({picture.type, {}, {}, {}});
      digests.push_back(CoverDigest(picture.data));
    });
    *cover = {};
    if (const std::optional<ShownPicture> shown = ShownPictureOf(types))
      *cover = {types.size(), shown->front, digests[shown->index]};
  }
  ReadFields(file.get(), *record);
  if (const TagLib_AudioProperties* p = taglib::FileAudioProperties(file.get())) {
    record->bitrate = taglib::Bitrate(p);
    record->sampleRate = taglib::SampleRate(p);
    record->channels = taglib::Channels(p);
    record->length = static_cast<std::int64_t>(taglib::Length(p));
  }
  return 1;
}

int WriteTags(const std::string& fileName, const TagEdit& edit, unsigned long* error) {
  return WriteTags(fileName, edit, ReplaceWithCopy, error);
}

int WriteTags(const std::string& fileName, const TagEdit& edit, const ReplaceStep& replace,
              unsigned long* error) {
  return Write(fileName, edit, {}, replace, error);
}

int WriteTags(const std::string& fileName, const TagEdit& edit, const CoverChange& cover,
              unsigned long* error) {
  return Write(fileName, edit, cover, ReplaceWithCopy, error);
}

std::optional<ShownCover> ReadShownCover(const std::string& fileName) {
  STEP(DA3Rudi);
  if (!IsUsable(fileName)) return std::nullopt;
  taglib::File file(taglib::FileNew(fileName));
  if (!file) return std::nullopt;
  std::vector<Picture> pictures = taglib::Pictures(file.get());
  const std::optional<ShownPicture> shown = ShownPictureOf(pictures);
  if (!shown) return std::nullopt;
  return ShownCover{std::move(pictures[shown->index]), pictures.size(), shown->front};
}

// The track total stays as the file holds it: a record made without one does not take it away.
TagEdit SetAllFields(const TagInfo& record) {
  return [record](TagInfo& fresh) {
    for (const Field& field : kFields)
      if (field.number.member == &TagInfo::trackTotal)
        continue;
      else if (field.text.member)
        fresh.*field.text.member = record.*field.text.member;
      else
        fresh.*field.number.member = record.*field.number.member;
  };
}

int WriteTags(const std::string& fileName, const TagInfo* record, unsigned long* error) {
  return WriteTags(fileName, record, ReplaceWithCopy, error);
}

int WriteTags(const std::string& fileName, const TagInfo* record, const ReplaceStep& replace,
              unsigned long* error) {
  if (!record) {
    if (error) *error = 0;
    return 0;
  }
  return WriteTags(fileName, SetAllFields(*record), replace, error);
}

// What the editor window shows from one record or several and what it takes back from its fields
// on Save.
#pragma once
#include <bitset>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tags/genre_table.h"
#include "tags/tag_info.h"

// The index of the first list name that equals genre when both are in small letters (A-Z and the
// codes 0xC0-0xDE become the character 32 codes higher); nothing for an empty or unknown genre.
std::optional<size_t> FindGenre(const GenreTable& genres, std::string_view genre);

// The editor's tag fields, in the window's order.
enum TagField : size_t {
  kTitleTag,
  kArtistTag,
  kAlbumTag,
  kYearTag,
  kCommentTag,
  kTrackTag,
  kGenreTag,
  kTagFieldCount
};
using ChangedFields = std::bitset<kTagFieldCount>;

// What the editor shows for one record or several: each tag field and audio property holds the
// text every record shares, and nothing where they differ, so that no record's value stands for
// the others'. The genre is shared when the records' genres are equal in small letters; it is then
// the list entry that names it, if any, or else, for a genre the list does not name (a free text,
// several genres), its text, which the list can only show as a hint. The length is the total
// playing time.
struct ShownFields {
  std::optional<std::string> texts[kGenreTag];  // title to track, numbers as digits
  bool genreDiffers = false;
  std::optional<size_t> genre;
  std::string unlistedGenre;
  std::optional<std::string> bitrate, sampleRate, channels;
  std::int64_t length = 0;
  bool operator==(const ShownFields&) const = default;
};
ShownFields ShownFieldsOf(const std::vector<TagInfo>& records, const GenreTable& genres);

// A record's text of a tag field as the editor shows it: numbers as digits, none for 0.
std::string RecordText(const TagInfo& record, TagField field);

// How an editor window ended: Cancel (or the close box), Save, or "One by one", which asks for the
// same files in one editor each.
enum class EditorEnd { kCancelled, kSaved, kOneByOne };

// The texts of the editor's tag fields as the user left them, the genre list's selection, and the
// fields the user typed or picked in.
struct EditedFields {
  std::string title, artist, album, year, comment, track;
  std::optional<size_t> genre;
  ChangedFields changed = ChangedFields().set();
  CoverChange cover = {};  // what the save does to the front cover
  // A genre no list entry names, read from a file's name: written as it is where nothing is picked.
  std::string genreText = {};
  // A track total to write with the track number; none leaves the file's total as it is.
  std::optional<std::int32_t> trackTotal = {};
};

// How an editor window ended, and what the user had typed or picked in it then.
struct EditorResult {
  EditorEnd end = EditorEnd::kCancelled;
  EditedFields fields;
  // Where the files are to get values of their own (from their names, or numbered): what each
  // file's editor starts with after "One by one", like the files; else empty.
  std::vector<EditedFields> perFile = {};
};

// The member of the fields that holds a tag field's text (not the genre's).
std::string& FieldText(EditedFields& fields, TagField field);

// Writes what the user typed or picked into the file of that number; false when it could not.
using WriteTypedFields = std::function<bool(size_t file, const EditedFields& fields)>;

// Copies the changed fields into the record's tag and leaves the others as they are: texts
// exactly as typed, numbers by their leading decimal integer (spaces and tabs skipped, 0 when
// there are no digits), the genre as the list name, unless it is the name of the record's genre in
// other capitals, which stays as it is. A record genre that no list name matches is kept when
// nothing is selected, so saving never erases a free-text genre; the audio properties are left
// alone.
void CopyBack(const EditedFields& fields, const GenreTable& genres, TagInfo& record);

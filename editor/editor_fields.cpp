#include "editor/editor_fields.h"

#include "base/position.h"
#include "base/text_util.h"

namespace {
unsigned char SmallLetter(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE) ? (unsigned char)(c + 32) : c;
}

bool EqualInSmallLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (SmallLetter((unsigned char)a[i]) != SmallLetter((unsigned char)b[i])) return false;
  return true;
}
}  // namespace

std::optional<size_t> FindGenre(const GenreTable& genres, std::string_view genre) {
  STEP(Editor);
  if (genre.empty()) return std::nullopt;
  for (size_t i = 0; i < genres.size(); ++i)
    if (EqualInSmallLetters(genres[i], genre)) return i;
  return std::nullopt;
}

ShownFields ShownFieldsOf(const std::vector<TagInfo>& records, const GenreTable& genres) {
  STEP(Editor);
  ShownFields shown;
  if (records.empty()) return shown;
  // The text of the first record, kept while every other record gives the same.
  auto share = [&](std::optional<std::string>& field, auto text) {
    field = text(records.front());
    for (const TagInfo& record : records)
      if (text(record) != *field) return field.reset();
  };
  share(shown.texts[kTitleTag], [](const TagInfo& r) { return r.title; });
  share(shown.texts[kArtistTag], [](const TagInfo& r) { return r.artist; });
  share(shown.texts[kAlbumTag], [](const TagInfo& r) { return r.album; });
  share(shown.texts[kYearTag], [](const TagInfo& r) { return std::to_string(r.year); });
  share(shown.texts[kCommentTag], [](const TagInfo& r) { return r.comment; });
  share(shown.texts[kTrackTag], [](const TagInfo& r) { return std::to_string(r.track); });
  share(shown.bitrate, [](const TagInfo& r) { return std::to_string(r.bitrate); });
  share(shown.sampleRate, [](const TagInfo& r) { return std::to_string(r.sampleRate); });
  share(shown.channels, [](const TagInfo& r) { return std::to_string(r.channels); });
  for (const TagInfo& record : records) {
    shown.genreDiffers |= !EqualInSmallLetters(record.genre, records.front().genre);
    // A damaged file's length can be anything; the sum stays within its type.
    shown.length = record.length > 0 && shown.length <= INT64_MAX - record.length
                       ? shown.length + record.length
                       : shown.length;
  }
  if (!shown.genreDiffers) shown.genre = FindGenre(genres, records.front().genre);
  if (!shown.genreDiffers && !shown.genre) shown.unlistedGenre = records.front().genre;
  return shown;
}

std::string RecordText(const TagInfo& record, TagField field) {
  if (field == kYearTag) return record.year ? std::to_string(record.year) : "";
  if (field == kTrackTag) return record.track ? std::to_string(record.track) : "";
  const std::string* texts[] = {&record.title,   &record.artist, &record.album, nullptr,
                                &record.comment, nullptr,        &record.genre};
  return *texts[field];
}

std::string& FieldText(EditedFields& fields, TagField field) {
  std::string* texts[] = {&fields.title, &fields.artist,  &fields.album,
                          &fields.year,  &fields.comment, &fields.track};
  return *texts[field];
}

void CopyBack(const EditedFields& fields, const GenreTable& genres, TagInfo& record) {
  STEP(Editor);
  const ChangedFields& changed = fields.changed;
  if (changed[kTitleTag]) record.title = fields.title;
  if (changed[kArtistTag]) record.artist = fields.artist;
  if (changed[kAlbumTag]) record.album = fields.album;
  if (changed[kYearTag]) record.year = ParseLeadingInteger(fields.year, " \t");
  if (changed[kCommentTag]) record.comment = fields.comment;
  if (changed[kTrackTag]) record.track = ParseLeadingInteger(fields.track, " \t");
  if (fields.trackTotal) record.trackTotal = *fields.trackTotal;
  if (!changed[kGenreTag]) return;
  // The list name that stands for the genre the file holds keeps the file's own spelling ("rock");
  // any other pick is written as the list names it.
  if (fields.genre && *fields.genre < genres.size()) {
    if (FindGenre(genres, record.genre) != fields.genre) record.genre = genres[*fields.genre];
  } else if (!fields.genreText.empty()) {
    record.genre = fields.genreText;
  } else if (FindGenre(genres, record.genre))
    record.genre.clear();
}

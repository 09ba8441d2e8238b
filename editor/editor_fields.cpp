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

void CopyBack(const EditedFields& fields, const GenreTable& genres, TagInfo& record) {
  STEP(Editor);
  record.title = fields.title;
  record.artist = fields.artist;
  record.album = fields.album;
  record.year = ParseLeadingInteger(fields.year, " \t");
  record.comment = fields.comment;
  record.track = ParseLeadingInteger(fields.track, " \t");
  // The list name that stands for the genre the file holds keeps the file's own spelling ("rock");
  // any other pick is written as the list names it.
  if (fields.genre && *fields.genre < genres.size()) {
    if (FindGenre(genres, record.genre) != fields.genre) record.genre = genres[*fields.genre];
  } else if (FindGenre(genres, record.genre))
    record.genre.clear();
}

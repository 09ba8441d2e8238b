// What the editor window shows from a record and what it takes back from its fields on Save.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "tags/genre_table.h"
#include "tags/tag_info.h"

// The index of the first list name that equals genre when both are in small letters (A-Z and the
// codes 0xC0-0xDE become the character 32 codes higher); nothing for an empty or unknown genre.
std::optional<size_t> FindGenre(const GenreTable& genres, std::string_view genre);

// The texts of the editor's tag fields as the user left them, and the genre list's selection.
struct EditedFields {
  std::string title, artist, album, year, comment, track;
  std::optional<size_t> genre;
};

// Copies the fields into the record's tag: texts exactly as typed, numbers by their leading
// decimal integer (spaces and tabs skipped, 0 when there are no digits), the genre as the list
// name, unless it is the name of the record's genre in other capitals, which stays as it is. A
// record genre that no list name matches is kept when nothing is selected, so saving
// never erases a free-text genre; the audio properties are left alone.
void CopyBack(const EditedFields& fields, const GenreTable& genres, TagInfo& record);

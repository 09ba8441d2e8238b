// The editor's pure logic: the playing time, the genre match and the copy back.
#include "editor/editor_fields.h"

#include <gtest/gtest.h>

#include "editor/format_duration.h"

namespace {
GenreTable Genres() {
  GenreTable genres;
  FillGenreTable(genres);
  return genres;
}
}  // namespace

TEST(FormatDuration, TwoDigitFieldsWithHoursModuloSixty) {
  EXPECT_EQ(FormatDuration(205, ":"), "00:03:25");
  EXPECT_EQ(FormatDuration(3725, ":"), "01:02:05");
  EXPECT_EQ(FormatDuration(59 * 3600 + 59 * 60 + 59, ":"), "59:59:59");
  EXPECT_EQ(FormatDuration(60 * 3600, ":"), "00:00:00");
  EXPECT_EQ(FormatDuration(61 * 3600 + 1, ":"), "01:00:01");
  EXPECT_EQ(FormatDuration(0, ":"), "00:00:00");
  EXPECT_EQ(FormatDuration(-1, ":"), "00:00:00");
  EXPECT_EQ(FormatDuration(INT64_MIN, ":"), "00:00:00");
  EXPECT_EQ(FormatDuration(INT64_MAX, ":"), "15:30:07");
  EXPECT_EQ(FormatDuration(205, " - "), "00 - 03 - 25");
  EXPECT_EQ(FormatDuration(205, ""), "000325");
}

TEST(FindGenre, MatchesInSmallLettersAndTakesTheFirstName) {
  const GenreTable genres = Genres();
  EXPECT_EQ(FindGenre(genres, "Rock"), 17u);
  EXPECT_EQ(FindGenre(genres, "rOCK"), 17u);
  EXPECT_EQ(FindGenre(genres, "Fusion"), 30u);  // 84 has the same name
  EXPECT_EQ(FindGenre(genres, "FUSION"), 30u);
  EXPECT_EQ(FindGenre(genres, "Blues"), 0u);
  EXPECT_EQ(FindGenre(genres, "synthpop"), 147u);
  EXPECT_EQ(FindGenre(genres, ""), std::nullopt);
  EXPECT_EQ(FindGenre(genres, "Indie Rock"), std::nullopt);
  EXPECT_EQ(FindGenre(genres, "Jazz-Funk"), std::nullopt);  // the list says Jazz+Funk
  EXPECT_EQ(FindGenre(genres, " Rock"), std::nullopt);
}

TEST(FindGenre, SmallLettersAreAToZAndTheCodesC0ToDE) {
  GenreTable genres;
  genres[3] = "\xC9lectro";  // capital E with acute
  genres[4] = "\xD7";        // in the range, so it pairs with 0xF7
  genres[5] = "\xDF";        // past the range: no partner
  genres[6] = "[";           // not a letter: { is not its small form
  EXPECT_EQ(FindGenre(genres, "\xE9LECTRO"), 3u);
  EXPECT_EQ(FindGenre(genres, "\xF7"), 4u);
  EXPECT_EQ(FindGenre(genres, "\xFF"), std::nullopt);
  EXPECT_EQ(FindGenre(genres, "{"), std::nullopt);
  EXPECT_EQ(FindGenre(genres, "\xDF"), 5u);
}

TEST(CopyBack, TextsAsTypedAndNumbersByTheDecimalRule) {
  const GenreTable genres = Genres();
  TagInfo record{"t", "a", "l", 1, "c", 2, "Rock", 128, 44100, 2, 205};
  CopyBack({"  spaced title  ", "\xE9t\xE9", "", " \t-12abc", "line\r\nbreak", "7/12", 30}, genres,
           record);
  EXPECT_EQ(record, (TagInfo{"  spaced title  ", "\xE9t\xE9", "", -12, "line\r\nbreak", 7, "Fusion",
                             128, 44100, 2, 205}));

  struct Case {
    const char* text;
    std::int32_t value;
  } cases[] = {{"", 0},
               {"abc", 0},
               {"+7", 7},
               {"-", 0},
               {"\t 2024", 2024},
               {"\n5", 0},
               {"0042", 42},
               {"12 34", 12},
               {"2147483647", 2147483647},
               {"2147483648", -2147483647 - 1},
               {"4294967297", 1},
               {"99999999999999999999", 1661992959}};
  for (const Case& c : cases) {
    CopyBack({"", "", "", c.text, "", c.text, 17}, genres, record);
    EXPECT_EQ(record.year, c.value) << c.text;
    EXPECT_EQ(record.track, c.value) << c.text;
  }
}

TEST(CopyBack, KeepsAGenreTheListDoesNotHoldWhenNoneIsPicked) {
  const GenreTable genres = Genres();
  for (const char* unknown : {"Indie Rock", "Jazz-Funk", "", "  "}) {
    TagInfo record;
    record.genre = unknown;
    CopyBack({}, genres, record);
    EXPECT_EQ(record.genre, unknown);
    CopyBack({"", "", "", "", "", "", 8}, genres, record);  // a pick replaces it
    EXPECT_EQ(record.genre, "Jazz");
  }
  // A genre the list holds is what the list shows; a list left without a selection clears it.
  TagInfo record;
  record.genre = "rock";
  CopyBack({}, genres, record);
  EXPECT_EQ(record.genre, "");
  // The list's name for the stored genre keeps the stored spelling; another pick is the list's.
  for (const auto& [pick, written] : {std::pair{17, "rock"}, {8, "Jazz"}}) {
    record.genre = "rock";
    CopyBack({"", "", "", "", "", "", size_t(pick)}, genres, record);
    EXPECT_EQ(record.genre, written);
  }
}

// Several files in one editor: a field shows the value they all hold and nothing where they differ.
TEST(ShownFieldsOf, ShowsWhatEveryFileSharesAndNothingWhereTheyDiffer) {
  const GenreTable genres = Genres();
  const TagInfo first{"Intro", "Жанна", "Album", 2001, "", 1, "rock", 128, 44100, 2, 61};
  TagInfo second = first, third = first;
  second.title = "Zweites";
  second.track = 2;
  second.genre = "Rock";  // the same genre in other capitals
  second.bitrate = 320;
  third.title = "";
  third.track = 0;
  third.genre = "ROCK";
  third.length = 3600;
  // An empty comment in every file is shared, not differing; the length is the total playing time.
  ShownFields shown = ShownFieldsOf({first, second, third}, genres);
  const ShownFields expected{.texts = {std::nullopt, "Жанна", "Album", "2001", "", std::nullopt},
                             .genre = 17,
                             .sampleRate = "44100",
                             .channels = "2",
                             .length = 61 + 61 + 3600};
  EXPECT_EQ(shown, expected);

  // Genres that differ select nothing, as do genres the list lacks (several genres too), which
  // the list then shows as their text; an empty one differs too.
  const struct {
    const char *a, *b;
    bool differs;
    const char* unlisted;
  } pairs[] = {{"Indie Rock", "indie rock", false, "Indie Rock"},
               {"Rock; Pop", "Rock; Pop", false, "Rock; Pop"},
               {"Indie Rock", "Jazz", true, ""},
               {"Rock", "", true, ""}};
  for (const auto& pair : pairs) {
    TagInfo a, b;
    a.genre = pair.a;
    b.genre = pair.b;
    shown = ShownFieldsOf({a, b}, genres);
    EXPECT_EQ(shown.genreDiffers, pair.differs) << a.genre << " / " << b.genre;
    EXPECT_EQ(shown.genre, std::nullopt) << a.genre << " / " << b.genre;
    EXPECT_EQ(shown.unlistedGenre, pair.unlisted) << a.genre << " / " << b.genre;
  }
}

// Only what the user typed or picked in goes into each file, a field emptied is cleared in each;
// every other field stays the file's, the track's "7" too, left alone.
TEST(CopyBack, WritesOnlyTheChangedFieldsIntoEachFile) {
  const GenreTable genres = Genres();
  EditedFields fields{"", "", "New Album", "2024", "", "7", 17, {}};
  fields.changed.set(kAlbumTag).set(kYearTag).set(kCommentTag).set(kGenreTag);
  // Picked, the list's name for the file's own genre keeps its spelling; a free text is replaced.
  for (auto [file, genre] :
       {std::pair{TagInfo{"One", "A", "Old", 1999, "keep", 1, "rock", 1, 2, 3, 4}, "rock"},
        {TagInfo{"Two", "B", "", 0, "", 0, "Indie Rock", 5, 6, 7, 8}, "Rock"}}) {
    TagInfo expected = file;
    expected.album = "New Album";
    expected.year = 2024;
    expected.comment = "";
    expected.genre = genre;
    CopyBack(fields, genres, file);
    EXPECT_EQ(file, expected);
  }
}

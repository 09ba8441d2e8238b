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

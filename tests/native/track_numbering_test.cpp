#include <gtest/gtest.h>

#include "editor/track_numbering.h"

namespace {
// Names in the order Explorer lists them; each row sorts before the next.
TEST(NaturalLess, ListsNamesAsExplorerDoes) {
  const std::vector<std::string> sorted =
      {"1 Intro.mp3", "01 Song.mp3",     "2 Two.mp3",   "02b.mp3",
       "10 Ten.mp3",  "100 Hundred.mp3", "a.mp3",       "B.mp3",
       "Track 9.mp3", "track 10.mp3",    "\xD0\x90.mp3"};  // a Cyrillic name after the Latin ones,
                                                           // by its bytes
  for (size_t i = 0; i + 1 < sorted.size(); ++i) {
    EXPECT_TRUE(NaturalLess(sorted[i], sorted[i + 1])) << sorted[i] << " < " << sorted[i + 1];
    EXPECT_FALSE(NaturalLess(sorted[i + 1], sorted[i])) << sorted[i + 1] << " > " << sorted[i];
  }
  EXPECT_FALSE(NaturalLess("x.mp3", "x.mp3"));
}

struct NumberingCase {
  const char* what;
  std::vector<std::string> paths;
  std::int32_t start;
  bool perFolder;
  std::vector<TrackNumber> numbers;  // like paths
  std::vector<size_t> order = {};    // as the user left it; empty: as Explorer lists them
};

TEST(NumberTracks, InTheOrderShownFromTheStartPerGroup) {
  const std::vector<std::string> ab = {"C:\\A\\1.mp3", "C:\\A\\2.mp3", "C:\\B\\1.mp3"};
  const std::vector<NumberingCase> cases = {
      {"one folder in natural order",
       {"C:\\A\\10.mp3", "C:\\A\\2.mp3", "C:\\A\\1.mp3"},
       1,
       false,
       {{3, 3}, {2, 3}, {1, 3}}},
      {"another start", {"C:\\A\\b.mp3", "C:\\A\\a.mp3"}, 5, false, {{6, 2}, {5, 2}}},
      {"two folders numbered on",
       {"C:\\B\\1.mp3", "C:\\A\\2.mp3", "C:\\A\\1.mp3"},
       1,
       false,
       {{3, 3}, {2, 3}, {1, 3}}},
      {"two folders each from the start, folders as Explorer sorts them",
       {"C:\\CD 10\\1.flac", "C:\\CD 2\\2.flac", "C:\\CD 2\\1.flac", "C:\\cd 10\\2.flac"},
       1,
       true,
       {{1, 2}, {2, 2}, {1, 2}, {2, 2}}},
      {"an order the user changed, a folder's files numbered wherever they come",
       ab,
       1,
       true,
       {{2, 2}, {1, 2}, {1, 1}},
       {1, 2, 0}},
      {"an order the user changed, numbered on", ab, 1, false, {{3, 3}, {1, 3}, {2, 3}}, {1, 2, 0}},
  };
  for (const NumberingCase& row : cases)
    EXPECT_EQ(NumberTracks(row.paths, row.order.empty() ? NumberingOrder(row.paths) : row.order,
                           row.start, row.perFolder),
              row.numbers)
        << row.what;
}

TEST(TotalKeptIn, AllButWmaAndWav) {
  for (const auto& [path, kept] : {std::pair{"a.mp3", true},
                                   {"a.flac", true},
                                   {"a.m4a", true},
                                   {"a.wma", false},
                                   {"a.WAV", false},
                                   {"a.asf", false}})
    EXPECT_EQ(TotalKeptIn(path), kept) << path;
}
}  // namespace

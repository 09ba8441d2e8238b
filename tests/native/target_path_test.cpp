#include "sorter/target_path.h"

#include <gtest/gtest.h>

namespace {
TagInfo Tags(std::string genre, std::string artist, std::string album) {
  TagInfo tags;
  tags.genre = std::move(genre);
  tags.artist = std::move(artist);
  tags.album = std::move(album);
  return tags;
}

const std::string kDefault = PatternForFolder("D:\\in");
}  // namespace

TEST(PatternForFolder, AddsTheBackslashOnlyWhenMissing) {
  EXPECT_EQ(PatternForFolder("D:\\Incoming"), "D:\\Incoming\\%GENRE%\\%ARTIST%\\%ALBUM%\\*.$");
  EXPECT_EQ(PatternForFolder("C:\\"), "C:\\%GENRE%\\%ARTIST%\\%ALBUM%\\*.$");
}

TEST(DefaultPattern, TheCurrentDirectoryElseTheFirstFilesFolder) {
  EXPECT_EQ(DefaultPattern("D:\\in", "C:\\x\\a.mp3"), kDefault);
  EXPECT_EQ(DefaultPattern("", "D:\\in\\a.mp3"), kDefault);
  EXPECT_EQ(DefaultPattern("", ""), "%GENRE%\\%ARTIST%\\%ALBUM%\\*.$");
  EXPECT_EQ(DefaultPattern("", "a.mp3"), "%GENRE%\\%ARTIST%\\%ALBUM%\\*.$");
}

TEST(BuildTargetPath, DefaultPatternAndEmptyTagsCollapse) {
  EXPECT_EQ(BuildTargetPath(kDefault, "D:\\in\\Song.mp3", Tags("Rock", "Band", "Live")),
            "D:\\in\\Rock\\Band\\Live\\Song.mp3");
  EXPECT_EQ(BuildTargetPath(kDefault, "D:\\in\\Song.mp3", Tags("Rock", "Band", "")),
            "D:\\in\\Rock\\Band\\Song.mp3");
  EXPECT_EQ(BuildTargetPath(kDefault, "D:\\in\\Song.mp3", Tags("", "", "")), "D:\\in\\Song.mp3");
  EXPECT_EQ(BuildTargetPath("D:\\\\\\x\\\\*.$", "Song.mp3", {}), "D:\\x\\Song.mp3");
  // A network path keeps its leading pair; only the runs after it collapse.
  EXPECT_EQ(BuildTargetPath("\\\\server\\share\\\\%ALBUM%\\*", "a.mp3", {}),
            "\\\\server\\share\\a");
  EXPECT_EQ(BuildTargetPath("\\\\\\server\\*", "a.mp3", {}), "\\\\server\\a");
  EXPECT_EQ(BuildTargetPath("%ALBUM%\\*", "a.mp3", Tags("", "", "\\\\x")), "\\x\\a");
  EXPECT_EQ(BuildTargetPath(kDefault, "D:\\in\\Track", Tags("", "", "")), "D:\\in\\Track.");
  EXPECT_EQ(BuildTargetPath("*.$", "D:\\in\\Song.mp3", {}), "Song.mp3");
}

TEST(BuildTargetPath, NumbersAndMacroOrder) {
  TagInfo tags;
  EXPECT_EQ(BuildTargetPath("x\\%YEAR%-%TRACK%\\*", "a.mp3", tags), "x\\0-0\\a");
  tags.year = -5;
  tags.track = 12;
  EXPECT_EQ(BuildTargetPath("%YEAR%-%TRACK%", "a.mp3", tags), "-5-12");
  // Later macros act on earlier insertions; earlier ones do not.
  tags.title = "by %ARTIST%";
  tags.artist = "with %TITLE%";
  EXPECT_EQ(BuildTargetPath("%TITLE%", "a.mp3", tags), "by with %TITLE%");
  // Each pass goes on after its insertion, and lower-case macros are plain text.
  EXPECT_EQ(BuildTargetPath("D:\\%genre%\\*", "x*y.mp3", {}), "D:\\%genre%\\x*y");
  EXPECT_EQ(BuildTargetPath("%%TITLE%TITLE%", "a", {}), "%TITLE%");
}

TEST(BuildTargetPath, DollarAndStarAlsoInTheFolderPart) {
  EXPECT_EQ(BuildTargetPath(kDefault, "D:\\in\\Ca$h.mp3", Tags("", "", "")), "D:\\in\\Camp3h.mp3");
  EXPECT_EQ(BuildTargetPath(PatternForFolder("D:\\Pay$"), "C:\\Song.mp3", Tags("", "", "")),
            "D:\\Paymp3\\Song.mp3");
  EXPECT_EQ(BuildTargetPath("D:\\*x\\*.$", "C:\\Song.mp3", {}), "D:\\Songx\\Song.mp3");
}

TEST(BuildTargetPath, SlashesInValuesMakeFolderLevels) {
  EXPECT_EQ(BuildTargetPath(kDefault, "D:\\in\\Song.mp3", Tags("Rock", "AC/DC", "Live")),
            "D:\\in\\Rock\\AC/DC\\Live\\Song.mp3");
  EXPECT_EQ(BuildTargetPath(kDefault, "D:\\in\\Song.mp3", Tags("Rock\\\\", "\\Band", "")),
            "D:\\in\\Rock\\Band\\Song.mp3");
}

TEST(BuildTargetPath, ValuePartsLoseOuterSpacesAndTrailingDots) {
  // "A / B" names become two clean levels; an intermediate "AC " would never be found on Windows.
  EXPECT_EQ(BuildTargetPath(kDefault, "D:\\in\\a.mp3", Tags("Rock", "AC / DC", " Live. ")),
            "D:\\in\\Rock\\AC/DC\\Live\\a.mp3");
  EXPECT_EQ(BuildTargetPath(kDefault, "a.mp3", Tags("R.E.M.", "...And You", "x. . ")),
            "D:\\in\\R.E.M\\...And You\\x\\a.mp3");
  // Parts left empty collapse like empty values.
  EXPECT_EQ(BuildTargetPath(kDefault, "a.mp3", Tags(" / Rock /", "  ", "...")),
            "D:\\in\\Rock\\a.mp3");
  EXPECT_EQ(CleanTagValue("  a  b  /  c. \\ . "), "a  b/c\\");
}

TEST(BuildTargetPath, ValuesNeverLeaveTheirFolder) {
  EXPECT_EQ(BuildTargetPath(kDefault, "D:\\in\\a.mp3", Tags("..\\..\\Windows", "../..", ".")),
            "D:\\in\\Windows\\a.mp3");
  // Dots written in the pattern keep their meaning.
  EXPECT_EQ(BuildTargetPath("D:\\in\\..\\%GENRE%\\.\\*", "a", Tags("Rock", "", "")),
            "D:\\in\\..\\Rock\\.\\a");
  // Values that meet: a title holding %ALBUM% with an empty album leaves dots of its own alone in
  // a level, and a value between pattern dots.
  TagInfo tricky;
  tricky.title = "..%ALBUM%\\..%ALBUM%\\Windows";
  EXPECT_EQ(BuildTargetPath("D:\\in\\%TITLE%\\*", "a", tricky), "D:\\in\\Windows\\a");
  tricky.title = ". %ALBUM%x";
  EXPECT_EQ(BuildTargetPath("D:\\in\\%TITLE%\\*", "a", tricky), "D:\\in\\. x\\a");
  tricky.title = ".%ALBUM%.x";
  EXPECT_EQ(BuildTargetPath("D:\\in\\%TITLE%%TITLE%\\*", "a", tricky), "D:\\in\\..x..x\\a");
  tricky.title = ".%ALBUM%";
  EXPECT_EQ(BuildTargetPath("D:\\in\\%TITLE%.\\*", "a", tricky), "D:\\in\\_.\\a");
  tricky.title = " x ";
  EXPECT_EQ(BuildTargetPath("D:\\in\\.%TITLE%.\\*", "a", tricky), "D:\\in\\.x.\\a");
}

TEST(BuildTargetPath, ValuesCannotMakeImpossibleNames) {
  TagInfo tags = Tags("Rock", "Band", "Vol. 2: Live");
  tags.title = "Why?";
  EXPECT_EQ(BuildTargetPath("D:\\in\\%GENRE%\\%ALBUM%\\%TITLE%.$", "a.mp3", tags),
            "D:\\in\\Rock\\Vol. 2_ Live\\Why_.mp3");
  EXPECT_EQ(CleanTagValue("<a>|\"b\"*\x01\x1f\t"), "_a___b_____");
  EXPECT_EQ(CleanTagValue("\x7f\xe4"), "\x7f\xe4");
  // Device names alone or before a dot or spaces, in any case, in any segment of the value.
  EXPECT_EQ(CleanTagValue("CON"), "CON_");
  EXPECT_EQ(CleanTagValue("nul.txt"), "nul_.txt");
  EXPECT_EQ(CleanTagValue("x/Com1/lpt9 /Aux .b"), "x/Com1_/lpt9_/Aux_ .b");
  EXPECT_EQ(CleanTagValue("CONSOLE"), "CONSOLE");
  EXPECT_EQ(CleanTagValue("COM0"), "COM0");
  EXPECT_EQ(CleanTagValue("LPT"), "LPT");
  EXPECT_EQ(CleanTagValue("Icon"), "Icon");
  EXPECT_EQ(BuildTargetPath("D:\\in\\%ARTIST%\\%TITLE%.$", "a.mp3",
                            [] {
                              TagInfo t;
                              t.artist = "prn";
                              t.title = "Aux";
                              return t;
                            }()),
            "D:\\in\\prn_\\Aux_.mp3");
  // The pattern's own text is never changed, values that meet are.
  EXPECT_EQ(BuildTargetPath("D:\\CON\\a?\\*.$", "b.mp3", {}), "D:\\CON\\a?\\b.mp3");
  TagInfo split;
  split.title = "CO%ALBUM%";
  split.album = "N";
  EXPECT_EQ(BuildTargetPath("D:\\%TITLE%.$", "b.mp3", split), "D:\\CON_.mp3");
}

TEST(CleanTagValue, WorksOnCharactersOfEveryScript) {
  // Only ASCII is ever replaced or dropped, so no sequence is split and every other character
  // stays as it is.
  EXPECT_EQ(CleanTagValue("\xD0\x9C\xD1\x83\xD0\xBC\xD0\xB8\xD0\xB9: \xE2\x80\x9C?\xE2\x80\x9D "),
            "\xD0\x9C\xD1\x83\xD0\xBC\xD0\xB8\xD0\xB9_ \xE2\x80\x9C_\xE2\x80\x9D");
  EXPECT_EQ(CleanTagValue("\xE6\x97\xA5\xE6\x9C\xAC/ \xE2\x80\x93 ."),
            "\xE6\x97\xA5\xE6\x9C\xAC/\xE2\x80\x93");
  TagInfo tags;
  tags.artist = "Dvo\xC5\x99\xC3\xA1k";
  tags.album =
      "Symphony No. 9 \xE2\x80\x93 \xE2\x80\x9C"
      "From the New World\xE2\x80\x9D";
  tags.genre = "Classical";
  EXPECT_EQ(BuildTargetPath("D:\\%GENRE%\\%ARTIST%\\%ALBUM%\\*.$",
                            "C:\\in\\\xE2\x80\x99"
                            "99.flac",
                            tags),
            "D:\\Classical\\Dvo\xC5\x99\xC3\xA1k\\Symphony No. 9 \xE2\x80\x93 \xE2\x80\x9C"
            "From the New World\xE2\x80\x9D\\\xE2\x80\x99"
            "99.flac");
}

TEST(FolderChain, ListsEveryLevelWithItsName) {
  auto levels = FolderChain("D:\\in\\Rock\\AC/DC \\");
  ASSERT_EQ(levels.size(), 5u);
  EXPECT_EQ(levels[0].prefix, "D:\\");
  EXPECT_EQ(levels[0].name, "D:");
  EXPECT_EQ(levels[2].prefix, "D:\\in\\Rock\\");
  EXPECT_EQ(levels[2].name, "D:\\in\\Rock");
  EXPECT_EQ(levels[3].prefix, "D:\\in\\Rock\\AC\\");
  EXPECT_EQ(levels[4].prefix, "D:\\in\\Rock\\AC\\DC \\");
  EXPECT_EQ(levels[4].name, "D:\\in\\Rock\\AC\\DC");
  EXPECT_EQ(FolderChain("D:\\in").back().prefix, "D:\\in\\");
  EXPECT_TRUE(FolderChain("").empty());
}

TEST(BrowseStartFolder, DropsTheBackslashOfLongerTexts) {
  EXPECT_EQ(BrowseStartFolder("C:\\"), "C:\\");
  EXPECT_EQ(BrowseStartFolder("C:\\x\\"), "C:\\x");
  EXPECT_EQ(BrowseStartFolder("C:\\x\\%GENRE%"), "C:\\x\\%GENRE%");
  EXPECT_EQ(BrowseStartFolder(""), "");
}

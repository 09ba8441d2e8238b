#include "sorter/target_path.h"

#include <gtest/gtest.h>

#include "sorter/shown_paths.h"

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

TEST(PatternForFolder, AddsTheBackslashOnlyWhenMissingAndKeepsTheFolderLiteral) {
  EXPECT_EQ(PatternForFolder("D:\\Incoming"), "D:\\Incoming\\%GENRE%\\%ARTIST%\\%ALBUM%\\*.$");
  EXPECT_EQ(PatternForFolder("C:\\"), "C:\\%GENRE%\\%ARTIST%\\%ALBUM%\\*.$");
  const TargetPattern literal = PatternForFolderLiteral("D:\\Incoming");
  EXPECT_EQ(literal.text, PatternForFolder("D:\\Incoming"));
  EXPECT_EQ(literal.literal, 12u);
  EXPECT_EQ(PatternForFolderLiteral("C:\\").literal, 3u);
}

TEST(DefaultPattern, TheCurrentDirectoryElseTheFirstFilesFolder) {
  for (const TargetPattern& pattern :
       {DefaultPattern("D:\\in", "C:\\x\\a.mp3"), DefaultPattern("", "D:\\in\\a.mp3")}) {
    EXPECT_EQ(pattern.text, kDefault);
    EXPECT_EQ(pattern.literal, 6u);
  }
  for (const TargetPattern& pattern : {DefaultPattern("", ""), DefaultPattern("", "a.mp3")}) {
    EXPECT_EQ(pattern.text, "%GENRE%\\%ARTIST%\\%ALBUM%\\*.$");
    EXPECT_EQ(pattern.literal, 0u);
  }
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
  // Windows makes "Track." as "Track".
  EXPECT_EQ(BuildTargetPath(kDefault, "D:\\in\\Track", Tags("", "", "")), "D:\\in\\Track");
  EXPECT_EQ(BuildTargetPath("*.$", "D:\\in\\Song.mp3", {}), "Song.mp3");
}

TEST(BuildTargetPath, NumbersAndMacroOrder) {
  TagInfo tags;
  EXPECT_EQ(BuildTargetPath("x\\%YEAR%-%TRACK%\\*", "a.mp3", tags), "x\\0-0\\a");
  tags.year = -5;
  tags.track = 12;
  EXPECT_EQ(BuildTargetPath("%YEAR%-%TRACK%", "a.mp3", tags), "-5-12");
  // An inserted value is never searched for macros, whatever the order of the macros.
  tags.title = "by %ARTIST%";
  tags.artist = "with %TITLE%";
  EXPECT_EQ(BuildTargetPath("%TITLE%", "a.mp3", tags), "by %ARTIST%");
  EXPECT_EQ(BuildTargetPath("%ARTIST%+%TITLE%", "a.mp3", tags), "with %TITLE%+by %ARTIST%");
  // The scan goes on after each macro, and lower-case macros are plain text.
  EXPECT_EQ(BuildTargetPath("D:\\%genre%\\*", "x*y.mp3", {}), "D:\\%genre%\\x*y");
  EXPECT_EQ(BuildTargetPath("%%TITLE%TITLE%", "a", {}), "%TITLE%");
}

TEST(BuildTargetPath, DollarAndStarAlsoInTheFolderPartButNotInTheLiteralFolder) {
  EXPECT_EQ(BuildTargetPath(kDefault, "D:\\in\\Ca$h.mp3", Tags("", "", "")), "D:\\in\\Ca$h.mp3");
  EXPECT_EQ(BuildTargetPath(PatternForFolder("D:\\Pay$"), "C:\\Song.mp3", Tags("", "", "")),
            "D:\\Paymp3\\Song.mp3");
  EXPECT_EQ(BuildTargetPath("D:\\*x\\*.$", "C:\\Song.mp3", {}), "D:\\Songx\\Song.mp3");
  TagInfo tags = Tags("Rock", "", "");
  tags.title = "T";
  EXPECT_EQ(BuildTargetPath(PatternForFolderLiteral("D:\\Pay$ *%TITLE%"), "C:\\Song.mp3", tags),
            "D:\\Pay$ *%TITLE%\\Rock\\Song.mp3");
  // Only the literal folder is literal; a literal length past the text means all of it.
  EXPECT_EQ(BuildTargetPath(TargetPattern{"D:\\$\\$", 4}, "a.mp3", {}), "D:\\$\\mp3");
  EXPECT_EQ(BuildTargetPath(TargetPattern{"D:\\$\\$", 99}, "a.mp3", {}), "D:\\$\\$");
}

TEST(BuildTargetPath, SlashesInValuesMakeFolderLevels) {
  EXPECT_EQ(BuildTargetPath(kDefault, "D:\\in\\Song.mp3", Tags("Rock", "AC/DC", "Live")),
            "D:\\in\\Rock\\AC\\DC\\Live\\Song.mp3");
  EXPECT_EQ(BuildTargetPath(kDefault, "D:\\in\\Song.mp3", Tags("Rock\\\\", "\\Band", "")),
            "D:\\in\\Rock\\Band\\Song.mp3");
}

TEST(BuildTargetPath, ValuePartsLoseOuterSpacesAndTrailingDots) {
  // "A / B" names become two clean levels; an intermediate "AC " would never be found on Windows.
  EXPECT_EQ(BuildTargetPath(kDefault, "D:\\in\\a.mp3", Tags("Rock", "AC / DC", " Live. ")),
            "D:\\in\\Rock\\AC\\DC\\Live\\a.mp3");
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
  // A title holding a macro keeps it as text, and values between pattern dots can't make . or ..
  TagInfo tricky;
  tricky.title = "..%ALBUM%\\..%ALBUM%\\Windows";
  tricky.album = " . ";
  EXPECT_EQ(BuildTargetPath("D:\\in\\%TITLE%\\*", "a", tricky),
            "D:\\in\\..%ALBUM%\\..%ALBUM%\\Windows\\a");
  EXPECT_EQ(BuildTargetPath("D:\\in\\..%ALBUM%\\.%ALBUM%.\\%ALBUM%.\\*", "a", tricky), "D:\\in\\a");
  tricky.title = " x ";
  EXPECT_EQ(BuildTargetPath("D:\\in\\.%TITLE%.\\*", "a", tricky), "D:\\in\\.x\\a");
}

TEST(BuildTargetPath, LevelsAreTrimmedAsWindowsTrimsThem) {
  TagInfo tags = Tags("", "Band", "");
  tags.title = "Live";
  const struct {
    const char* pattern;
    const char* target;
  } kCases[] = {
      {"D:\\%ARTIST% - %ALBUM%\\*", "D:\\Band -\\a"},
      {"D:\\%ARTIST%.%ALBUM%\\*", "D:\\Band\\a"},
      {"D:\\%ALBUM% . \\x. \\*", "D:\\x\\a"},              // from the pattern too, to nothing
      {"D:\\ x\\ %ALBUM%%TITLE%\\*", "D:\\ x\\ Live\\a"},  // leading spaces of the pattern stay
      {"D:\\in\\..\\.\\%ARTIST%\\*", "D:\\in\\..\\.\\Band\\a"},
      {"D:\\in\\...\\ .\\. .\\*", "D:\\in\\a"},  // only a whole . or .. keeps its meaning
      {"D:\\%ALBUM%.\\CON.\\%TITLE%.\\*.", "D:\\CON\\Live\\a"},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(BuildTargetPath(c.pattern, "a.", tags), c.target) << c.pattern;
}

TEST(BuildTargetPath, SlashesBecomeBackslashesAndANetworkPathKeepsItsPair) {
  const struct {
    const char* pattern;
    const char* target;
  } kCases[] = {
      {"D:/in//x\\/*", "D:\\in\\x\\a"},
      {"//server/share/*", "\\\\server\\share\\a"},
      {"/\\server\\*", "\\\\server\\a"},
      {"\\\\?\\C:\\x\\*", "\\\\?\\C:\\x\\a"},
      {"//?/C:/%ALBUM%/*", "\\\\?\\C:\\a"},
      {"\\\\.\\x\\*", "\\\\.\\x\\a"},
      {"/%ALBUM%/*", "\\a"},
      {"%ALBUM%/\\*", "\\a"},  // a pair made by a value is no network path
  };
  for (const auto& c : kCases)
    EXPECT_EQ(BuildTargetPath(c.pattern, "a.mp3", Tags("", "", "\\")), c.target) << c.pattern;
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
  split.album = "N ";
  EXPECT_EQ(BuildTargetPath("D:\\CO%ALBUM%.$", "b.mp3", split), "D:\\CON_.mp3");
  EXPECT_EQ(BuildTargetPath("D:\\CO%ALBUM%. \\b", "", split), "D:\\CON_\\b");
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
  // Roots, servers and shares can't be made.
  levels = FolderChain("\\\\server\\share\\x\\");
  ASSERT_EQ(levels.size(), 1u);
  EXPECT_EQ(levels[0].name, "\\\\server\\share\\x");
  EXPECT_EQ(FolderChain("\\x\\").front().name, "\\x");
  EXPECT_TRUE(FolderChain("\\\\server\\share\\").empty());
}

TEST(BrowseStartFolder, DropsTheBackslashOfLongerTexts) {
  EXPECT_EQ(BrowseStartFolder("C:\\"), "C:\\");
  EXPECT_EQ(BrowseStartFolder("C:\\x\\"), "C:\\x");
  EXPECT_EQ(BrowseStartFolder("C:\\x\\%GENRE%"), "C:\\x\\%GENRE%");
  EXPECT_EQ(BrowseStartFolder(""), "");
}

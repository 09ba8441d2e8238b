#include <gtest/gtest.h>

#include "base/rewrite_attributes.h"
#include "base/text_util.h"
#include "settings/settings_folder.h"
#include "settings/text_table.h"
#include "tags/genre_table.h"
#include "tags/latin1.h"

TEST(Utf8ToLatin1, StopsAtTheFirstSequenceItCannotHold) {
  EXPECT_EQ(Utf8ToLatin1("plain").text, "plain");
  EXPECT_EQ(Utf8ToLatin1("Caf\xC3\xA9").text, "Caf\xE9");
  EXPECT_EQ(Utf8ToLatin1("\xC3\xBF").text, "\xFF");
  struct Case {
    const char* utf8;
    const char* kept;
    Utf8Stop stop;
  };
  for (const Case& c : {Case{"abc\xE2\x98\x83"
                             "def",
                             "abc", Utf8Stop::AboveLatin1},
                        Case{"ab\x80"
                             "c",
                             "ab", Utf8Stop::Malformed},                // stray continuation
                        Case{"ab\xF8\x80", "ab", Utf8Stop::Malformed},  // no such lead byte
                        Case{"a\xC3"
                             "b",
                             "a", Utf8Stop::Malformed},               // bad continuation
                        Case{"a\xE2\x98", "a", Utf8Stop::Truncated},  // cut off
                        Case{"a\xF0\x9F\x98\x80", "a", Utf8Stop::AboveLatin1}}) {
    Latin1Result result = Utf8ToLatin1(c.utf8);
    EXPECT_EQ(result.text, c.kept) << c.utf8;
    EXPECT_EQ(result.stop, c.stop) << c.utf8;
  }
}

TEST(Latin1ToUtf8, EncodesHighBytesAsTwoAndRoundTrips) {
  EXPECT_EQ(Latin1ToUtf8("Caf\xE9"), "Caf\xC3\xA9");
  EXPECT_EQ(Latin1ToUtf8(""), "");
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(char(b));
  EXPECT_EQ(Utf8ToLatin1(Latin1ToUtf8(all)).text, all);
}

TEST(TextUtil, TrimsOnlySpacesAndReadsIntegers) {
  EXPECT_EQ(TrimSpaces("  a b  "), "a b");
  EXPECT_EQ(TrimSpaces("\ta\t"), "\ta\t");
  EXPECT_EQ(TrimSpaces("    "), "");
  EXPECT_EQ(ParseLeadingInteger("  -42x"), -42);
  EXPECT_EQ(ParseLeadingInteger("4294967297"), 1);  // cut to 32 bits
  EXPECT_EQ(ParseLeadingInteger("-"), 0);
}

TEST(SettingsFolderFrom, NormalisesSlashesAndTheTrailingBackslash) {
  const std::string expected = "C:\\Users\\me\\AppData\\Roaming\\Veltan's DA3Zur Tools\\";
  EXPECT_EQ(SettingsFolderFrom("C:\\Users\\me\\AppData\\Roaming"), expected);
  EXPECT_EQ(SettingsFolderFrom("C:\\Users\\me\\AppData\\Roaming\\"), expected);
  EXPECT_EQ(SettingsFolderFrom("C:/Users/me/AppData/Roaming/"), expected);
  EXPECT_EQ(SettingsFolderFrom(""), "\\Veltan's DA3Zur Tools\\");
}

TEST(Tables, DefaultsAndGenresHoldTheirFixedTexts) {
  TextTable texts;
  FillDefaultTexts(texts);
  EXPECT_EQ(texts[0], "Edit ID3-tag");
  EXPECT_EQ(texts[24],
            "If you start this program the first time, you should press \r\n"
            "\"Insert items into the standard contextmenu of Windows.\".");
  EXPECT_EQ(texts[42], "Do you want to continue?");
  for (const auto& text : texts) EXPECT_FALSE(text.empty());

  GenreTable genres;
  FillGenreTable(genres);
  EXPECT_EQ(genres[0], "Blues");
  EXPECT_EQ(genres[29], "Jazz+Funk");
  EXPECT_EQ(genres[30], "Fusion");
  EXPECT_EQ(genres[84], "Fusion");
  EXPECT_EQ(genres[123], "A Cappella");
  EXPECT_EQ(genres[146], "Jpop");
  EXPECT_EQ(genres[147], "Synthpop");
  for (const auto& genre : genres) EXPECT_FALSE(genre.empty());
}

// A hidden or system preferences.ini is created anew with those attributes, or Windows refuses
// it; a read-only one is not made writable.
TEST(RewriteAttributes, AsksAgainForHiddenAndSystem) {
  EXPECT_EQ(RewriteAttributes(kNoAttributes), kAttributeNormal);
  EXPECT_EQ(RewriteAttributes(kAttributeNormal), kAttributeNormal);
  EXPECT_EQ(RewriteAttributes(kAttributeArchive), kAttributeArchive);
  EXPECT_EQ(RewriteAttributes(kAttributeHidden | kAttributeArchive),
            kAttributeHidden | kAttributeArchive);
  EXPECT_EQ(RewriteAttributes(kAttributeHidden | kAttributeSystem | kAttributeReadOnly),
            kAttributeHidden | kAttributeSystem);
  EXPECT_EQ(RewriteAttributes(kAttributeReadOnly), kAttributeNormal);
}

#include <gtest/gtest.h>

#include "base/rewrite_attributes.h"
#include "base/text_util.h"
#include "settings/settings_folder.h"
#include "settings/text_table.h"
#include "tags/genre_table.h"

TEST(TextUtil, TrimsOnlySpacesAndReadsIntegers) {
  EXPECT_EQ(TrimSpaces("  a b  "), "a b");
  EXPECT_EQ(TrimSpaces("\ta\t"), "\ta\t");
  EXPECT_EQ(TrimSpaces("    "), "");
  EXPECT_EQ(ParseLeadingInteger("  -42x"), -42);
  EXPECT_EQ(ParseLeadingInteger("4294967297"), 1);  // cut to 32 bits
  EXPECT_EQ(ParseLeadingInteger("-"), 0);
}

// Several values typed with "; " between them: each separator parts the text once, a separator
// of several characters included, and a text without one stays whole.
TEST(TextUtil, SplitAtPartsAtEverySeparator) {
  using Parts = std::vector<std::string>;
  EXPECT_EQ(SplitAt("Band; Guest", "; "), (Parts{"Band", "Guest"}));
  EXPECT_EQ(SplitAt("A;B; C;  D", "; "), (Parts{"A;B", "C", " D"}));
  EXPECT_EQ(SplitAt("; x; ", "; "), (Parts{"", "x", ""}));
  EXPECT_EQ(SplitAt("\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE", "; "),
            (Parts{"\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE"}));
  EXPECT_EQ(SplitAt("", "; "), (Parts{""}));
  EXPECT_EQ(SplitAt("a; b", ""), (Parts{"a; b"}));
}

TEST(TextUtil, Utf8PrefixNeverCutsASequence) {
  const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // a é € 😀
  EXPECT_EQ(Utf8Prefix(text, 100), text);
  EXPECT_EQ(Utf8Prefix(text, 2), "a");
  EXPECT_EQ(Utf8Prefix(text, 3), "a\xC3\xA9");
  EXPECT_EQ(Utf8Prefix(text, 5), "a\xC3\xA9");
  EXPECT_EQ(Utf8Prefix(text, 9), "a\xC3\xA9\xE2\x82\xAC");
  EXPECT_EQ(Utf8Prefix(text, 0), "");
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

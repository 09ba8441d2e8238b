#include "base/name_case.h"

#include <gtest/gtest.h>

TEST(NameCase, FoldsEveryScriptTheTableKnowsAndBothSeparators) {
  const NameCase names = NameCase::WithPairs(
      {{u'ä', u'Ä'}, {u'ж', u'Ж'}, {u'σ', u'Σ'}, {u'ς', u'Σ'}, {u'ř', u'Ř'}, {u'ａ', u'Ａ'}});
  EXPECT_TRUE(names.Same("C:/Music\\\xC3\x84rzte", "c:\\MUSIC/\xC3\xA4RZTE"));  // Ä ä
  EXPECT_TRUE(names.Same("\xD0\x96\xD0\xB6", "\xD0\xB6\xD0\x96"));              // Жж жЖ
  EXPECT_TRUE(names.Same("\xCE\xA3\xCE\xA3", "\xCF\x83\xCF\x82"));              // ΣΣ σς
  EXPECT_TRUE(names.Same("Dvo\xC5\x99\xC3\xA1k", "DVO\xC5\x98\xC3\xA1K"));      // ř Ř
  EXPECT_TRUE(names.Same("\xEF\xBD\x81", "\xEF\xBC\xA1"));                      // ａ Ａ
  EXPECT_FALSE(names.Same("\xC3\xA1", "\xC3\x81"));  // á and Á: not in this table
  EXPECT_FALSE(names.Same("\xD0\x96", "\xD0\x97"));  // Ж and З
  EXPECT_FALSE(names.Same("a", "a "));
  EXPECT_EQ(names.Folded("a/\xD0\xB6"), u"A\\Ж");
}

TEST(NameCase, WithoutATableOnlyAToZFold) {
  const NameCase ascii;
  EXPECT_TRUE(ascii.Same("Rock/Pop", "rOCK\\pOP"));
  EXPECT_FALSE(ascii.Same("\xC3\x84", "\xC3\xA4"));
  EXPECT_FALSE(ascii.Same("[", "{"));
  // A table of upper-case forms as the system gives it: units beyond it stay.
  std::vector<char16_t> upper(0x100);
  for (size_t u = 0; u < upper.size(); ++u) upper[u] = char16_t(u >= 'a' && u <= 'z' ? u - 32 : u);
  upper[0xE4] = 0xC4;
  const NameCase latin(std::move(upper));
  EXPECT_TRUE(latin.Same("\xC3\xA4x", "\xC3\x84X"));
  EXPECT_FALSE(latin.Same("\xD0\xB6", "\xD0\x96"));
}

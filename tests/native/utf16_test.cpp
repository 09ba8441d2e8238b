#include "base/utf16.h"

#include <gtest/gtest.h>

#include <string>

namespace {
const std::string kWorld =
    "\xD0\x9C\xD1\x83\xD0\xBC\xD0\xB8\xD0\xB9 Dvo\xC5\x99\xC3\xA1k \xE2\x80\x93 "
    "\xE2\x80\x99\xE2\x80"
    "\x9C\xE2\x80\x9D \xE2\x82\xAC \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80";  // Мумий Dvořák –
                                                                                // ’“” € 日本 😀
const std::u16string kWorldWide = u"Мумий Dvořák – ’“” € 日本 😀";
}  // namespace

TEST(Utf16, EveryScriptRoundTripsExactly) {
  EXPECT_EQ(Utf8ToUtf16(kWorld), kWorldWide);
  EXPECT_EQ(Utf16ToUtf8(kWorldWide), kWorld);
  EXPECT_EQ(Utf16ToUtf8Shown(kWorldWide), kWorld);
  EXPECT_EQ(Utf16ToUtf8Marked(kWorldWide), kWorld);
  EXPECT_EQ(Utf8ToUtf16(""), u"");
  EXPECT_EQ(Utf16ToUtf8(u""), "");
  // The zero unit is a character like any other.
  EXPECT_EQ(Utf8ToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(Utf16, InvalidAndCutOffSequencesBecomeOneReplacementEach) {
  struct Case {
    std::string utf8;
    std::u16string wide;
  };
  const Case cases[] = {
      {"a\x80z", u"a\uFFFDz"},                  // a continuation byte alone
      {"a\xC3z", u"a\uFFFDz"},                  // a lead byte without its continuation
      {"a\xE2\x82", u"a\uFFFD\uFFFD"},          // cut off by the end: nothing past it is read
      {"\xF0\x9F\x98", u"\uFFFD\uFFFD\uFFFD"},  // cut off four-byte sequence
      {"\xC0\xAF", u"\uFFFD\uFFFD"},            // overlong slash
      {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},  // overlong, three bytes
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"\xF8\x88\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"\xFF", u"\uFFFD"},
      {"\xED\xA0\x80", u"\uFFFD"},  // a surrogate's code point: one U+FFFD for the sequence
      {"\xED\xBF\xBF"
       "b",
       u"\uFFFDb"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.wide) << testing::PrintToString(c.utf8);
    EXPECT_EQ(Utf16Length(c.utf8), c.wide.size()) << testing::PrintToString(c.utf8);
  }
  // A UTF-16 text with an unpaired surrogate has no UTF-8 form; shown, it gets U+FFFD.
  for (const std::u16string& unpaired : {std::u16string(u"a\xD800"), std::u16string(u"\xDC00z"),
                                         std::u16string(u"\xDBFF\xDBFF\xDC00")}) {
    EXPECT_EQ(Utf16ToUtf8(unpaired), std::nullopt);
    EXPECT_NE(Utf16ToUtf8Shown(unpaired).find("\xEF\xBF\xBD"), std::string::npos);
  }
  EXPECT_EQ(Utf16ToUtf8Shown(u"a\xD800z"), "a\xEF\xBF\xBDz");
}

TEST(Utf16, AMarkedUnpairedSurrogateIsKeptFoundAndShownOnce) {
  const std::string marked = Utf16ToUtf8Marked(u"Song \xD83D.mp3");
  EXPECT_EQ(marked, "Song \xED\xA0\xBD.mp3");
  EXPECT_TRUE(HoldsUnpairedSurrogate(marked));
  EXPECT_EQ(Utf8ToUtf16(marked), u"Song \uFFFD.mp3");
  EXPECT_EQ(Utf16ToUtf8Marked(u"\xDC01"), "\xED\xB0\x81");
  // A pair is a character, not a mark; nor is any valid text.
  EXPECT_FALSE(HoldsUnpairedSurrogate(Utf16ToUtf8Marked(u"\xD83D\xDE00")));
  EXPECT_FALSE(HoldsUnpairedSurrogate(kWorld));
  EXPECT_FALSE(HoldsUnpairedSurrogate("\xED\x9F\xBF"));  // U+D7FF, just below
  EXPECT_FALSE(HoldsUnpairedSurrogate("x\xED\xA0"));     // cut off: no mark
}

TEST(Utf16, LengthCountsUnitsAsWindowsDoes) {
  EXPECT_EQ(Utf16Length("abc"), 3u);
  EXPECT_EQ(Utf16Length(kWorld), kWorldWide.size());
  EXPECT_EQ(Utf16Length("\xD0\x96"), 1u);          // Ж: two bytes, one unit
  EXPECT_EQ(Utf16Length("\xE2\x82\xAC"), 1u);      // €: three bytes, one unit
  EXPECT_EQ(Utf16Length("\xF0\x9F\x98\x80"), 2u);  // 😀: a pair
}

TEST(Utf16, IntoSetAsideMemoryStopsBeforeThePairItCannotHold) {
  char16_t out[6];
  EXPECT_EQ(Utf8ToUtf16Into("ab\xF0\x9F\x98\x80"
                            "c",
                            out, 6),
            5u);
  EXPECT_EQ(std::u16string(out), u"ab😀c");
  EXPECT_EQ(Utf8ToUtf16Into("abc\xF0\x9F\x98\x80", out, 5), 3u);  // room for 4 units: no half pair
  EXPECT_EQ(std::u16string(out), u"abc");
  EXPECT_EQ(Utf8ToUtf16Into("xyz", out, 1), 0u);
  EXPECT_EQ(out[0], u'\0');
}

#include "settings/preference_text.h"

#include <gtest/gtest.h>

namespace {
std::string Language(const std::string& file) {
  return PreferenceText::Parse(file).ReadString("Language", "<default>");
}
std::int32_t ContextMenu(const std::string& file) {
  return PreferenceText::Parse(file).ReadInteger("ContextMenu", -99);
}
}  // namespace

TEST(PreferenceText, KeysIgnoreLetterCaseAndSurroundingBlanks) {
  EXPECT_EQ(Language("Language=Deutsch.catalog"), "Deutsch.catalog");
  EXPECT_EQ(Language(" \tlAnGuAgE \t=\t Deutsch.catalog \t\r\n"), "Deutsch.catalog");
  EXPECT_EQ(Language("Language = a = b ; not a comment"), "a = b ; not a comment");
  // Only A-Z are compared without case.
  EXPECT_EQ(PreferenceText::Parse("K\xC4Y=1").ReadString("k\xE4y", "none"), "none");
}

TEST(PreferenceText, VisibilityGroupsCommentsAndFirstKeyWins) {
  EXPECT_EQ(Language("[Main]\r\nLanguage=x"), "<default>");
  EXPECT_EQ(Language("Language=first\r\nLanguage=second\r\n[G]\r\nLanguage=third"), "first");
  EXPECT_EQ(Language("; Language=commented\r\n;Language=too"), "<default>");
  EXPECT_EQ(Language("[G]\r\n"), "<default>");
  // A key without "=" has the empty value, and the next line stands on its own.
  EXPECT_EQ(Language("Language\nContextMenu=1"), "");
  EXPECT_EQ(ContextMenu("Language\nContextMenu=1"), 1);
  EXPECT_EQ(Language(""), "<default>");
  EXPECT_EQ(Language("\xEF\xBB\xBF"), "<default>");
}

TEST(PreferenceText, LineEndsOfEveryKindReadTheSame) {
  for (const char* file : {"A=1\r\nLanguage=x\r\n", "A=1\nLanguage=x\n", "A=1\rLanguage=x\r",
                           "\r\n\r\nA=1\n\n\r\rLanguage=x", "A=1\r\n   \t \r\nLanguage=x"})
    EXPECT_EQ(Language(file), "x") << file;
}

TEST(PreferenceText, IntegersReadAsAtoiDoes) {
  EXPECT_EQ(ContextMenu("ContextMenu=1abc"), 1);
  EXPECT_EQ(ContextMenu("ContextMenu = -5"), -5);
  EXPECT_EQ(ContextMenu("ContextMenu="), 0);
  EXPECT_EQ(ContextMenu("ContextMenu=yes"), 0);
  EXPECT_EQ(ContextMenu("ContextMenu=+12"), 12);
  EXPECT_EQ(ContextMenu("Other=1"), -99);
  // A digit run too long for 32 bits wraps, as the value is cut to 32 bits, and never overflows.
  EXPECT_EQ(ContextMenu("ContextMenu=99999999999999999999"), 1661992959);
  EXPECT_EQ(ContextMenu("ContextMenu=4294967303"), 7);
  EXPECT_EQ(ContextMenu("ContextMenu=-4294967303"), -7);
}

TEST(PreferenceText, Utf8FilesDecodeToSingleBytes) {
  const std::string bom = "\xEF\xBB\xBF";
  EXPECT_EQ(Language(bom + "Language=Fran\xC3\xA7"
                           "ais.catalog"),
            "Fran\xE7"
            "ais.catalog");
  EXPECT_EQ(Language(bom + "Language=Snow\xE2\x98\x83"), "");  // above U+00FF: empty, not default
  EXPECT_EQ(Language(bom + "Language=Bad\xFFx"), "");          // malformed: empty
  EXPECT_EQ(Language(bom + "Language=Cut\xC3"), "Cut");        // cut off by the end: ends there
  // Decoded before the trailing blanks go: a blank after a lead byte makes it malformed.
  EXPECT_EQ(Language(bom + "Language=Cut\xC3 "), "");
  EXPECT_EQ(Language(bom + "Language=Cut\xC3\t"), "");
  EXPECT_EQ(Language(bom + "Language=Caf\xC3\xA9 \t "), "Caf\xE9");
  EXPECT_EQ(Language(bom + "Language=  x  "), "x");
  // A wanted key with a byte above 0x7F is looked up in its UTF-8 form.
  EXPECT_EQ(PreferenceText::Parse(bom + "K\xC3\xA4y=1").ReadString("K\xE4y", "none"), "1");
  // Without the mark the bytes stand as they are.
  EXPECT_EQ(Language("Language=Fran\xC3\xA7"
                     "ais"),
            "Fran\xC3\xA7"
            "ais");
}

TEST(PreferenceText, WrittenFormIsByteExact) {
  PreferenceText text;
  text.WriteString("Language", "");
  text.WriteInteger("ContextMenu", 0);
  EXPECT_EQ(text.Serialize(), "Language = \r\nContextMenu = 0\r\n");
  EXPECT_EQ(text.Serialize().size(), 30u);
  text.WriteString("LANGUAGE", "Deutsch.catalog");  // keeps its place, takes the new case
  text.WriteInteger("ContextMenu", -7);
  EXPECT_EQ(text.Serialize(), "LANGUAGE = Deutsch.catalog\r\nContextMenu = -7\r\n");
}

TEST(PreferenceText, NewKeysGoBeforeTheFirstGroup) {
  PreferenceText text = PreferenceText::Parse("A=1\r\n[G]\r\nB=2\r\n");
  text.WriteString("C", "3");
  EXPECT_EQ(text.Serialize(), "A = 1\r\nC = 3\r\n[G]\r\nB = 2\r\n");
}

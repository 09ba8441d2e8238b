#include "settings/preference_text.h"

#include <gtest/gtest.h>

#include "tests/native/code_pages_for_tests.h"

namespace {
PreferenceText Parse(const std::string& file) {
  return PreferenceText::Parse(file, WesternCodePage());
}
std::string Language(const std::string& file) {
  return Parse(file).ReadString("Language", "<default>");
}
std::int32_t ContextMenu(const std::string& file) {
  return Parse(file).ReadInteger("ContextMenu", -99);
}
}  // namespace

TEST(PreferenceText, KeysIgnoreLetterCaseAndSurroundingBlanks) {
  EXPECT_EQ(Language("Language=Deutsch.catalog"), "Deutsch.catalog");
  EXPECT_EQ(Language(" \tlAnGuAgE \t=\t Deutsch.catalog \t\r\n"), "Deutsch.catalog");
  EXPECT_EQ(Language("Language = a = b ; not a comment"), "a = b ; not a comment");
  // Only A-Z are compared without case.
  EXPECT_EQ(Parse("K\xC4Y=1").ReadString("k\xE4y", "none"), "none");
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

TEST(PreferenceText, WithTheMarkValuesAreUtf8AndWithoutItTheCodePage) {
  const std::string bom = "\xEF\xBB\xBF";
  // Every character, not only those up to U+00FF; blanks at the ends go, bytes are kept as they
  // are.
  EXPECT_EQ(
      Language(bom +
               "Language=\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9.catalog \t"),
      "\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9.catalog");  // Русский
  EXPECT_EQ(Language(bom + "Language=Snow\xE2\x98\x83"), "Snow\xE2\x98\x83");
  EXPECT_EQ(Language(bom + "Language=Caf\xC3\xA9 \t "), "Caf\xC3\xA9");
  EXPECT_EQ(Language(bom + "Language=  x  "), "x");
  // A key is looked up as UTF-8, A-Z without case.
  EXPECT_EQ(Parse(bom + "K\xC3\xA4Y=1").ReadString("k\xC3\xA4y", "none"), "1");
  // Without the mark the bytes are in the code page.
  EXPECT_EQ(Language("Language=Fran\xE7"
                     "ais.catalog"),
            "Fran\xC3\xA7"
            "ais.catalog");
  EXPECT_EQ(PreferenceText::Parse("Language=\xCA\xE8\xED\xEE", CyrillicCodePage())
                .ReadString("Language", ""),
            "\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE");  // Кино
  EXPECT_FALSE(Parse("Language=x").utf8());
  EXPECT_TRUE(Parse(bom + "Language=x").utf8());
}

TEST(PreferenceText, FileBytesStayInTheCodePageWhileEveryTextFitsIt) {
  const CodePage western = WesternCodePage();
  // A file as older versions wrote it keeps its bytes exactly.
  const std::string older =
      "; Einstellungen f\xFCr \xE9t\xE9\r\nLanguage = Fran\xE7"
      "ais.catalog\r\nContextMenu = 1\r\n";
  EXPECT_EQ(PreferenceText::Parse(older, western).FileBytes(western), older);
  // A value beyond the code page takes the mark and UTF-8, and reads back exactly.
  PreferenceText text = PreferenceText::Parse(older, western);
  text.WriteString("Language", "\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9.catalog");
  const std::string written = text.FileBytes(western);
  EXPECT_EQ(
      written,
      "\xEF\xBB\xBF; Einstellungen f\xC3\xBCr \xC3\xA9t\xC3\xA9\r\nLanguage = "
      "\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9.catalog\r\nContextMenu = 1\r\n");
  EXPECT_EQ(PreferenceText::Parse(written, western).ReadString("Language", ""),
            "\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9.catalog");
  // A name that fits the code page of this system needs no mark there.
  PreferenceText russian;
  russian.WriteString("Language", "\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE.catalog");
  EXPECT_EQ(russian.FileBytes(CyrillicCodePage()), "Language = \xCA\xE8\xED\xEE.catalog\r\n");
  // Back to a name that fits: the mark goes again, so the file reads as before.
  PreferenceText back = PreferenceText::Parse(written, western);
  back.WriteString("Language", "Deutsch.catalog");
  EXPECT_EQ(
      back.FileBytes(western),
      "; Einstellungen f\xFCr \xE9t\xE9\r\nLanguage = Deutsch.catalog\r\nContextMenu = 1\r\n");
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
  PreferenceText text = Parse("A=1\r\n[G]\r\nB=2\r\n");
  text.WriteString("C", "3");
  EXPECT_EQ(text.Serialize(), "A = 1\r\nC = 3\r\n[G]\r\nB = 2\r\n");
}

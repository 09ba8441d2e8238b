#include "configure/configuration_text.h"

#include <gtest/gtest.h>

TEST(ExpandLineBreaks, TurnsBackslashSmallNIntoCrLfFromLeftToRight) {
  EXPECT_EQ(ExpandLineBreaks("press \\n\"Insert\"."), "press \r\n\"Insert\".");
  EXPECT_EQ(ExpandLineBreaks("\\n\\n"), "\r\n\r\n");
  // A doubled backslash before n: the second backslash and the n make the break.
  EXPECT_EQ(ExpandLineBreaks("a\\\\nb"), "a\\\r\nb");
  EXPECT_EQ(ExpandLineBreaks("\\nn"), "\r\nn");
}

TEST(ExpandLineBreaks, LeavesEverythingElseAsItIs) {
  EXPECT_EQ(ExpandLineBreaks(""), "");
  EXPECT_EQ(ExpandLineBreaks("capital \\N stays"), "capital \\N stays");
  EXPECT_EQ(ExpandLineBreaks("ends in \\"), "ends in \\");
  EXPECT_EQ(ExpandLineBreaks("\\t \\r"), "\\t \\r");
  EXPECT_EQ(ExpandLineBreaks("already\r\nbroken"), "already\r\nbroken");
  const std::string bytes("\0\xE4\xFF\\", 4);
  EXPECT_EQ(ExpandLineBreaks(bytes), bytes);
}

TEST(VerbCommandLine, QuotesProgramAndFile) {
  EXPECT_EQ(VerbCommandLine("C:\\Program Files\\DA3Zur\\DA3Zur.exe", "-edit"),
            "\"C:\\Program Files\\DA3Zur\\DA3Zur.exe\" -edit \"%1\"");
  EXPECT_EQ(VerbCommandLine("D:\\x.exe", "-sort"), "\"D:\\x.exe\" -sort \"%1\"");
}

TEST(FindLanguageItem, FirstByteEqualItemWithCaseSignificant) {
  const std::vector<std::string> items{"", "Deutsch.catalog", "deutsch.catalog", "Deutsch.catalog"};
  EXPECT_EQ(FindLanguageItem(items, ""), 0u);
  EXPECT_EQ(FindLanguageItem(items, "Deutsch.catalog"), 1u);
  EXPECT_EQ(FindLanguageItem(items, "deutsch.catalog"), 2u);
  EXPECT_EQ(FindLanguageItem(items, "DEUTSCH.CATALOG"), std::nullopt);
  EXPECT_EQ(FindLanguageItem(items, "Deutsch.catalog "), std::nullopt);
  EXPECT_EQ(FindLanguageItem(items, "Deutsch"), std::nullopt);
  EXPECT_EQ(FindLanguageItem({}, ""), std::nullopt);
}

#include "settings/catalog.h"

#include <gtest/gtest.h>

namespace {
std::string CatalogOf(size_t lines) {
  std::string text = "Catalog\r\n";
  for (size_t i = 0; i < lines; ++i) text += "text " + std::to_string(i) + "\r\n";
  return text;
}
TextTable Marked() {
  TextTable texts;
  texts.fill("unchanged");
  return texts;
}
}  // namespace

TEST(ParseCatalog, ReadsFortyThreeLinesWithEveryLineEnd) {
  for (const std::string& end :
       {std::string("\r\n"), std::string("\n"), std::string("\r"), std::string(1, 0)}) {
    std::string bytes = "Catalog" + end;
    for (size_t i = 0; i < kTextCount + 5; ++i) bytes += "text " + std::to_string(i) + end;
    TextTable texts = Marked();
    ASSERT_TRUE(ParseCatalog(bytes, texts));
    EXPECT_EQ(texts[0], "text 0");
    EXPECT_EQ(texts[42], "text 42");
    EXPECT_EQ(texts[kTextCount - 1], "text " + std::to_string(kTextCount - 1));
  }
  // CR LF is one line end, a lone CR or LF is one each.
  TextTable texts = Marked();
  ASSERT_TRUE(ParseCatalog("Catalog\r\na\n\rb", texts));
  EXPECT_EQ(texts[0], "a");
  EXPECT_EQ(texts[1], "");
  EXPECT_EQ(texts[2], "b");
}

TEST(ParseCatalog, RefusesAnyOtherHeaderAndLeavesTheTable) {
  for (const std::string& header : {"catalog", "Catalog ", " Catalog",
                                    "\xEF\xBB\xBF"
                                    "Catalog",
                                    "", "Catalogue"}) {
    TextTable texts = Marked();
    EXPECT_FALSE(ParseCatalog(header + "\r\nA\r\n", texts)) << header;
    EXPECT_EQ(texts, Marked());
  }
}

TEST(ParseCatalog, ShortCatalogsEmptyTheRestAndLinesKeepTheirSpaces) {
  // The first 43 texts empty where lines are missing; the texts added later keep their defaults
  // unless the catalog reaches them.
  TextTable texts = Marked();
  ASSERT_TRUE(ParseCatalog("Catalog", texts));
  for (size_t i = 0; i < kFirstAddedText; ++i) EXPECT_EQ(texts[i], "") << i;
  for (size_t i = kFirstAddedText; i < kTextCount; ++i) EXPECT_EQ(texts[i], DefaultText(i)) << i;

  texts = Marked();
  ASSERT_TRUE(ParseCatalog(CatalogOf(10), texts));
  EXPECT_EQ(texts[9], "text 9");
  EXPECT_EQ(texts[10], "");
  EXPECT_EQ(texts[42], "");
  EXPECT_EQ(texts[kFirstAddedText], DefaultText(kFirstAddedText));

  texts = Marked();
  ASSERT_TRUE(ParseCatalog(CatalogOf(kFirstAddedText + 2), texts));
  EXPECT_EQ(texts[kFirstAddedText + 1], "text 44");
  EXPECT_EQ(texts[kFirstAddedText + 2], DefaultText(kFirstAddedText + 2));

  // A catalog made for the first 43 texts that ends in an empty line, or has empty lines among the
  // later ones, keeps their English texts; lines 2 to 44 are taken as they stand.
  texts = Marked();
  ASSERT_TRUE(ParseCatalog(CatalogOf(kFirstAddedText) + "\r\n", texts));
  EXPECT_EQ(texts[kFirstAddedText - 1], "text 42");
  EXPECT_EQ(texts[kTextTargetHeader], "Target");
  texts = Marked();
  ASSERT_TRUE(ParseCatalog(CatalogOf(kFirstAddedText) + "\r\n\r\nSecond\r\n", texts));
  EXPECT_EQ(texts[kFirstAddedText], DefaultText(kFirstAddedText));
  EXPECT_EQ(texts[kFirstAddedText + 1], DefaultText(kFirstAddedText + 1));
  EXPECT_EQ(texts[kFirstAddedText + 2], "Second");

  texts = Marked();
  ASSERT_TRUE(ParseCatalog("Catalog\n  padded \t\n\nafter empty\nback\\nslash", texts));
  EXPECT_EQ(texts[0], "  padded \t");
  EXPECT_EQ(texts[1], "");
  EXPECT_EQ(texts[2], "after empty");
  EXPECT_EQ(texts[3], "back\\nslash");  // no escape processing at load time
}

// A reader stops once it holds the header and every text line; CR LF split between two reads is
// one line end, and NUL, lone CR and LF are one each.
TEST(CatalogLineCounter, IsCompleteExactlyAfterTheLastLineTheTableUses) {
  for (const std::string& end :
       {std::string("\r\n"), std::string("\n"), std::string("\r"), std::string(1, 0)}) {
    std::string bytes = "Catalog" + end;
    for (size_t i = 0; i < kTextCount; ++i) bytes += "t" + end;
    bytes += "ignored" + end;
    CatalogLineCounter counter;
    size_t complete = 0;
    for (size_t i = 0; i < bytes.size() && !complete; ++i)
      if (counter.Take(bytes.substr(i, 1))) complete = i + 1;
    const size_t linesEnd = bytes.size() - ("ignored" + end).size();
    // The CR of the last CR LF already ends the line.
    EXPECT_EQ(complete, linesEnd - (end == "\r\n" ? 1 : 0)) << "line end " << int(end[0]);
  }
  CatalogLineCounter counter;
  EXPECT_FALSE(counter.Take("Catalog\r"));
  EXPECT_FALSE(counter.Take("\n" + std::string(kTextCount - 1, '\0')));
  EXPECT_TRUE(counter.Take("\n"));
}

#include "sorter/shown_paths.h"

#include <gtest/gtest.h>

TEST(ShownPaths, TheFixedFolderEndsBeforeTheFirstLevelThatVaries) {
  EXPECT_EQ(FixedFolderOf("D:\\Music\\%GENRE%\\%ARTIST%\\%ALBUM%\\*.$"), "D:\\Music\\");
  EXPECT_EQ(FixedFolderOf("D:\\Music\\Sorted %YEAR%\\*.$"), "D:\\Music\\");
  EXPECT_EQ(FixedFolderOf("D:\\Music/Mix\\*.$"), "D:\\Music\\Mix\\");
  EXPECT_EQ(FixedFolderOf("D:\\Music\\\\%GENRE%\\*.$"), "D:\\Music\\");  // as targets collapse it
  EXPECT_EQ(FixedFolderOf("\\\\server\\share\\%GENRE%\\*.$"), "\\\\server\\share\\");
  EXPECT_EQ(FixedFolderOf("D:\\All in one\\"), "D:\\All in one\\");
  EXPECT_EQ(FixedFolderOf("%GENRE%\\*.$"), "");
  EXPECT_EQ(FixedFolderOf("*.$"), "");
  EXPECT_EQ(FixedFolderOf(""), "");
  EXPECT_EQ(FixedFolderOf("D:\\Music. \\x \\%GENRE%\\*.$"), "D:\\Music\\x\\");  // levels trimmed
  EXPECT_EQ(FixedFolderOf("//server/share/%GENRE%"), "\\\\server\\share\\");
}

TEST(ShownPaths, NothingInTheLiteralFolderVaries) {
  EXPECT_EQ(FixedFolderOf(PatternForFolderLiteral("D:\\Pay$ 100%")), "D:\\Pay$ 100%\\");
  EXPECT_EQ(FixedFolderOf(PatternForFolder("D:\\Pay$ 100%")), "D:\\");
  EXPECT_EQ(FixedFolderOf(TargetPattern{"D:\\a*\\b\\*", 5}), "D:\\a*\\b\\");
}

TEST(ShownPaths, TheTargetLosesTheFixedFolderAndKeepsItsReason) {
  const NameCase kNames;  // A to Z, slash and backslash alike
  const std::string target = "D:\\Music\\Rock\\Band\\Album\\01 Song.mp3";
  EXPECT_EQ(ShortenedTargetText(target, target, "D:\\Music\\", kNames),
            "Rock\\Band\\Album\\01 Song.mp3");
  EXPECT_EQ(ShortenedTargetText("The target exists: " + target, target, "d:\\music/", kNames),
            "The target exists: Rock\\Band\\Album\\01 Song.mp3");
  // Kept whole: a text that is no target, a target elsewhere, no fixed folder, nothing beyond it.
  EXPECT_EQ(ShortenedTargetText("Tags can't be read", target, "D:\\Music\\", kNames),
            "Tags can't be read");
  EXPECT_EQ(ShortenedTargetText("", "", "D:\\Music\\", kNames), "");
  EXPECT_EQ(ShortenedTargetText(target, target, "E:\\Music\\", kNames), target);
  EXPECT_EQ(ShortenedTargetText(target, target, "", kNames), target);
  EXPECT_EQ(ShortenedTargetText("D:\\Music\\", "D:\\Music\\", "D:\\Music\\", kNames),
            "D:\\Music\\");
}

TEST(ShownPaths, TheHoverTextHoldsBothFullPaths) {
  EXPECT_EQ(FullPathsText("C:\\In\\a.mp3", "D:\\Music\\Rock\\a.mp3"),
            "C:\\In\\a.mp3\r\nD:\\Music\\Rock\\a.mp3");
  EXPECT_EQ(FullPathsText("C:\\In\\cover.jpg", ""), "C:\\In\\cover.jpg");
}

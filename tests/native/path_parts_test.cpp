// File, folder, base name and extension of a path, as the status bar, the sorter and the
// tag bridge take them.
#include "base/path_parts.h"

#include <gtest/gtest.h>

TEST(PathParts, FollowTheExamples) {
  EXPECT_EQ(FilePart("D:\\in\\Song.mp3"), "Song.mp3");
  EXPECT_EQ(FilePart("D:/in/Song.mp3"), "Song.mp3");
  EXPECT_EQ(FilePart("Song.mp3"), "Song.mp3");
  EXPECT_EQ(FilePart("D:\\in\\"), "");
  EXPECT_EQ(FilePart("Z:/music\\a b/Song two.ogg"), "Song two.ogg");
  EXPECT_EQ(FilePart("C:\\Music/x\\y.flac"), "y.flac");
  EXPECT_EQ(FilePart(""), "");
  EXPECT_EQ(FolderPart("D:\\in/x\\Song.mp3"), "D:\\in/x\\");
  EXPECT_EQ(FolderPart("Song.mp3"), "");

  struct Case {
    const char* path;
    const char* extension;
    const char* baseName;
  };
  for (const Case& c :
       {Case{"Song.mp3", "mp3", "Song"}, Case{"a.b.ogg", "ogg", "a.b"}, Case{"Name.", "", "Name"},
        Case{"README", "", "README"}, Case{".mp3", "mp3", ""},
        Case{"D:\\a.b\\README", "", "README"}, Case{"D:\\a.b/c", "", "c"}}) {
    EXPECT_EQ(ExtensionPart(c.path), c.extension) << c.path;
    EXPECT_EQ(BaseNamePart(c.path), c.baseName) << c.path;
  }
}

TEST(RootLength, TheDriveOrShareAPathBeginsWith) {
  constexpr size_t kNone = std::string_view::npos;
  for (auto [path, length] : {std::pair{"c:\\Music\\a.mp3", size_t(3)},
                              {"D:", kNone},
                              {"\\\\nas\\Music\\Rock\\a.mp3", size_t(12)},
                              {"//nas/music/a.mp3", size_t(12)},
                              {"\\\\nas\\music", kNone},
                              {"\\\\?\\e:\\x", size_t(7)},
                              {"\\\\?\\unc\\nas\\music\\x", size_t(18)},
                              {"Music\\a.mp3", kNone},
                              {"\\Music", kNone},
                              {"", kNone}})
    EXPECT_EQ(RootLength(path), length) << path;
}

TEST(LongPathForm, OnlyWholePathsBeyondMaxPathArePrefixed) {
  const std::string folder = "C:\\Music\\" + std::string(240, 'a') + "\\";
  const std::string share = "\\\\nas\\music\\" + std::string(240, 'b') + "\\";
  std::string cyrillic = "C:\\";  // 259 units in 509 bytes
  for (int letter = 0; letter < 250; ++letter) cyrillic += "Ж";
  cyrillic += "\\";
  for (auto [path, form] : {
           std::pair{folder + "01.mp3", folder + "01.mp3"},
           {folder + "~DA3Zur-1234-0.sorting.mp3",
            "\\\\?\\" + folder + "~DA3Zur-1234-0.sorting.mp3"},
           {share + "~DA3Zur-1234-0.sorting.mp3",
            "\\\\?\\UNC" + share.substr(1) + "~DA3Zur-1234-0.sorting.mp3"},
           {"C:/Music/" + std::string(260, 'c'), "\\\\?\\C:\\Music\\" + std::string(260, 'c')},
           {"\\\\?\\" + folder + std::string(30, 'd'), "\\\\?\\" + folder + std::string(30, 'd')},
           {"Music\\" + std::string(300, 'e'), "Music\\" + std::string(300, 'e')},
           {cyrillic + "a.mp3", cyrillic + "a.mp3"},
       })
    EXPECT_EQ(LongPathForm(path), form) << path;
}

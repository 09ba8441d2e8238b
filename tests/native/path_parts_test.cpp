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

TEST(DriveOf, TheDriveOrShareAPathNames) {
  for (auto [path, drive] : {std::pair{"c:\\Music\\a.mp3", "C:"},
                             {"D:", "D:"},
                             {"\\\\nas\\Music\\Rock\\a.mp3", "\\\\NAS\\MUSIC"},
                             {"//nas/music/a.mp3", "\\\\NAS\\MUSIC"},
                             {"\\\\nas\\music", "\\\\NAS\\MUSIC"},
                             {"\\\\?\\e:\\x", "E:"},
                             {"\\\\?\\UNC\\nas\\music\\x", "\\\\NAS\\MUSIC"},
                             {"Music\\a.mp3", ""},
                             {"\\Music", ""},
                             {"", ""}})
    EXPECT_EQ(DriveOf(path), drive) << path;
}

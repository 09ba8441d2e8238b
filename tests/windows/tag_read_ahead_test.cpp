// The run's tag reading on a worker thread: what it gives is what reading here gives, a file it
// has read is free to move at once, and a read begun for another file is not taken for this one.
#include "sorter/tag_read_ahead_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "base/wide_text_win.h"
#include "tags/tag_bridge.h"
#include "tests/support/win_test_support.h"

using namespace testing_win;

namespace {
std::string TaggedFile(const TempDir& dir, const std::string& name, const std::string& artist) {
  const std::string path = dir.CopyFixture("tagged.mp3", name);
  TagInfo tags;
  EXPECT_EQ(ReadTags(path, &tags), 1);
  tags.artist = artist;
  EXPECT_EQ(WriteTags(path, &tags), 1);
  return path;
}
}  // namespace

TEST(TagReadAhead, GivesWhatReadingHereGivesAndLetsTheFileGoAtOnce) {
  TempDir dir;
  const std::string first = TaggedFile(dir, "first.mp3", "Первый"),
                    second = TaggedFile(dir, "second.mp3", "二番目");
  TagInfo expected;
  ASSERT_EQ(ReadTags(second, &expected), 1);

  TagReadAhead ahead;
  ahead.Start(second);
  TagInfo tags;
  tags.title = "left from the file before";
  EXPECT_EQ(ahead.Read(second, tags), 1);
  EXPECT_EQ(tags, expected);
  // The worker holds no file open once its read is taken: the file moves at once.
  EXPECT_TRUE(MoveFileW(Wide(second).c_str(), Wide(dir / "moved.mp3").c_str()));

  // A read begun for one file is not taken for another, nor is a file that has gone readable.
  ahead.Start(first);
  TagInfo other;
  EXPECT_EQ(ahead.Read(dir / "moved.mp3", other), 1);
  EXPECT_EQ(other, expected);
  ahead.Start(second);
  EXPECT_EQ(ahead.Read(second, other), 0);
  EXPECT_EQ(other, TagInfo{});
  // Without a read begun, the file is read here.
  EXPECT_EQ(ahead.Read(first, other), 1);
  EXPECT_EQ(other.artist, "Первый");
  // A read still going when the object goes is waited for.
  ahead.Start(first);
}

// A read that hangs (a share that dropped) is waited for no longer than the bound: it counts as a
// file whose tags can't be read, and the next read goes on a worker of its own.
TEST(TagReadAhead, AReadThatHangsIsGivenUpAfterTheBound) {
  const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  {
    TagReadAhead ahead(
        [release](const std::string& path, TagInfo& tags) {
          if (path == "hangs") WaitForSingleObject(release, 5000);
          tags.title = path;
          return 1;
        },
        100);
    ahead.Start("hangs");
    const DWORD start = GetTickCount();
    TagInfo tags;
    EXPECT_EQ(ahead.Read("hangs", tags), 0);
    EXPECT_LT(GetTickCount() - start, 3000u) << "the read was waited for past its bound";
    EXPECT_EQ(ahead.Read("next", tags), 1);
    EXPECT_EQ(tags.title, "next");
  }                   // the hanging read is not waited for here either
  SetEvent(release);  // the worker given up ends now; the event stays for it
}

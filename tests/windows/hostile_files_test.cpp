// ReadTags and WriteTags on files that are not what their names promise: cut short, random bytes,
// headers with absurd sizes, atoms nested ten thousand deep. Nothing may crash or hang, and a file
// is never lost or left with a half-written copy beside it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "tags/tag_bridge.h"
#include "tests/support/win_test_support.h"

using namespace testing_win;

namespace {
std::string BigEndian32(uint32_t value) {
  return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

std::string RandomBytes(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = char(random());
  return bytes;
}

// An MP4 file whose movie atom holds itself `depth` times over.
std::string NestedMovieAtoms(int depth) {
  std::string file = BigEndian32(20) + "ftypM4A " + BigEndian32(0) + "M4A ";
  for (int level = 0; level < depth; ++level)
    file += BigEndian32(uint32_t(8 * (depth - level))) + "moov";
  return file;
}

struct Hostile {
  std::string name, bytes;
};

std::vector<Hostile> HostileFiles() {
  std::vector<Hostile> files;
  for (const char* format : {"mp3", "flac", "ogg"}) {
    std::string whole = ReadFileBytes(FixturePath(std::string("tagged.") + format));
    files.push_back({std::string("third.") + format, whole.substr(0, whole.size() / 3)});
    files.push_back({std::string("head.") + format, whole.substr(0, 10)});
    files.push_back({std::string("noise.") + format, RandomBytes(64 * 1024, 7)});
  }
  std::string mp3 = ReadFileBytes(FixturePath("tagged.mp3"));
  // An ID3v2 header that claims a tag of 256 MiB in front of real audio.
  files.push_back({"huge-id3.mp3", std::string("ID3\x04\x00\x00\x7F\x7F\x7F\x7F", 10) + mp3});
  // A FLAC stream-info block that claims 16 MiB, and a last block that never ends.
  files.push_back(
      {"huge-block.flac", std::string("fLaC\x00\xFF\xFF\xFF", 8) + RandomBytes(100, 3)});
  // An Ogg page that announces 255 full segments and then stops.
  files.push_back({"short-page.ogg", std::string("OggS\0\2", 6) + std::string(20, '\0') +
                                         std::string(1, '\xFF') + std::string(255, '\xFF')});
  files.push_back({"nested.m4a", NestedMovieAtoms(10000)});
  files.push_back({"oversized.m4a", BigEndian32(20) + "ftypM4A " + BigEndian32(0) + "M4A " +
                                        BigEndian32(0xFFFFFFF0) + "moov" + RandomBytes(64, 5)});
  files.push_back({"wide-size.m4a", BigEndian32(1) + "moov" + std::string(8, '\xFF')});
  files.push_back({"noise.m4a", RandomBytes(64 * 1024, 11)});
  return files;
}
}  // namespace

TEST(HostileFiles, AreReadAndWrittenWithoutCrashLossOrLeftovers) {
  TempDir dir;
  std::vector<Hostile> files = HostileFiles();
  for (const Hostile& file : files) WriteFileBytes(dir / file.name, file.bytes);

  for (const Hostile& file : files) {
    SCOPED_TRACE(file.name);
    const std::string path = dir / file.name;
    TagInfo record;
    if (!ReadTags(path, &record)) {
      EXPECT_EQ(WriteTags(path, &record), 0);
      EXPECT_EQ(ReadFileBytes(path), file.bytes);
      continue;
    }
    record.title = "Rewritten";
    if (WriteTags(path, &record)) {
      TagInfo again;
      ASSERT_EQ(ReadTags(path, &again), 1) << "a written file no longer reads";
      EXPECT_EQ(again.title, "Rewritten");
    } else {
      EXPECT_EQ(ReadFileBytes(path), file.bytes) << "a failed write changed the file";
    }
  }
  EXPECT_EQ(FileCount(dir.path()), files.size()) << "a file went missing or a copy was left";
}

// A 1 MiB disk mounted by the test script at build/smalldisk; without it this test is skipped.
class FullDisk : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    ULARGE_INTEGER free{}, total{};
    if (!GetDiskFreeSpaceExA(folder_.c_str(), &free, &total, nullptr) ||
        total.QuadPart > 4 * 1024 * 1024)
      GTEST_SKIP() << "no small disk mounted at " << folder_;
    RemoveTree(folder_ + "work\\");
    ASSERT_TRUE(CreateDirectoryA((folder_ + "work\\").c_str(), nullptr));
    song_ = folder_ + "work\\song." + GetParam();
    WriteFileBytes(song_, ReadFileBytes(FixturePath(std::string("tagged.") + GetParam())));
    bytes_ = ReadFileBytes(song_);
  }
  void TearDown() override { RemoveTree(folder_ + "work\\"); }

  // Fills the disk until only about `left` bytes are free.
  void FillUpTo(unsigned long long left) {
    ULARGE_INTEGER free{};
    ASSERT_TRUE(GetDiskFreeSpaceExA(folder_.c_str(), &free, nullptr, nullptr));
    ASSERT_GT(free.QuadPart, left);
    WriteFileBytes(folder_ + "work\\filler", std::string(size_t(free.QuadPart - left), 'x'));
  }

  const std::string folder_ = std::string(DA3_TEST_SOURCE_DIR) + "\\build\\smalldisk\\";
  std::string song_, bytes_;
};

TEST_P(FullDisk, ASaveThatCannotFitFailsAndLeavesTheFileWhole) {
  TagInfo record;
  ASSERT_EQ(ReadTags(song_, &record), 1);
  record.title = std::string(10000, 'T');
  record.comment = std::string(10000, 'C');

  // Both failures say why: there is no room on the disk.
  FillUpTo(bytes_.size() / 2);  // not even the working copy fits
  unsigned long error = 0;
  EXPECT_EQ(WriteTags(song_, &record, &error), 0);
  EXPECT_EQ(error, unsigned(ERROR_DISK_FULL));
  EXPECT_EQ(ReadFileBytes(song_), bytes_);
  EXPECT_EQ(FileCount(folder_ + "work\\"), 2u) << "a partial copy was left";

  DeleteFileA((folder_ + "work\\filler").c_str());
  FillUpTo(bytes_.size() + 16 * 1024);  // the copy fits, the longer tag does not
  error = 0;
  EXPECT_EQ(WriteTags(song_, &record, &error), 0);
  EXPECT_EQ(error, unsigned(ERROR_DISK_FULL));
  EXPECT_EQ(ReadFileBytes(song_), bytes_);
  EXPECT_EQ(FileCount(folder_ + "work\\"), 2u) << "the copy was left";

  DeleteFileA((folder_ + "work\\filler").c_str());  // with room again the same save succeeds
  ASSERT_EQ(WriteTags(song_, &record), 1);
  TagInfo saved;
  ASSERT_EQ(ReadTags(song_, &saved), 1);
  EXPECT_EQ(saved.title, record.title);
  EXPECT_EQ(saved.comment, record.comment);
}

INSTANTIATE_TEST_SUITE_P(Formats, FullDisk, ::testing::Values("mp3", "flac", "ogg"));

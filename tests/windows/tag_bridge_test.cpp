// ReadTags and WriteTags on real MP3, FLAC and Ogg Vorbis files.
#include "tags/tag_bridge.h"

#include <gtest/gtest.h>
#include <taglib/tag_c.h>

#include "base/wide_text_win.h"
#include "base/win_handles.h"
#include "tags/safe_save.h"
#include "tags/save_copy_name.h"
#include "tags/taglib.h"
#include "tests/support/raw_tag_support.h"
#include "tests/support/win_test_support.h"

using namespace testing_win;

namespace {
void WriteRawTitle(const std::string& path, const char* utf8) {
  const taglib::File file(taglib::FileNew(path));
  ASSERT_NE(file.get(), nullptr);
  taglib_tag_set_title(taglib_file_tag(file.get()), utf8);
  ASSERT_TRUE(taglib_file_save(file.get()));
}

// The audio frames of an MP3 (between the ID3v2 tag and an ID3v1 tag) or FLAC file (after the
// metadata blocks). Ogg pages are renumbered when the comment grows, so they are not compared.
std::string AudioFrames(const std::string& bytes, const std::string& format) {
  auto byte = [&bytes](size_t i) { return size_t(static_cast<unsigned char>(bytes.at(i))); };
  if (format == "mp3") {
    size_t start = 0;
    if (bytes.compare(0, 3, "ID3") == 0)
      start = 10 + (byte(6) << 21 | byte(7) << 14 | byte(8) << 7 | byte(9));
    size_t end = bytes.size();
    if (end >= 128 && bytes.compare(end - 128, 3, "TAG") == 0) end -= 128;
    return bytes.substr(start, end - start);
  }
  if (format == "flac") {
    size_t at = 4;
    bool last = false;
    while (!last) {
      last = byte(at) & 0x80;
      at += 4 + (byte(at + 1) << 16 | byte(at + 2) << 8 | byte(at + 3));
    }
    return bytes.substr(at);
  }
  return {};
}

class TagBridge : public ::testing::TestWithParam<const char*> {
 protected:
  std::string Copy(const char* fixture) {
    return dir_.CopyFixture(std::string(fixture) + "." + GetParam(),
                            std::string("song.") + GetParam());
  }
  TempDir dir_;
};

// Tags and names in the scripts a user's collection holds, with the punctuation release databases
// use: ’ – “ ” €.
const std::string kCyrillicTitle =
    "\xD0\x94\xD0\xB5\xD0\xBB\xD1\x8C\xD1\x84\xD0\xB8\xD0\xBD\xD1\x8B \xE2\x80\x93 "
    "\xE2\x80\x9C\xD0\x9C\xD1\x83\xD0\xBC\xD0\xB8\xD0\xB9\xE2\x80\x9D \xE2\x80\x99"
    "99 \xE2\x82\xAC";
const std::string kCzechAlbum = "Dvo\xC5\x99\xC3\xA1k: Symfonie \xC4\x8D. 9";
const std::string kJapaneseGenre = "\xE6\xBC\x94\xE6\xAD\x8C";  // 演歌
const std::string kCyrillicName =
    "\xD0\x94\xD0\xB5\xD0\xBB\xD1\x8C\xD1\x84\xD0\xB8\xD0\xBD\xD1\x8B \xE2\x80\x93 \xE2\x80\x99"
    "99";
const std::string kJapaneseName = "\xE6\x97\xA5\xE6\x9C\xAC\xE3\x81\xAE\xE6\xAD\x8C";  // 日本の歌

const TagInfo kMarked{"old title", "old artist", "old album", 11, "old comment", 12, "old genre",
                      13,          14,           15,          16};
}  // namespace

TEST_P(TagBridge, ReadsTagsAndAudioProperties) {
  TagInfo record;
  ASSERT_EQ(ReadTags(Copy("tagged"), &record), 1);
  EXPECT_EQ(record.title, "Tagged Title");
  EXPECT_EQ(record.artist, "Tagged Artist");
  EXPECT_EQ(record.album, "Tagged Album");
  EXPECT_EQ(record.year, 1999);
  EXPECT_EQ(record.comment, "A comment");
  EXPECT_EQ(record.track, 7);
  EXPECT_EQ(record.genre, "Rock");
  EXPECT_EQ(record.sampleRate, 44100);
  EXPECT_EQ(record.channels, 2);
  EXPECT_EQ(record.length, 1);
  EXPECT_GT(record.bitrate, 0);
}

TEST_P(TagBridge, AFileWithoutTagReadsEmptyFields) {
  // TagLib hands out an empty tag for these formats, so the fields are read as empty.
  TagInfo record = kMarked;
  ASSERT_EQ(ReadTags(Copy("notag"), &record), 1);
  EXPECT_EQ(record.title, "");
  EXPECT_EQ(record.genre, "");
  EXPECT_EQ(record.year, 0);
  EXPECT_EQ(record.sampleRate, 44100);
}

TEST_P(TagBridge, WritesTextsOfEveryScriptAsTheyAreAndClearsNumbersAndEmptyFields) {
  std::string path = Copy("tagged");
  RawTag before = ReadRaw(path);
  const std::string framesBefore = AudioFrames(ReadFileBytes(path), GetParam());
  TagInfo record;
  ASSERT_EQ(ReadTags(path, &record), 1);
  record.title = kCyrillicTitle;
  record.album = kCzechAlbum;
  record.artist = "";
  record.year = 0;
  record.track = 0;
  record.comment = "  spaced  ";
  record.genre = kJapaneseGenre;
  ASSERT_EQ(WriteTags(path, &record), 1);

  RawTag after = ReadRaw(path);
  EXPECT_EQ(after.title, kCyrillicTitle);
  EXPECT_EQ(after.album, kCzechAlbum);
  EXPECT_EQ(after.genre, kJapaneseGenre);
  EXPECT_EQ(after.artist, "");
  EXPECT_EQ(after.year, 0u);
  EXPECT_EQ(after.track, 0u);
  EXPECT_EQ(after.comment, "  spaced  ");
  // The audio properties are untouched by a write.
  EXPECT_EQ(after.bitrate, before.bitrate);
  EXPECT_EQ(after.sampleRate, before.sampleRate);
  EXPECT_EQ(after.channels, before.channels);
  EXPECT_EQ(after.length, before.length);
  EXPECT_EQ(AudioFrames(ReadFileBytes(path), GetParam()), framesBefore);

  TagInfo reread;
  ASSERT_EQ(ReadTags(path, &reread), 1);
  EXPECT_EQ(reread.title, kCyrillicTitle);
  EXPECT_EQ(reread.album, kCzechAlbum);
  EXPECT_EQ(reread.comment, "spaced");  // reading strips the spaces at both ends
}

TEST_P(TagBridge, TextsBeyondLatin1ReadWhole) {
  std::string path = Copy("tagged");
  WriteRawTitle(path, "Snow \xE2\x98\x83 man \xF0\x9F\x98\x80");  // a snowman and a pair
  TagInfo record;
  ASSERT_EQ(ReadTags(path, &record), 1);
  EXPECT_EQ(record.title, "Snow \xE2\x98\x83 man \xF0\x9F\x98\x80");
  record.artist = "Don\xE2\x80\x99t Stop";
  ASSERT_EQ(WriteTags(path, &record), 1);
  EXPECT_EQ(ReadRaw(path).title, "Snow \xE2\x98\x83 man \xF0\x9F\x98\x80");
  EXPECT_EQ(ReadRaw(path).artist, "Don\xE2\x80\x99t Stop");
}

// TagLib's own char* name goes through the ANSI code page; the program's reaches it wide.
TEST_P(TagBridge, NamesOfEveryScriptOpen) {
  for (const std::string& name : {kCyrillicName, kJapaneseName}) {
    const std::string path =
        dir_.CopyFixture(std::string("tagged.") + GetParam(), name + "." + GetParam());
    ASSERT_TRUE(FileExists(path)) << name;
    TagInfo record;
    ASSERT_EQ(ReadTags(path, &record), 1) << name;
    EXPECT_EQ(record.title, "Tagged Title");
    record.title = kCyrillicTitle;
    ASSERT_EQ(WriteTags(path, &record), 1) << name;
    EXPECT_EQ(ReadRaw(path).title, kCyrillicTitle) << name;
    EXPECT_EQ(FileCount(dir_.path()), 1u) << "no copy is left beside " << name;
    RemoveTree(path);
  }
}

TEST_P(TagBridge, AReadOnlyFileIsNotWrittenAndNoCopyIsLeft) {
  std::string path = Copy("tagged");
  std::string bytes = ReadFileBytes(path);
  SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_READONLY);
  TagInfo record;
  ASSERT_EQ(ReadTags(path, &record), 1);
  record.title = "changed";
  unsigned long error = 0;
  EXPECT_EQ(WriteTags(path, &record, &error), 0);
  EXPECT_EQ(error, unsigned(ERROR_ACCESS_DENIED)) << "the reason the box gives";
  SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadFileBytes(path), bytes);
  EXPECT_EQ(FileCount(dir_.path()), 1u);
}

INSTANTIATE_TEST_SUITE_P(Formats, TagBridge, ::testing::Values("mp3", "flac", "ogg"));

TEST(TagBridgeUsableFile, BlankMissingEmptyFolderAndNullGiveZeroAndLeaveTheRecord) {
  TempDir dir;
  WriteFileBytes(dir / "empty.mp3", "");
  std::string good = dir.CopyFixture("tagged.mp3", "good.mp3");
  for (const std::string& name : {std::string("   "), std::string(""), dir / "missing.mp3",
                                  dir / "empty.mp3", dir.path(), dir.path() + "."}) {
    TagInfo record = kMarked;
    EXPECT_EQ(ReadTags(name, &record), 0) << name;
    EXPECT_EQ(record, kMarked) << name;
    EXPECT_EQ(WriteTags(name, &record), 0) << name;
  }
  EXPECT_EQ(ReadTags(good, nullptr), 0);
  EXPECT_EQ(WriteTags(good, nullptr), 0);
  // Surrounding spaces pass the blank test, but the file is opened under its full name.
  TagInfo record;
  EXPECT_EQ(ReadTags(" " + good, &record), 0);
}

TEST(TagBridgeUsableFile, AFileTagLibCannotOpenGivesZero) {
  TempDir dir;
  WriteFileBytes(dir / "notes.txt", "not audio at all");
  TagInfo record = kMarked;
  EXPECT_EQ(ReadTags(dir / "notes.txt", &record), 0);
  EXPECT_EQ(record, kMarked);
  EXPECT_EQ(WriteTags(dir / "notes.txt", &record), 0);
  EXPECT_EQ(ReadFileBytes(dir / "notes.txt"), "not audio at all");
}

// A replace that fails leaves the user a whole file under its name or beside it, never nothing:
// the replace step is put in the test's hands and fails the ways the system's can.
class FailedReplace : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.CopyFixture("tagged.mp3", "song.mp3");
    original_ = ReadFileBytes(path_);
    ASSERT_EQ(ReadTags(path_, &record_), 1);
    record_.title = "Saved Title";
  }
  // WriteTags with a replace step that runs act on the two names and fails with error.
  int Write(unsigned long error, const std::function<void(const std::string&)>& act) {
    return WriteTags(path_, &record_,
                     [&](const std::string&, const std::string& copy, unsigned long& code) {
                       copy_ = copy;
                       act(copy);
                       code = error;
                       return false;
                     });
  }

  TempDir dir_;
  std::string path_, original_, copy_;
  TagInfo record_;
};

TEST_F(FailedReplace, OriginalGoneTheCheckedCopyTakesItsName) {
  EXPECT_EQ(Write(ERROR_UNABLE_TO_MOVE_REPLACEMENT, [&](auto&) { DeleteFileA(path_.c_str()); }), 1);
  EXPECT_EQ(ReadRaw(path_).title, "Saved Title");
  EXPECT_EQ(FileCount(dir_.path()), 1u) << "the copy is now the file";
}

TEST_F(FailedReplace, OriginalUnderAnotherNameBothAreKeptAndTheSaveFails) {
  const std::string elsewhere = dir_ / "song renamed by the system.tmp";
  EXPECT_EQ(Write(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2,
                  [&](auto&) { MoveFileA(path_.c_str(), elsewhere.c_str()); }),
            0);
  EXPECT_EQ(ReadFileBytes(elsewhere), original_);
  EXPECT_EQ(ReadRaw(path_).title, "Saved Title") << "the checked copy took the vacant name";
  EXPECT_EQ(FileCount(dir_.path()), 2u);
}

TEST_F(FailedReplace, OriginalThereUnchangedOnlyTheCopyGoes) {
  EXPECT_EQ(Write(ERROR_ACCESS_DENIED, [](auto&) {}), 0);
  EXPECT_EQ(ReadFileBytes(path_), original_);
  EXPECT_EQ(FileCount(dir_.path()), 1u);
}

TEST_F(FailedReplace, OriginalChangedMeanwhileOrNameTakenKeepsTheCopy) {
  // Someone else wrote the original during the save: neither file is ours to remove.
  EXPECT_EQ(Write(ERROR_UNABLE_TO_REMOVE_REPLACED,
                  [&](auto&) { WriteFileBytes(path_, original_ + "appended"); }),
            0);
  EXPECT_EQ(ReadFileBytes(path_), original_ + "appended");
  ASSERT_TRUE(FileExists(copy_));
  EXPECT_EQ(ReadRaw(copy_).title, "Saved Title");
  DeleteFileA(copy_.c_str());

  // The original is gone but a folder took its name: the copy is the only whole file and stays.
  WriteFileBytes(path_, original_);
  EXPECT_EQ(Write(ERROR_UNABLE_TO_MOVE_REPLACEMENT,
                  [&](auto&) {
                    DeleteFileA(path_.c_str());
                    CreateDirectoryA(path_.c_str(), nullptr);
                  }),
            0);
  EXPECT_EQ(ReadRaw(copy_).title, "Saved Title");
  EXPECT_FALSE(GetFileAttributesA(copy_.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(FailedReplace, ACopyHeldOpenByAnotherProgramIsHidden) {
  FileHandle holder(INVALID_HANDLE_VALUE);
  EXPECT_EQ(Write(ERROR_SHARING_VIOLATION,
                  [&](const std::string& copy) {
                    holder = FileHandle(CreateFileA(copy.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                    nullptr, OPEN_EXISTING, 0, nullptr));
                  }),
            0);
  ASSERT_NE(holder.get(), INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadFileBytes(path_), original_);
  const DWORD attributes = GetFileAttributesA(copy_.c_str());
  EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES) << "a held copy cannot be deleted";
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN) << "it is hidden instead";
  EXPECT_TRUE(IsSaveCopyName(copy_)) << "and keeps the name the runs skip";
}

// What the volume answers about its free space: a volume that does not tell is no full disk (the
// save goes on, guarded by its check); one that has too little room, before or after the save,
// keeps the original as it was, with the reason.
TEST(SaveThroughCopy, AVolumeThatDoesNotTellItsFreeSpaceIsNoFullDisk) {
  const struct {
    std::vector<std::optional<unsigned long long>> answers;  // before the save, after it
    bool saved;
  } cases[] = {{{std::nullopt, std::nullopt}, true},
               {{1ull << 30, std::nullopt}, true},
               {{10, 1ull << 30}, false},
               {{1ull << 30, 10}, false}};
  for (const auto& c : cases) {
    TempDir dir;
    const std::string path = dir.CopyFixture("tagged.mp3", "song.mp3");
    size_t asked = 0;
    unsigned long error = 0;
    const bool saved = SaveThroughCopy(
        path, 1000,
        [](const std::string& copy, unsigned long&) { return WriteFileBytes(copy, "saved"), true; },
        [](const std::string&, unsigned long&) { return true; }, ReplaceWithCopy, error,
        [&](const std::string&) { return c.answers[std::min(asked++, size_t(1))]; });
    EXPECT_EQ(saved, c.saved) << asked;
    EXPECT_EQ(ReadFileBytes(path) == "saved", c.saved);
    EXPECT_EQ(error, c.saved ? 0ul : static_cast<unsigned long>(ERROR_DISK_FULL));
    EXPECT_EQ(FileCount(dir.path()), 1u) << "a copy was left beside the file";
  }
}

// Another program writes the file while it is saved: the save starts again from what the file
// holds then, and a file written during that second save too is left as the other program made it.
TEST(SaveThroughCopy, AFileWrittenMeanwhileIsSavedAgainOnceThenLeftAlone) {
  for (const int writes : {1, 2}) {
    TempDir dir;
    const std::string path = dir.CopyFixture("tagged.mp3", "song.mp3");
    int saves = 0;
    unsigned long error = 0;
    auto save = [&](const std::string& copy, unsigned long&) {
      // What the copy was made from, with the save's mark: a save of the file as it was then.
      WriteFileBytes(copy, ReadFileBytes(copy) + "+saved");
      if (++saves <= writes) WriteFileBytes(path, "other program " + std::to_string(saves));
      return true;
    };
    const bool saved = SaveThroughCopy(
        path, 1000, save, [](const std::string&, unsigned long&) { return true; }, ReplaceWithCopy,
        error);
    EXPECT_EQ(saved, writes == 1);
    EXPECT_EQ(saves, 2);
    EXPECT_EQ(ReadFileBytes(path), writes == 1 ? "other program 1+saved" : "other program 2");
    EXPECT_EQ(error, writes == 1 ? 0ul : kErrorChangedWhileSaved);
    EXPECT_EQ(FileCount(dir.path()), 1u) << "a copy was left beside the file";
  }
}

// What a save keeps: every value the user did not change, as TagLib reads the whole file, and the
// comment frames other programs described as their own.
#include <taglib/apetag.h>
#include <taglib/commentsframe.h>
#include <taglib/fileref.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tpropertymap.h>

#include <gtest/gtest.h>

#include <map>

#include "tags/tag_bridge.h"
#include "tests/support/raw_tag_support.h"
#include "tests/support/win_test_support.h"

using namespace testing_win;

namespace {
// Every property TagLib reads from the file, key by key, as "KEY=value" lines.
std::string Properties(const std::string& path) {
  TagLib::FileRef file(path.c_str());
  if (file.isNull()) return "<does not open>";
  std::string lines;
  for (const auto& [key, values] : file.file()->properties())
    for (const TagLib::String& value : values)
      lines += key.to8Bit(true) + "=" + value.to8Bit(true) + "\n";
  return lines;
}

// The ID3v2 comment frames of an MP3, each as its description, a colon and the frame's own bytes
// (encoding, language, description and text).
std::vector<std::string> CommentFrames(const std::string& path) {
  TagLib::MPEG::File file(path.c_str());
  std::vector<std::string> frames;
  if (!file.hasID3v2Tag()) return frames;
  for (TagLib::ID3v2::Frame* frame : file.ID3v2Tag()->frameList("COMM")) {
    const auto* comment = dynamic_cast<TagLib::ID3v2::CommentsFrame*>(frame);
    const TagLib::ByteVector bytes = frame->render();
    frames.push_back((comment ? comment->description().to8Bit(true) : "?") + ":" +
                     std::string(bytes.data() + 10, bytes.size() - 10));  // past the frame header
  }
  return frames;
}

// The frames that another program described as its own.
std::vector<std::string> Described(std::vector<std::string> frames) {
  std::erase_if(frames, [](const std::string& frame) { return frame.front() == ':'; });
  return frames;
}

// An MP3's APE items, each as its key and its bytes in the tag.
std::map<std::string, std::string> ApeItems(const std::string& path) {
  TagLib::MPEG::File file(path.c_str());
  std::map<std::string, std::string> items;
  if (file.hasAPETag())
    for (const auto& [key, item] : file.APETag()->itemListMap())
      items[key.to8Bit(true)] = std::string(item.render().data(), item.render().size());
  return items;
}

// The bytes of an ID3v2.3 frame (header and data) as they stand in the file; empty when it has
// none by that name.
std::string Frame23(const std::string& bytes, const std::string& id) {
  const size_t at = bytes.find(id);
  if (at == std::string::npos || at + 10 > bytes.size()) return "";
  size_t size = 0;
  for (int i = 4; i < 8; ++i) size = size << 8 | static_cast<unsigned char>(bytes[at + i]);
  return bytes.substr(at, 10 + size);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}
}  // namespace

// Full dates, totals, vinyl sides, several values per field, a disc number and fields the program
// does not know: a title-only save changes the title and nothing else.
class TitleOnlySave : public ::testing::TestWithParam<const char*> {};

TEST_P(TitleOnlySave, LeavesEveryOtherValueAsItWas) {
  TempDir dir;
  const std::string path = dir.CopyFixture(GetParam(), std::string("song-") + GetParam());
  const std::string before = Properties(path);
  ASSERT_NE(before.find("TITLE=Old Title\n"), std::string::npos) << before;
  TagInfo record;
  ASSERT_EQ(ReadTags(path, &record), 1);
  record.title = "New Title";
  ASSERT_EQ(WriteTags(path, &record), 1);
  EXPECT_EQ(Properties(path), Replaced(before, "TITLE=Old Title\n", "TITLE=New Title\n"));
  if (std::string(GetParam()).ends_with(".mp3")) {
    EXPECT_EQ(CommentFrames(path), CommentFrames(dir.CopyFixture(GetParam(), "original.mp3")));
    TagLib::MPEG::File saved(path.c_str());
    EXPECT_FALSE(saved.hasID3v1Tag()) << "the save added a tag the file did not have";
    EXPECT_EQ(saved.ID3v2Tag()->header()->majorVersion(),
              TagLib::MPEG::File(dir.CopyFixture(GetParam(), "version.mp3").c_str())
                  .ID3v2Tag()
                  ->header()
                  ->majorVersion());
  }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, TitleOnlySave,
                         ::testing::Values("rich.flac", "vinyl.flac", "rich.ogg", "vinyl.ogg",
                                           "rich-v23.mp3", "rich-v24.mp3", "rich.m4a"));

// The comment is the file's own: iTunes' described frames are never shown as it, and a typed or a
// cleared comment leaves them byte for byte.
TEST(OwnComment, TypedAndClearedCommentsLeaveTheDescribedFrames) {
  TempDir dir;
  TagInfo record;
  ASSERT_EQ(ReadTags(dir.CopyFixture("rich-v23.mp3", "own.mp3"), &record), 1);
  EXPECT_EQ(record.comment, "Own words");

  const std::string path = dir.CopyFixture("rich-v24.mp3", "itunes.mp3");
  const std::vector<std::string> itunes = CommentFrames(path);
  ASSERT_EQ(itunes.size(), 3u);
  ASSERT_EQ(ReadTags(path, &record), 1);
  EXPECT_EQ(record.comment, "") << "the file has no comment of its own";

  record.comment = "Typed";
  ASSERT_EQ(WriteTags(path, &record), 1);
  TagInfo reread;
  ASSERT_EQ(ReadTags(path, &reread), 1);
  EXPECT_EQ(reread.comment, "Typed");
  EXPECT_EQ(CommentFrames(path).size(), 4u);
  EXPECT_EQ(Described(CommentFrames(path)), itunes);

  record.comment = "";
  ASSERT_EQ(WriteTags(path, &record), 1);
  ASSERT_EQ(ReadTags(path, &reread), 1);
  EXPECT_EQ(reread.comment, "");
  EXPECT_EQ(CommentFrames(path), itunes);
}

// A save writes into the tag types the file has. An APEv2 tag takes every value, so an MP3 with it
// and ID3v1 gets no ID3v2 tag, and its whole values read on; one with ID3v1 alone gets an ID3v2 tag
// only for a value ID3v1 cannot hold, filled from what the program read.
TEST(TagTypes, ASaveKeepsTheTagTypesTheFileHas) {
  struct Case {
    const char* fixture;
    void (*edit)(TagInfo&);
    bool id3v2;  // the saved file has an ID3v2 tag
  } cases[] = {
      {"ape-id3v1.mp3", [](TagInfo& r) { r.year = 2000; }, false},
      {"id3v1.mp3", [](TagInfo& r) { r.title = "Other"; }, false},
      {"id3v1.mp3", [](TagInfo& r) { r.title = "A Title Of Forty Characters, Past ID3v1"; }, true},
      {"id3v1.mp3", [](TagInfo& r) { r.genre = "Shoegaze Revival"; }, true},
      {"id3v1.mp3", [](TagInfo& r) { r.artist = "Кино"; }, true},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::string path = dir.CopyFixture(c.fixture, "song.mp3");
    const std::map<std::string, std::string> apeBefore = ApeItems(path);
    TagInfo record;
    ASSERT_EQ(ReadTags(path, &record), 1);
    c.edit(record);
    ASSERT_EQ(WriteTags(path, &record), 1) << c.fixture;
    TagInfo reread;
    ASSERT_EQ(ReadTags(path, &reread), 1);
    EXPECT_EQ(reread, record) << c.fixture << ": a value reads otherwise after the save";
    {
      TagLib::MPEG::File saved(path.c_str());  // open, it keeps others from reading the file
      EXPECT_EQ(saved.hasID3v2Tag(), c.id3v2)
          << c.fixture << ": " << record.title << ", " << record.artist << ", " << record.genre;
      EXPECT_TRUE(saved.hasID3v1Tag());
    }
    std::map<std::string, std::string> apeAfter = ApeItems(path);
    if (!apeBefore.empty()) {
      EXPECT_EQ(record.title, "A Very Long Song Title Beyond Thirty Characters");
      EXPECT_EQ(record.genre, "Indie Rock");
      apeAfter.erase("YEAR");
      std::map<std::string, std::string> untouched = apeBefore;
      untouched.erase("YEAR");
      EXPECT_EQ(apeAfter, untouched) << "an APE item the save did not set changed";
    }
  }
}

// ID3v2.3 frames that TagLib's reading marks to be dropped (volume adjustment, equaliser,
// recording dates, size) are in the saved file with the bytes they had.
TEST(TagTypes, Id3v23FramesTagLibWouldDropStayByteForByte) {
  TempDir dir;
  const std::string path = dir.CopyFixture("dropped-v23.mp3", "song.mp3");
  const std::string before = ReadFileBytes(path);
  TagInfo record;
  ASSERT_EQ(ReadTags(path, &record), 1);
  record.title = "New Title";
  ASSERT_EQ(WriteTags(path, &record), 1);
  const std::string after = ReadFileBytes(path);
  for (const char* id : {"RVAD", "EQUA", "TRDA", "TSIZ"}) {
    ASSERT_NE(Frame23(before, id), "") << id;
    EXPECT_EQ(Frame23(after, id), Frame23(before, id)) << id;
  }
}

// Several artists and genres read as one text joined by "; ", stay several while left alone, and a
// typed "; " makes several values where the format holds them (one text where it does not).
TEST(SeveralValues, ReadJoinedKeptAndTypedAsSeveralWhereTheFormatHoldsThem) {
  const struct {
    const char* fixture;
    const char *artist, *genre;  // as read
    const char* typed;           // the artist's values after "X; Y" is typed, as TagLib's list
  } cases[] = {{"rich.flac", "Alpha; Beta", "Rock; Pop", "X|Y"},
               {"rich.ogg", "Alpha; Beta", "Rock; Pop", "X|Y"},
               {"rich-v24.mp3", "Alpha; Beta", "Rock; Pop", "X|Y"},
               // ID3v2.3 has no way to part values: one text, as the other program wrote it
               {"rich-v23.mp3", "Alpha/Beta", "Rock/Pop", "X; Y"},
               {"rich.m4a", "Alpha; Beta", "Rock", "X|Y"}};
  for (const auto& c : cases) {
    TempDir dir;
    const std::string path = dir.CopyFixture(c.fixture, c.fixture);
    TagInfo record;
    ASSERT_EQ(ReadTags(path, &record), 1) << c.fixture;
    EXPECT_EQ(record.artist, c.artist) << c.fixture;
    EXPECT_EQ(record.genre, c.genre) << c.fixture;
    const std::string before = Properties(path);
    record.title = "New Title";
    ASSERT_EQ(WriteTags(path, &record), 1) << c.fixture;
    EXPECT_EQ(Properties(path), Replaced(before, "TITLE=Old Title\n", "TITLE=New Title\n"));
    record.artist = "X; Y";
    ASSERT_EQ(WriteTags(path, &record), 1) << c.fixture;
    EXPECT_EQ(PropertyValues(path, "ARTIST"), c.typed) << c.fixture;
  }
}

// What TagLib's save would drop is carried over where it can be (an ID3v2.2 date held in a year
// and a day-month frame), and refused with the reason where it cannot (an MP4 item whose name
// holds a URL), the file left byte for byte.
TEST(SaveCheck, WhatTagLibWouldDropIsCarriedOverOrTheFileIsLeftAsItWas) {
  const struct {
    const char* fixture;
    bool saved;
  } cases[] = {{"id3v22-date.mp3", true}, {"freeform-url.m4a", false}};
  for (const auto& c : cases) {
    TempDir dir;
    const std::string path = dir.CopyFixture(c.fixture, c.fixture);
    const std::string bytes = ReadFileBytes(path);
    TagInfo record;
    ASSERT_EQ(ReadTags(path, &record), 1);
    record.comment = "Typed";
    unsigned long error = 1;
    EXPECT_EQ(WriteTags(path, &record, &error), c.saved ? 1 : 0) << c.fixture;
    EXPECT_EQ(error, c.saved ? 0 : kErrorWouldLoseValues) << c.fixture;
    if (c.saved)
      EXPECT_NE(Properties(path).find("DATE=2010-04-03\n"), std::string::npos) << Properties(path);
    else
      EXPECT_EQ(ReadFileBytes(path), bytes) << c.fixture;
    EXPECT_EQ(FileCount(dir.path()), 1u) << c.fixture;
  }
}

// A track's total, per format: read; kept when only the number changes; written in the form the
// format keeps it; refused by nobody where the format keeps none (the number is still saved).
TEST(TrackTotal, ReadKeptBesideANewNumberAndWrittenAsEachFormatKeepsIt) {
  const struct {
    const char* fixture;
    std::int32_t read;
    const char *renumbered, *totalled;  // TRACKNUMBER|TRACKTOTAL after 9, then after a total of 7
  } cases[] = {{"rich-v23.mp3", 12, "9/12|", "9/7|"},
               {"rich-v24.mp3", 12, "9/12|", "9/7|"},
               {"rich.flac", 12, "9/12|12", "9/7|7"},
               {"rich.ogg", 12, "9/12|12", "9/7|7"},
               {"fmt.opus", 12, "9/12|12", "9/7|7"},
               {"rich.m4a", 12, "9/12|", "9/7|"},
               {"fmt.ape", 12, "9/12|", "9/7|"},
               {"fmt.aiff", 12, "9/12|", "9/7|"},
               {"tagged.mp3", 0, "9|", "9/7|"},
               {"tagged.flac", 0, "9|", "9|7"},
               // a WAV file keeps no total of its own making, but keeps the one its ID3v2 holds
               {"fmt-id3.wav", 0, "9/12|", "9/12|"},
               {"fmt.wma", 0, "9|", "9|"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fixture);
    TempDir dir;
    const std::string path = dir.CopyFixture(c.fixture, c.fixture);
    TagInfo record;
    ASSERT_EQ(ReadTags(path, &record), 1);
    EXPECT_EQ(record.trackTotal, c.read);
    auto numbers = [&] {
      return PropertyValues(path, "TRACKNUMBER") + "|" + PropertyValues(path, "TRACKTOTAL");
    };
    unsigned long error = 0;
    ASSERT_EQ(WriteTags(
                  path, [](TagInfo& fresh) { fresh.track = 9; }, &error),
              1)
        << error;
    EXPECT_EQ(numbers(), c.renumbered);
    ASSERT_EQ(WriteTags(
                  path, [](TagInfo& fresh) { fresh.trackTotal = 7; }, &error),
              1)
        << error;
    EXPECT_EQ(numbers(), c.totalled);
  }
}

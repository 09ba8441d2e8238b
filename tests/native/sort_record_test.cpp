#include "sorter/sort_record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
const std::string kHeader = "DA3Zur sort record 1\r\nstarted\t2026-12-09 14:03\tmove\r\n";

RunRecord ManyScripts() {
  RunRecord record;
  record.started = "2026-12-09 14:03";
  record.move = true;
  record.steps = {
      {RecordStep::kMakeFolder, "D:\\Музыка\\Кино\\", "", {}},
      {RecordStep::kMove,
       "C:\\In\\Группа крови.mp3",
       "D:\\Музыка\\Кино\\Группа крови.mp3",
       {4811234, 133790000000000000}},
      {RecordStep::kSetAside,
       "D:\\音楽\\夜に駆ける.flac",
       "D:\\音楽\\~DA3Zur-夜に駆ける.aside",
       {18446744073709551615u, 0}},
      {RecordStep::kCopy, "C:\\In\\夜に駆ける.flac", "D:\\音楽\\夜に駆ける.flac", {1, 2}},
      {RecordStep::kRemoveFolder, "C:\\In\\😀 party\\", "", {}},
  };
  return record;
}

std::string Text(const RunRecord& record) {
  std::string text = RecordHeader(record.started, record.move);
  for (const RecordStep& step : record.steps) text += RecordLine(step);
  return text;
}
}  // namespace

TEST(SortRecord, WritesOneTabSeparatedLinePerStep) {
  EXPECT_EQ(RecordHeader("2026-12-09 14:03", true), kHeader);
  EXPECT_EQ(RecordHeader("x", false), "DA3Zur sort record 1\r\nstarted\tx\tcopy\r\n");
  EXPECT_EQ(RecordLine({RecordStep::kMove, "C:\\a.mp3", "D:\\b.mp3", {10, 20}}),
            "move\t10\t20\tC:\\a.mp3\tD:\\b.mp3\r\n");
  EXPECT_EQ(RecordLine({RecordStep::kSetAside, "D:\\b.mp3", "D:\\~b", {3, 4}}),
            "aside\t3\t4\tD:\\b.mp3\tD:\\~b\r\n");
  EXPECT_EQ(RecordLine({RecordStep::kMakeFolder, "D:\\R\\", "", {}}), "folder+\tD:\\R\\\r\n");
  EXPECT_EQ(RecordLine({RecordStep::kRemoveFolder, "C:\\In\\", "", {}}), "folder-\tC:\\In\\\r\n");
  EXPECT_EQ(UndoneLine("2026-12-10 08:00"), "undone\t2026-12-10 08:00\r\n");
}

TEST(SortRecord, ReadsBackWhatWasWrittenInEveryScript) {
  const RunRecord record = ManyScripts();
  EXPECT_EQ(record.Files(), 2u);
  auto read = ParseRecord(Text(record));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->started, record.started);
  EXPECT_TRUE(read->move);
  EXPECT_EQ(read->steps, record.steps);
  EXPECT_FALSE(read->undone);

  read = ParseRecord(Text(record) + UndoneLine("later"));
  ASSERT_TRUE(read);
  EXPECT_TRUE(read->undone);
  EXPECT_EQ(read->steps, record.steps);
  // A run killed while writing a line leaves part of it, which is not read (the fuzz target cuts
  // the text everywhere): cut within its target, the line would read as a move to another name.
  read = ParseRecord(Text(record) + "move\t1\t2\tC:\\a.mp3\tD:\\a");
  ASSERT_TRUE(read);
  EXPECT_EQ(read->steps, record.steps);
}

TEST(SortRecord, LinesThatCantBeReadAreSkippedAndTheRestKept) {
  const std::string good = "folder+\tD:\\R\\\r\n";
  for (const char* bad : {
           "move\t1\t2\tC:\\a.mp3\r\n",                         // a field short
           "move\t1\t2\tC:\\a.mp3\tD:\\a.mp3\textra\r\n",       // a field more
           "move\t1\t\tC:\\a.mp3\tD:\\a.mp3\r\n",               // no time
           "copy\t-1\t2\tC:\\a.mp3\tD:\\a.mp3\r\n",             // a sign
           "copy\t1x\t2\tC:\\a.mp3\tD:\\a.mp3\r\n",             // not a number
           "aside\t18446744073709551616\t2\tC:\\a\tD:\\b\r\n",  // more than 64 bits
           "aside\t1\t2\t\tD:\\b\r\n",                          // no source
           "folder+\t\r\n",                                     // no folder
           "folder-\tC:\\a\\\tC:\\b\\\r\n",                     // a folder too many
           "Move\t1\t2\tC:\\a\tD:\\b\r\n",                      // no such step
           "\r\n",
           "undone\r\n",  // no date: no undone line
       }) {
    auto read = ParseRecord(kHeader + good + bad + good);
    ASSERT_TRUE(read) << bad;
    EXPECT_EQ(read->steps.size(), 2u) << bad;
    EXPECT_FALSE(read->undone) << bad;
  }
}

TEST(SortRecord, OnlyATextWithTheHeaderIsARecord) {
  for (const std::string& text : {
           std::string(),
           std::string("DA3Zur sort record 1\r\n"),
           std::string("DA3Zur sort record 1\r\nstarted\t2026-12-09 14:03\tmove"),  // cut
           std::string("DA3Zur sort record 2\r\nstarted\tx\tmove\r\n"),
           std::string("DA3Zur sort record 1\r\nstarted\tx\tsideways\r\n"),
           std::string("DA3Zur sort record 1\r\nbegun\tx\tmove\r\n"),
           std::string("DA3Zur sort record 1\r\nstarted\tx\r\n"),
           std::string("move\t1\t2\tC:\\a\tD:\\b\r\n"),
       })
    EXPECT_FALSE(ParseRecord(text)) << text;
  // An editor may have saved it with LF alone, or added a byte-order mark.
  for (const std::string& text :
       {std::string("DA3Zur sort record 1\nstarted\tx\tcopy\n"
                    "copy\t1\t2\tC:\\a\tD:\\b\n"),
        std::string("\xEF\xBB\xBF") + "DA3Zur sort record 1\r\nstarted\tx\tcopy\r\n"
                                      "copy\t1\t2\tC:\\a\tD:\\b\r\n"}) {
    auto read = ParseRecord(text);
    ASSERT_TRUE(read);
    EXPECT_FALSE(read->move);
    EXPECT_EQ(read->steps,
              (std::vector<RecordStep>{{RecordStep::kCopy, "C:\\a", "D:\\b", {1, 2}}}));
  }
}

TEST(SortRecord, KeepsTheNewestRecordsAndNoOtherFile) {
  EXPECT_EQ(RecordName("20261209-140312", 1), "sort-20261209-140312-1.txt");
  const std::vector<std::string> names = {
      "sort-20261209-140312-1.txt",
      "sort-20251231-235959-1.txt",
      "sort-20261209-140312-10.txt",
      "sort-20261209-140312-2.txt",
      "notes.txt",
      "sort-2026129-140312-1.txt",
      "sort-20261209-140312-.txt",
      "sort-20261209-140312-1.TXT",
      "sort-2026120x-140312-1.txt",
      "sort-20261209-140312-1.txt~",
  };
  struct Case {
    size_t keep;
    std::vector<std::string> removed;
  };
  for (const Case& c : std::vector<Case>{
           {10, {}},
           {4, {}},
           {2, {"sort-20251231-235959-1.txt", "sort-20261209-140312-1.txt"}},
           {0,
            {"sort-20251231-235959-1.txt", "sort-20261209-140312-1.txt",
             "sort-20261209-140312-2.txt", "sort-20261209-140312-10.txt"}},
       })
    EXPECT_EQ(RecordsToRemove(names, c.keep), c.removed) << c.keep;
  EXPECT_EQ(NewestRecord(names), "sort-20261209-140312-10.txt");
  EXPECT_EQ(NewestRecord({"notes.txt"}), std::nullopt);
  EXPECT_EQ(NewestRecord({}), std::nullopt);
}

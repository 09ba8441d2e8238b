#include "file_steps/sort_record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
const std::string kHeader = "DA3Zur sort record 2\r\nstarted\t2026-12-09 14:03\tmove\r\n";

RunRecord ManyScripts() {
  RunRecord record;
  record.started = "2026-12-09 14:03";
  record.move = true;
  record.steps = {
      {.kind = RecordStep::kMakeFolder, .from = "D:\\Музыка\\Кино\\", .done = FileState{}},
      {.kind = RecordStep::kMove,
       .from = "C:\\In\\Группа крови.mp3",
       .to = "D:\\Музыка\\Кино\\Группа крови.mp3",
       .mark = {4811234, 133790000000000000},
       .done = FileState{"2882400018:281474976715113", {4811234, 133790000000000000}},
       .back = true,
       .identity = "2882400018:281474976715113",
       .saved = FileState{"2882400018:281474976715900", {4811300, 133790000100000000}}},
      {.kind = RecordStep::kSetAside,
       .from = "D:\\音楽\\夜に駆ける.flac",
       .to = "D:\\音楽\\~DA3Zur-夜に駆ける.aside",
       .mark = {18446744073709551615u, 0},
       .done = FileState{"1:2", {18446744073709551615u, 0}}},
      {.kind = RecordStep::kCopy,
       .from = "C:\\In\\夜に駆ける.flac",
       .to = "D:\\音楽\\夜に駆ける.flac",
       .mark = {1, 2},
       .done = FileState{"", {1, 3}}},
      // tried, and failed
      {.kind = RecordStep::kCopy,
       .from = "C:\\In\\b.flac",
       .to = "D:\\音楽\\b.flac",
       .mark = {1, 2},
       .identity = "7:8",
       .failed = true},
      {.kind = RecordStep::kRemoveFolder, .from = "C:\\In\\😀 party\\"},
  };
  return record;
}

// The record as a run writes it: each step's line, its done line after it, then undo's back lines.
std::string Text(const RunRecord& record) {
  std::string text = RecordHeader(record.started, record.move);
  for (size_t n = 0; n < record.steps.size(); ++n) {
    text += RecordLine(record.steps[n]);
    if (record.steps[n].done) text += DoneLine(n, *record.steps[n].done);
    if (record.steps[n].failed) text += FailedLine(n);
    if (record.steps[n].saved) text += SavedLine(n, *record.steps[n].saved);
  }
  for (size_t n = 0; n < record.steps.size(); ++n)
    if (record.steps[n].back) text += BackLine(n);
  return text;
}
}  // namespace

TEST(SortRecord, WritesOneTabSeparatedLinePerStep) {
  EXPECT_EQ(RecordHeader("2026-12-09 14:03", true), kHeader);
  EXPECT_EQ(RecordHeader("x", false), "DA3Zur sort record 2\r\nstarted\tx\tcopy\r\n");
  EXPECT_EQ(
      RecordLine(
          {.kind = RecordStep::kMove, .from = "C:\\a.mp3", .to = "D:\\b.mp3", .mark = {10, 20}}),
      "move\t10\t20\tC:\\a.mp3\tD:\\b.mp3\r\n");
  EXPECT_EQ(RecordLine({.kind = RecordStep::kCopy,
                        .from = "C:\\a.mp3",
                        .to = "D:\\b.mp3",
                        .mark = {10, 20},
                        .identity = "1:2"}),
            "copy\t10\t20\tC:\\a.mp3\tD:\\b.mp3\t1:2\r\n");
  EXPECT_EQ(FailedLine(3), "failed\t3\r\n");
  EXPECT_EQ(
      RecordLine(
          {.kind = RecordStep::kSetAside, .from = "D:\\b.mp3", .to = "D:\\~b", .mark = {3, 4}}),
      "aside\t3\t4\tD:\\b.mp3\tD:\\~b\r\n");
  EXPECT_EQ(RecordLine({.kind = RecordStep::kMakeFolder, .from = "D:\\R\\"}),
            "folder+\tD:\\R\\\r\n");
  EXPECT_EQ(DoneLine(3, {"7:9", {10, 20}}), "done\t3\t7:9\t10\t20\r\n");
  EXPECT_EQ(DoneLine(0, {}), "done\t0\r\n");
  EXPECT_EQ(BackLine(12), "back\t12\r\n");
  EXPECT_EQ(UndoneLine("2026-12-10 08:00"), "undone\t2026-12-10 08:00\r\n");
}

TEST(SortRecord, ReadsBackWhatWasWrittenInEveryScript) {
  const RunRecord record = ManyScripts();
  EXPECT_EQ(record.Files(), 2u);  // the copy only tried counts for nothing
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
  // Undo closes the cut line before it marks the run undone, and the mark is read.
  read = ParseRecord(Text(record) + "move\t1\t2\tC:\\a.mp3\tD:\\a\r\n" + UndoneLine("later"));
  ASSERT_TRUE(read && read->undone);
  // A second done line for a step is damage: the first, written when the step succeeded, counts.
  read = ParseRecord(Text(record) + DoneLine(1, {"8:8", {1, 1}}));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->steps, record.steps);
  // Cut within a done line, the step stays undone: "done\t1\t2882" would name another file.
  read = ParseRecord(RecordHeader("x", true) + RecordLine(record.steps[1]) + "done\t0\t2882");
  ASSERT_TRUE(read);
  EXPECT_FALSE(read->steps[0].done);
}

TEST(SortRecord, LinesThatCantBeReadAreSkippedAndTheRestKept) {
  const std::string good = "folder+\tD:\\R\\\r\n";
  for (const char* bad : {
           "move\t1\t2\tC:\\a.mp3\r\n",                         // a field short
           "move\t1\t2\tC:\\a.mp3\tD:\\a.mp3\t1:2\tx\r\n",      // a field more
           "aside\t1\t2\tC:\\a\tD:\\b\t1:2\r\n",                // an identity: none there
           "failed\t0\r\n",                                     // a folder's step: none fails
           "move\t1\t\tC:\\a.mp3\tD:\\a.mp3\r\n",               // no time
           "copy\t-1\t2\tC:\\a.mp3\tD:\\a.mp3\r\n",             // a sign
           "copy\t1x\t2\tC:\\a.mp3\tD:\\a.mp3\r\n",             // not a number
           "aside\t18446744073709551616\t2\tC:\\a\tD:\\b\r\n",  // more than 64 bits
           "aside\t1\t2\t\tD:\\b\r\n",                          // no source
           "folder+\t\r\n",                                     // no folder
           "folder-\tC:\\a\\\tC:\\b\\\r\n",                     // a folder too many
           "Move\t1\t2\tC:\\a\tD:\\b\r\n",                      // no such step
           "\r\n",
           "undone\r\n",              // no date: no undone line
           "done\t9\r\n",             // no such step
           "done\t0\t1:2\t3\t4\r\n",  // a folder's step done with a file
           "done\t0\t1:2\t3\r\n",     // a field short
           "back\t5\r\n",             // no such step
           "back\tx\r\n",
       }) {
    auto read = ParseRecord(kHeader + good + bad + good);
    ASSERT_TRUE(read) << bad;
    EXPECT_EQ(read->steps.size(), 2u) << bad;
    EXPECT_FALSE(read->steps[0].done || read->steps[0].back) << bad;
    EXPECT_FALSE(read->undone) << bad;
  }
}

TEST(SortRecord, OnlyATextWithTheHeaderIsARecord) {
  for (const std::string& text : {
           std::string(),
           std::string("DA3Zur sort record 2\r\n"),
           std::string("DA3Zur sort record 2\r\nstarted\t2026-12-09 14:03\tmove"),  // cut
           std::string("DA3Zur sort record 1\r\nstarted\tx\tmove\r\n"),  // an earlier version's
           std::string("DA3Zur sort record 2\r\nstarted\tx\tsideways\r\n"),
           std::string("DA3Zur sort record 2\r\nbegun\tx\tmove\r\n"),
           std::string("DA3Zur sort record 2\r\nstarted\tx\r\n"),
           std::string("move\t1\t2\tC:\\a\tD:\\b\r\n"),
       })
    EXPECT_FALSE(ParseRecord(text)) << text;
  // An editor may have saved it with LF alone, or added a byte-order mark.
  for (const std::string& text :
       {std::string("DA3Zur sort record 2\nstarted\tx\tcopy\n"
                    "copy\t1\t2\tC:\\a\tD:\\b\n"),
        std::string("\xEF\xBB\xBF") + "DA3Zur sort record 2\r\nstarted\tx\tcopy\r\n"
                                      "copy\t1\t2\tC:\\a\tD:\\b\r\n"}) {
    auto read = ParseRecord(text);
    ASSERT_TRUE(read);
    EXPECT_FALSE(read->move);
    EXPECT_EQ(read->steps,
              (std::vector<RecordStep>{
                  {.kind = RecordStep::kCopy, .from = "C:\\a", .to = "D:\\b", .mark = {1, 2}}}));
  }
}

TEST(SortRecord, RecordsAreOrderedByTheirNumberAndOnlyTheirsRemoved) {
  EXPECT_EQ(RecordName(12), "sort-12.txt");
  const std::vector<std::string> names = {
      "sort-9.txt",  "sort-20261209-140312-1.txt",  // an earlier version's name: the oldest
      "sort-10.txt", "notes.txt",
      "sort-.txt",   "sort-1.TXT",
      "sort-1x.txt", "sort-2.txt~",
  };
  EXPECT_EQ(RecordsNewestFirst(names),
            (std::vector<std::string>{"sort-10.txt", "sort-9.txt", "sort-20261209-140312-1.txt"}));
  EXPECT_EQ(NextRecordNumber(names), 11u);
  EXPECT_EQ(NextRecordNumber({"notes.txt"}), 1u);
  EXPECT_EQ(NextRecordNumber({"sort-18446744073709551615.txt"}), 18446744073709551615u);
  EXPECT_EQ(RecordsToRemove(names, 1),
            (std::vector<std::string>{"sort-20261209-140312-1.txt", "sort-9.txt"}));
  EXPECT_EQ(RecordsToRemove(names, 3), std::vector<std::string>{});
}

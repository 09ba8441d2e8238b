#include "file_steps/undo_run.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/native/default_texts.h"
#include "tests/native/memory_disk.h"

namespace {
const std::string kSong = "C:\\In\\a.mp3", kCover = "C:\\In\\cover.jpg",
                  kPlaced = "D:\\Music\\a\\a.mp3", kPlacedCover = "D:\\Music\\a\\cover.jpg";

// A road: files made, a sort, what the user did then, an undo; what is on the disk at the end
// (by content), and what undo said.
struct Road {
  const char* what;
  bool move;
  std::function<void(MemoryDisk&)> before, between;
  std::vector<std::string> rows;
  std::map<std::string, std::uint64_t> after;  // path and content (the mark's last write)
  size_t undone, files;
  std::vector<std::string> notUndone;  // the reasons, in order
};
}  // namespace

TEST(UndoRun, TakesBackOnlyWhatTheRunDidAndDeletesNothingThatIsNotAlsoElsewhere) {
  const TextTable& texts = Texts();
  auto song = [](MemoryDisk& disk) {
    disk.folders.insert("C:\\In\\");
    disk.Make(kSong);  // content 1
  };
  for (const Road& road : std::vector<Road>{
           {"a move goes back", true, song, {}, {kSong}, {{kSong, 1}}, 1, 1, {}},
           {"a moved file edited since goes back as it is now",
            true,
            song,
            [](MemoryDisk& disk) { disk.files[kPlaced].mark.lastWrite = 50; },
            {kSong},
            {{kSong, 50}},
            1,
            1,
            {}},
           {"a copy goes while its original is there",
            false,
            song,
            {},
            {kSong},
            {{kSong, 1}},
            1,
            1,
            {}},
           {"a copy stays when its original is gone",
            false,
            song,
            [](MemoryDisk& disk) { disk.files.erase(kSong); },
            {kSong},
            {{kPlaced, 1}},
            0,
            1,
            {texts[kTextUndoOriginalGone]}},
           {"a copy changed since stays",
            false,
            song,
            [](MemoryDisk& disk) { disk.files[kPlaced].mark.lastWrite = 50; },
            {kSong},
            {{kSong, 1}, {kPlaced, 50}},
            0,
            1,
            {texts[kTextUndoChanged]}},
           {"a copy onto itself is no step: undo finds nothing",
            false,
            [](MemoryDisk& disk) {
              disk.folders.insert({"D:\\Music\\", "D:\\Music\\a\\"});
              disk.Make(kPlaced);
            },
            {},
            {kPlaced},
            {{kPlaced, 1}},
            0,
            0,
            {}},
           {"a copy that failed on its source leaves the file at the target",
            false,
            [](MemoryDisk& disk) {
              disk.folders.insert({"C:\\In\\", "D:\\Music\\", "D:\\Music\\a\\"});
              disk.Make(kSong);
              disk.Make(kPlaced);
              disk.failing[kSong] = 32;
            },
            {},
            {kSong},
            {{kSong, 1}, {kPlaced, 2}},
            0,
            0,
            {}},
           {"a replaced file comes back once its copy is gone",
            false,
            [](MemoryDisk& disk) {
              disk.folders.insert({"C:\\In\\", "D:\\Music\\", "D:\\Music\\a\\"});
              disk.Make(kSong);
              disk.Make(kPlaced);
            },
            {},
            {kSong},
            {{kSong, 1}, {kPlaced, 2}},
            1,
            1,
            {}},
           {"a file moved into the place of a moved one is not moved back over",
            true,
            song,
            [](MemoryDisk& disk) { disk.Make(kSong); },
            {kSong},
            {{kSong, 3}, {kPlaced, 1}},
            0,
            1,
            {texts[kTextUndoOccupied]}},
       }) {
    MemoryDisk disk;
    road.before(disk);
    disk.Sort(texts, road.rows, road.move);
    if (road.between) road.between(disk);
    const std::optional<UndoSummary> summary = disk.UndoLast(texts);
    std::map<std::string, std::uint64_t> after;
    for (const auto& [path, file] : disk.files) after[path] = file.mark.lastWrite;
    EXPECT_EQ(after, road.after) << road.what;
    EXPECT_EQ(summary ? summary->undone : 0, road.undone) << road.what;
    EXPECT_EQ(summary ? summary->files : 0, road.files) << road.what;
    std::vector<std::string> reasons;
    for (const auto& not_undone :
         summary ? summary->notUndone : std::vector<UndoSummary::NotUndone>{})
      reasons.push_back(not_undone.reason);
    EXPECT_EQ(reasons, road.notUndone) << road.what;
    // Undone, the folders the run made are gone again.
    EXPECT_EQ(disk.folders.count("D:\\Music\\a\\"), after.count(kPlaced) || !summary) << road.what;
  }
}

TEST(UndoRun, AnUndoCutShortIsFinishedLaterAndARunThatDidNothingLeavesTheUndoToTheOneBefore) {
  const TextTable& texts = Texts();
  MemoryDisk disk;
  disk.folders.insert("C:\\In\\");
  disk.Make(kSong);
  disk.Make(kCover);
  disk.Sort(texts, {kSong}, true);
  // A second run that placed nothing (its file is gone) is not the last sort.
  disk.Sort(texts, {"C:\\In\\gone.mp3"}, true);
  EXPECT_EQ(disk.files.count(kPlacedCover), 1u);
  // Killed after the first line it writes, undo has moved the cover back and said so, and the
  // song back without saying so.
  disk.killAfter = 1;
  EXPECT_THROW(disk.UndoLast(texts), Killed);
  EXPECT_EQ(disk.files.count(kCover), 1u);
  EXPECT_EQ(disk.files.count(kSong), 1u);
  disk.killAfter = SIZE_MAX;
  const std::optional<UndoSummary> again = disk.UndoLast(texts);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->files, 1u);   // the song; the cover was taken back before
  EXPECT_EQ(again->undone, 1u);  // found back
  EXPECT_TRUE(again->notUndone.empty());
  EXPECT_EQ(disk.files.count(kSong), 1u);
  EXPECT_FALSE(disk.UndoLast(texts));  // undone now
}

TEST(UndoRun, AFileStoppedByCancelEndsTheUndoWithTheRecordLeftToFinish) {
  MemoryDisk disk;
  disk.folders.insert("C:\\In\\");
  disk.Make(kSong);
  disk.Sort(Texts(), {kSong}, true);
  disk.failing[kPlaced] = kErrorRequestAborted;
  const std::optional<UndoSummary> stopped = disk.UndoLast(Texts());
  ASSERT_TRUE(stopped);
  EXPECT_TRUE(stopped->endedEarly);
  ASSERT_EQ(stopped->notUndone.size(), 1u);
  EXPECT_EQ(stopped->notUndone[0].reason, Texts()[kTextStopped]);
  disk.failing.clear();
  const std::optional<UndoSummary> finished = disk.UndoLast(Texts());
  ASSERT_TRUE(finished);
  EXPECT_EQ(finished->undone, 1u);
  EXPECT_EQ(disk.files.count(kSong), 1u);
}

TEST(UndoRun, ARecordThatCantBeWrittenStopsTheRunBeforeItsNextStep) {
  MemoryDisk disk;
  disk.folders.insert("C:\\In\\");
  disk.Make(kSong);
  disk.recordFails = true;
  const SortSummary summary = disk.Sort(Texts(), {kSong, kCover}, true);
  EXPECT_TRUE(summary.endedEarly);
  EXPECT_EQ(summary.placed, 0u);
  ASSERT_EQ(summary.notPlaced.size(), 1u);
  EXPECT_EQ(summary.notPlaced[0].reason, Texts()[kTextRecordUnwritable]);
  EXPECT_EQ(disk.files.count(kSong), 1u);
}

TEST(SortRun, AnAlbumFileNeverReplacesAFileAndAUserFolderIsNoAlbum) {
  for (const bool move : {false, true}) {
    MemoryDisk disk;
    disk.folders.insert({"C:\\In\\", "C:\\Downloads\\", "D:\\Music\\", "D:\\Music\\a\\"});
    for (const char* path :
         {"C:\\In\\a.mp3", "C:\\In\\cover.jpg", "C:\\In\\rip.log", "D:\\Music\\a\\cover.jpg",
          "C:\\Downloads\\b.mp3", "C:\\Downloads\\front.png"})
      disk.Make(path);
    const SortSummary summary = disk.Sort(Texts(), {"C:\\In\\a.mp3", "C:\\Downloads\\b.mp3"}, move);
    EXPECT_EQ(summary.placed, 3u) << move;  // the two tracks and the log
    ASSERT_EQ(summary.notPlaced.size(), 1u) << move;
    EXPECT_EQ(summary.notPlaced[0].source, "C:\\In\\cover.jpg");
    EXPECT_EQ(summary.notPlaced[0].reason, Texts()[kTextTargetExists]);
    EXPECT_EQ(disk.files.at("D:\\Music\\a\\cover.jpg").mark.lastWrite, 4u) << move;
    EXPECT_EQ(disk.files.count("C:\\Downloads\\front.png"), 1u) << move;
    EXPECT_EQ(disk.files.count("D:\\Music\\b\\front.png"), 0u) << move;
  }
}

TEST(SortRun, AFileOnADriveWithoutARecycleBinIsReplacedOnlyWhenTheUserSaysSo) {
  for (const bool yes : {false, true}) {
    MemoryDisk disk;
    disk.folders.insert({"C:\\In\\", "D:\\Music\\", "D:\\Music\\a\\"});
    disk.Make(kSong);
    disk.Make(kPlaced);
    disk.noBin = {'D'};
    disk.replaceWithoutBin = yes;
    const SortSummary summary = disk.Sort(Texts(), {kSong}, false);
    EXPECT_EQ(summary.placed, yes ? 1u : 0u);
    EXPECT_EQ(disk.files.at(kPlaced).mark.lastWrite, yes ? 1u : 2u);
    if (!yes)
      EXPECT_EQ(summary.notPlaced.at(0).reason,
                Texts()[kTextTargetExists] + "; " + Texts()[kTextNoBinKept]);
  }
}

TEST(UndoReportText, CountsThenListsTheFirstFilesNotPutBack) {
  UndoSummary summary{14, 2, false, {}};
  for (int i = 0; i < 12; ++i) summary.notUndone.push_back({"f" + std::to_string(i), "r"});
  TextTable texts = Texts();
  texts[kTextMoreNotPlaced] = "und %1 weitere";
  EXPECT_EQ(UndoReportText(texts, summary, 2),
            "2 of 14 files were put back.\r\n\r\nf0\r\n    r\r\nf1\r\n    r\r\nund 10 weitere");
  summary = {1, 0, true, {}};
  EXPECT_EQ(UndoReportText(texts, summary),
            "0 of 1 file was put back.\r\nThe undo was cut short; start it again to finish it.");
}

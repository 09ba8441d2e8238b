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

// An undo cut short, by a forced end after its first line or by Cancel while a file goes back,
// is finished by the next; a run that placed nothing between leaves the undo to the one before.
TEST(UndoRun, AnUndoCutShortIsFinishedByTheNext) {
  const TextTable& texts = Texts();
  struct Cut {
    const char* what;
    std::function<void(MemoryDisk&)> cut;
    std::vector<std::string> reasons;  // what the cut undo says of its files
  };
  for (const Cut& c : std::vector<Cut>{
           {"killed", [](MemoryDisk& disk) { disk.killAfter = 1; }, {}},
           {"cancelled",
            [](MemoryDisk& disk) { disk.failing[kPlaced] = kErrorRequestAborted; },
            {texts[kTextStopped]}},
       }) {
    MemoryDisk disk;
    disk.folders.insert("C:\\In\\");
    disk.Make(kSong);
    disk.Make(kCover);
    disk.Sort(texts, {kSong}, true);
    disk.Sort(texts, {"C:\\In\\gone.mp3"}, true);
    ASSERT_EQ(disk.files.count(kPlacedCover), 1u);
    c.cut(disk);
    try {
      const std::optional<UndoSummary> cut = disk.UndoLast(texts);
      ASSERT_TRUE(cut && cut->endedEarly) << c.what;
      std::vector<std::string> reasons;
      for (const auto& file : cut->notUndone) reasons.push_back(file.reason);
      EXPECT_EQ(reasons, c.reasons) << c.what;
    } catch (const Killed&) {
    }
    EXPECT_EQ(disk.files.count(kCover), 1u) << c.what;  // taken back, and marked so, first
    disk.killAfter = SIZE_MAX;
    disk.failing.clear();
    const std::optional<UndoSummary> again = disk.UndoLast(texts);
    ASSERT_TRUE(again) << c.what;
    EXPECT_EQ(again->files, 1u) << c.what;  // the song: the cover was taken back before
    EXPECT_EQ(again->undone, 1u) << c.what;
    EXPECT_TRUE(again->notUndone.empty()) << c.what;
    EXPECT_EQ(disk.files.count(kSong), 1u) << c.what;
    EXPECT_FALSE(disk.UndoLast(texts)) << c.what;  // undone now
  }
}

// What a run leaves where it may not place a file, or may place no further one.
TEST(SortRun, RefusesWhatWouldCostAFileAndStopsWithoutARecord) {
  const TextTable& texts = Texts();
  auto album = [](MemoryDisk& disk) {
    disk.folders.insert({"C:\\In\\", "C:\\Downloads\\", "D:\\Music\\", "D:\\Music\\a\\"});
    for (const char* path :
         {"C:\\In\\a.mp3", "C:\\In\\cover.jpg", "C:\\In\\rip.log", "D:\\Music\\a\\cover.jpg",
          "C:\\Downloads\\b.mp3", "C:\\Downloads\\front.png"})
      disk.Make(path);
  };
  auto replacing = [](bool yes) {
    return [yes](MemoryDisk& disk) {
      disk.folders.insert({"C:\\In\\", "D:\\Music\\", "D:\\Music\\a\\"});
      disk.Make(kSong);
      disk.Make(kPlaced);
      disk.noBin = {'D'};
      disk.replaceWithoutBin = yes;
    };
  };
  const std::vector<std::pair<std::string, std::string>> coverStays = {
      {"C:\\In\\cover.jpg", texts[kTextTargetExists]}};
  struct Case {
    const char* what;
    bool move;
    std::function<void(MemoryDisk&)> before;
    std::vector<std::string> rows;
    size_t placed;
    std::vector<std::pair<std::string, std::string>> notPlaced;  // file and reason
    std::map<std::string, std::uint64_t> kept;                   // path and content
    bool endedEarly = false;
  };
  for (const Case& c : std::vector<Case>{
           // The album's log goes along, its cover never replaces one, and a user's folder is
           // no album: its picture stays.
           {"album, copy",
            false,
            album,
            {"C:\\In\\a.mp3", "C:\\Downloads\\b.mp3"},
            3,
            coverStays,
            {{"D:\\Music\\a\\cover.jpg", 4}, {"C:\\Downloads\\front.png", 6}}},
           {"album, move",
            true,
            album,
            {"C:\\In\\a.mp3", "C:\\Downloads\\b.mp3"},
            3,
            coverStays,
            {{"D:\\Music\\a\\cover.jpg", 4}, {"C:\\Downloads\\front.png", 6}}},
           {"no Recycle Bin, No",
            false,
            replacing(false),
            {kSong},
            0,
            {{kSong, texts[kTextTargetExists] + "; " + texts[kTextNoBinKept]}},
            {{kPlaced, 2}}},
           {"no Recycle Bin, Yes", false, replacing(true), {kSong}, 1, {}, {{kPlaced, 1}}},
           {"no record",
            true,
            [](MemoryDisk& disk) {
              disk.folders.insert("C:\\In\\");
              disk.Make(kSong);
              disk.recordFails = true;
            },
            {kSong, kCover},
            0,
            {{kSong, texts[kTextRecordUnwritable]}},
            {{kSong, 1}},
            true},
       }) {
    MemoryDisk disk;
    c.before(disk);
    const SortSummary summary = disk.Sort(texts, c.rows, c.move);
    EXPECT_EQ(summary.placed, c.placed) << c.what;
    std::vector<std::pair<std::string, std::string>> notPlaced;
    for (const auto& file : summary.notPlaced) notPlaced.emplace_back(file.source, file.reason);
    EXPECT_EQ(notPlaced, c.notPlaced) << c.what;
    EXPECT_EQ(summary.endedEarly, c.endedEarly) << c.what;
    for (const auto& [path, content] : c.kept)
      EXPECT_EQ(disk.files.count(path) ? disk.files.at(path).mark.lastWrite : 0, content)
          << c.what << " " << path;
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

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
using Action = std::function<void(MemoryDisk&)>;
using Contents = std::map<std::string, std::uint64_t>;  // path and content (the last write)

// What the user had before a run, and did after it.
void Song(MemoryDisk& disk) {
  disk.folders.insert("C:\\In\\");
  disk.Make(kSong);  // content 1
}
void Placed(MemoryDisk& disk) {
  disk.folders.insert({"D:\\Music\\", "D:\\Music\\a\\"});
  disk.Make(kPlaced);
}
void Both(MemoryDisk& disk) {
  Song(disk);
  Placed(disk);  // content 2
}
void Held(MemoryDisk& disk) {
  Both(disk);
  disk.failing[kSong] = 32;  // held by another program
}
void NoIds(MemoryDisk& disk) {
  Song(disk);
  disk.identities = false;  // the size and last write tell the files apart
}
void Edit(MemoryDisk& disk) { disk.files[kPlaced].mark.lastWrite = 50; }
void Delete(MemoryDisk& disk) { disk.files.erase(kSong); }
void Remake(MemoryDisk& disk) { disk.Make(kSong); }
void DeleteCopy(MemoryDisk& disk) { disk.files.erase(kPlaced); }

std::vector<std::string> Reasons(const std::optional<UndoSummary>& summary) {
  std::vector<std::string> reasons;
  for (const auto& file : summary ? summary->notUndone : std::vector<UndoSummary::NotUndone>{})
    reasons.push_back(file.reason);
  return reasons;
}
}  // namespace

// A road: files made, a sort of one row, what the user did then, an undo; what is on the disk at
// the end, and what undo said. Every file step counts: undone, or not with its reason.
TEST(UndoRun, TakesBackOnlyWhatTheRunDidAndDeletesNothingThatIsNotAlsoElsewhere) {
  const TextTable& texts = Texts();
  struct Road {
    const char* what;
    bool move;
    Action before, between;
    std::string row;
    Contents after;
    size_t undone;
    std::vector<TextId> notUndone;
    size_t binned = 0;  // files in the Recycle Bin after the undo
  };
  const std::vector<Road> roads = {
      {"moved", true, Song, {}, kSong, {{kSong, 1}}, 1, {}},
      {"moved, edited since", true, Song, Edit, kSong, {{kSong, 50}}, 1, {}},
      {"copied", false, Song, {}, kSong, {{kSong, 1}}, 1, {}, 1},
      {"copy gone", false, Song, DeleteCopy, kSong, {{kSong, 1}}, 0, {kTextUndoCopyNotFound}},
      {"original gone", false, Song, Delete, kSong, {{kPlaced, 1}}, 0, {kTextUndoOriginalGone}},
      {"changed", false, Song, Edit, kSong, {{kSong, 1}, {kPlaced, 50}}, 0, {kTextUndoChanged}},
      {"copy onto itself: no step", false, Placed, {}, kPlaced, {{kPlaced, 1}}, 0, {}},
      {"source held: target left", false, Held, {}, kSong, {{kSong, 1}, {kPlaced, 2}}, 0, {}},
      {"replaced file back", false, Both, {}, kSong, {{kSong, 1}, {kPlaced, 2}}, 1, {}, 1},
      {"occupied", true, Song, Remake, kSong, {{kSong, 3}, {kPlaced, 1}}, 0, {kTextUndoOccupied}},
      {"no identities, moved", true, NoIds, Edit, kSong, {{kPlaced, 50}}, 0, {kTextUndoMissing}},
      {"no identities, copied", false, NoIds, {}, kSong, {{kSong, 1}}, 1, {}, 1},
  };
  for (const Road& road : roads) {
    MemoryDisk disk;
    road.before(disk);
    disk.Sort(texts, {road.row}, road.move);
    if (road.between) road.between(disk);
    const std::optional<UndoSummary> summary = disk.UndoLast(texts);
    Contents after;
    for (const auto& [path, file] : disk.files) after[path] = file.mark.lastWrite;
    EXPECT_EQ(after, road.after) << road.what;
    EXPECT_EQ(summary ? summary->undone : 0, road.undone) << road.what;
    EXPECT_EQ(summary ? summary->files : 0, road.undone + road.notUndone.size()) << road.what;
    std::vector<std::string> reasons;
    for (TextId reason : road.notUndone) reasons.push_back(texts[reason]);
    EXPECT_EQ(Reasons(summary), reasons) << road.what;
    EXPECT_EQ(disk.bin.size(), road.binned) << road.what;
    // Undone, the folders the run made are gone again.
    EXPECT_EQ(disk.folders.count("D:\\Music\\a\\"), after.count(kPlaced) || !summary) << road.what;
  }
}

// An undo cut short, by a forced end after its first line or by Cancel while a file goes back,
// is finished by the next; a run that placed nothing between leaves the undo to the one before.
TEST(UndoRun, AnUndoCutShortIsFinishedByTheNext) {
  const TextTable& texts = Texts();
  for (bool killed : {true, false}) {
    MemoryDisk disk;
    Song(disk);
    disk.Make(kCover);
    disk.Sort(texts, {kSong}, true);
    disk.Sort(texts, {"C:\\In\\gone.mp3"}, true);
    ASSERT_EQ(disk.files.count(kPlacedCover), 1u);
    if (killed)
      disk.killAfter = 3;  // the undo begun, its emptied folder made again, the cover back: the end
    else
      disk.failing[kPlaced] = kErrorRequestAborted;
    try {
      const std::optional<UndoSummary> cut = disk.UndoLast(texts);
      ASSERT_TRUE(cut && cut->endedEarly) << killed;
      EXPECT_EQ(Reasons(cut), std::vector<std::string>{texts[kTextStopped]});
    } catch (const Killed&) {
    }
    EXPECT_EQ(disk.files.count(kCover), 1u) << killed;  // taken back, and marked so, first
    disk.killAfter = SIZE_MAX;
    disk.failing.clear();
    const std::optional<UndoSummary> again = disk.UndoLast(texts);
    ASSERT_TRUE(again) << killed;
    EXPECT_EQ(again->files, 1u) << killed;  // the song: the cover was taken back before
    EXPECT_EQ(again->undone, 1u) << killed;
    EXPECT_TRUE(again->notUndone.empty()) << killed;
    EXPECT_EQ(disk.files.count(kSong), 1u) << killed;
    EXPECT_FALSE(disk.UndoLast(texts)) << killed;  // undone now
  }
}

// What a run leaves where it may not place a file, or may place no further one.
TEST(SortRun, RefusesWhatWouldCostAFileAndStopsWithoutARecord) {
  const TextTable& texts = Texts();
  // The album's log goes along, its cover never replaces one, and a user's folder is no album:
  // its picture stays.
  auto album = [](MemoryDisk& disk) {
    disk.folders.insert({"C:\\In\\", "C:\\Downloads\\", "D:\\Music\\", "D:\\Music\\a\\"});
    for (const char* path :
         {"C:\\In\\a.mp3", "C:\\In\\cover.jpg", "C:\\In\\rip.log", "D:\\Music\\a\\cover.jpg",
          "C:\\Downloads\\b.mp3", "C:\\Downloads\\front.png"})
      disk.Make(path);
  };
  auto noBin = [](bool replace) {
    return [replace](MemoryDisk& disk) {
      Both(disk);
      disk.noBin = {'D'};
      disk.replaceWithoutBin = replace;
    };
  };
  // The album's other files stay at a drive's root, and where a track replaced a file.
  auto atRoot = [](MemoryDisk& disk) {
    disk.Make("C:\\a.mp3");
    disk.Make("C:\\holiday.jpg");
  };
  auto replacing = [](MemoryDisk& disk) {
    Both(disk);
    disk.Make(kCover);
  };
  auto noRecord = [](MemoryDisk& disk) {
    Song(disk);
    disk.recordFails = true;
  };
  using NotPlaced = std::vector<std::pair<std::string, std::string>>;  // file and reason
  const std::vector<std::string> albumRows = {kSong, "C:\\Downloads\\b.mp3"};
  const NotPlaced coverStays = {{kCover, texts[kTextTargetExists]}};
  const Contents albumKept = {{kPlacedCover, 4}, {"C:\\Downloads\\front.png", 6}};
  const NotPlaced keptNoBin = {{kSong, texts[kTextTargetExists] + "; " + texts[kTextNoBinKept]}};
  const NotPlaced noRecordReason = {{kSong, texts[kTextRecordUnwritable]}};
  struct Case {
    const char* what;
    bool move;
    Action before;
    std::vector<std::string> rows;
    size_t placed;
    NotPlaced notPlaced;
    Contents kept;
    bool endedEarly = false;
  };
  const std::vector<Case> cases = {
      {"album, copy", false, album, albumRows, 3, coverStays, albumKept},
      {"album, move", true, album, albumRows, 3, coverStays, albumKept},
      {"album at a root", true, atRoot, {"C:\\a.mp3"}, 1, {}, {{"C:\\holiday.jpg", 2}}},
      {"album, track replaced", false, replacing, {kSong}, 1, {}, {{kCover, 3}, {kPlacedCover, 0}}},
      {"no bin, No", false, noBin(false), {kSong}, 0, keptNoBin, {{kPlaced, 2}}},
      {"no bin, Yes", false, noBin(true), {kSong}, 1, {}, {{kPlaced, 1}}},
      {"no record", true, noRecord, {kSong, kCover}, 0, noRecordReason, {{kSong, 1}}, true},
  };
  for (const Case& c : cases) {
    MemoryDisk disk;
    c.before(disk);
    const SortSummary summary = disk.Sort(texts, c.rows, c.move);
    EXPECT_EQ(summary.placed, c.placed) << c.what;
    NotPlaced notPlaced;
    for (const auto& file : summary.notPlaced) notPlaced.emplace_back(file.source, file.reason);
    EXPECT_EQ(notPlaced, c.notPlaced) << c.what;
    EXPECT_EQ(summary.endedEarly, c.endedEarly) << c.what;
    for (const auto& [path, content] : c.kept)
      EXPECT_EQ(disk.files.count(path) ? disk.files.at(path).mark.lastWrite : 0, content)
          << c.what << " " << path;
  }
}

TEST(UndoReportText, CountsThenListsTheFirstFilesNotPutBack) {
  UndoSummary summary{14, 2, false, false, {}};
  for (int i = 0; i < 12; ++i) summary.notUndone.push_back({"f" + std::to_string(i), "r"});
  TextTable texts = Texts();
  texts[kTextMoreNotPlaced] = "und %1 weitere";
  EXPECT_EQ(UndoReportText(texts, summary, 2),
            "2 of 14 files were put back.\r\n\r\nf0\r\n    r\r\nf1\r\n    r\r\nund 10 weitere");
  summary = {1, 0, true, false, {}};
  EXPECT_EQ(UndoReportText(texts, summary),
            "0 of 1 file was put back.\r\nThe undo was cut short; start it again to finish it.");
  summary.unrecorded = true;  // a back or undone line that could not be written
  EXPECT_EQ(UndoReportText(texts, summary),
            "0 of 1 file was put back.\r\nThe record can't be written; the undo stopped there.");
}

// Undo steps back run by run. A later run released the file an earlier copy replaced: undoing the
// earlier run then keeps that copy in its place and says where the replaced file is.
TEST(UndoRun, StepsBackRunByRunAndKeepsACopyWhoseReplacedFileWasReleased) {
  const TextTable& texts = Texts();
  MemoryDisk disk;
  Both(disk);
  const std::string other = "C:\\In\\b1.ogg";
  disk.Make(other);                  // content 3
  disk.Sort(texts, {kSong}, false);  // replaces content 2, set aside
  disk.Sort(texts, {other}, false);  // releases content 2 to the Recycle Bin
  ASSERT_EQ(disk.bin.size(), 1u);
  const std::optional<UndoSummary> second = disk.UndoLast(texts);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->undone, 1u);
  EXPECT_EQ(disk.files.count("D:\\Music\\b\\b1.ogg"), 0u);
  const std::optional<UndoSummary> first = disk.UndoLast(texts);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->undone, 0u);
  EXPECT_EQ(Reasons(first), std::vector<std::string>{texts[kTextUndoReplacedInBin]});
  EXPECT_EQ(disk.files.at(kPlaced).mark.lastWrite, 1u) << "the copy keeps the place";
  EXPECT_FALSE(disk.UndoLast(texts)) << "every run is undone";
}

// A run ended by force between a step and its done line: undo finds the file the step placed by
// the source's identity or mark and takes it back; a step that failed on a file already there,
// as like the source as a copy, is left alone.
TEST(UndoRun, AStepCutShortIsSettledFromTheDisk) {
  const TextTable& texts = Texts();
  for (const bool move : {true, false}) {
    MemoryDisk disk;
    Song(disk);
    disk.folders.insert({"D:\\Music\\", "D:\\Music\\a\\"});
    disk.killAfter = 2;  // the step's line and the whole copy, then the end before its done line
    try {
      disk.Sort(texts, {kSong}, move);
    } catch (const Killed&) {
    }
    ASSERT_EQ(disk.files.count(kPlaced), 1u) << move;
    disk.killAfter = SIZE_MAX;
    const std::optional<UndoSummary> settled = disk.UndoLast(texts);
    ASSERT_TRUE(settled) << move;
    EXPECT_EQ(settled->files, 1u) << move;
    EXPECT_EQ(settled->undone, 1u) << move;
    EXPECT_EQ(disk.files.count(kPlaced), 0u) << move;
    EXPECT_EQ(disk.files.count(kSong), 1u) << move;
    EXPECT_EQ(disk.bin.size(), move ? 0u : 1u) << move;
  }
  MemoryDisk disk;
  Song(disk);
  Placed(disk);
  disk.files[kPlaced].mark = disk.files[kSong].mark;  // the user's own copy, made earlier
  disk.Sort(texts, {kSong}, true);
  const UndoSummary failed = UndoRun(texts, *ParseRecord(disk.records[0]), disk.Undo());
  EXPECT_EQ(failed.files, 0u);
  EXPECT_EQ(disk.files.size(), 2u) << "undo took a file it did not place";
}

// The file a copy replaced is never left hidden: where the copy, changed since, keeps its name, the
// replaced file comes back beside it under a name that says so.
TEST(UndoRun, AReplacedFileWhoseNameIsTakenComesBackBesideIt) {
  const TextTable& texts = Texts();
  MemoryDisk disk;
  Both(disk);
  disk.Sort(texts, {kSong}, false);
  Edit(disk);  // the copy, changed since
  const std::optional<UndoSummary> summary = disk.UndoLast(texts);
  ASSERT_TRUE(summary);
  const std::string beside = "D:\\Music\\a\\a (before sort now).mp3";
  EXPECT_EQ(Reasons(summary),
            (std::vector<std::string>{texts[kTextUndoChanged], texts[kTextUndoBesideTarget]}));
  EXPECT_EQ(summary->notUndone.back().path, beside);
  Contents after;
  for (const auto& [path, file] : disk.files) after[path] = file.mark.lastWrite;
  EXPECT_EQ(after, (Contents{{kSong, 1}, {kPlaced, 50}, {beside, 2}}));
  EXPECT_EQ(BeforeSortName("D:\\M\\Кино.flac", "2026-12-09"),
            "D:\\M\\Кино (before sort 2026-12-09).flac");
  EXPECT_EQ(BeforeSortName("D:\\M\\README", "2026-12-09"),
            "D:\\M\\README (before sort 2026-12-09)");
}

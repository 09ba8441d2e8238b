#include "sorter/sort_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "base/name_case.h"
#include "tests/native/default_texts.h"

namespace {
const std::string kUndoHint = "\r\n\r\nThe configuration window can undo this sort.";

// A file list and file system that record what the run asked of them. Answers are taken in order;
// a box may add rows, as a hand-over while a box is open does.
struct FakeSorter {
  std::vector<std::string> rows;
  std::map<std::string, TagInfo> tagged;         // readable files; a missing entry cannot be read
  std::map<std::string, TargetState> onDisk;     // targets that are there before the run
  std::map<std::string, std::uint32_t> failing;  // targets whose copy or move fails
  std::map<std::string, std::string> sameFile;   // another spelling -> the name of the file
  bool album = false;                            // the album's other files go along
  std::map<std::string, std::vector<std::string>> folderFiles;
  std::vector<bool> answers;
  std::map<size_t, std::string> addWhileBox;  // box number -> row that arrives while it is open
  std::map<size_t, std::string> addBetween;   // files done -> row that arrives after them
  size_t cancelAfter = SIZE_MAX;              // files done -> Cancel pressed
  bool readsAhead = false;                    // whether the steps offer to read the next file
  // Folders that are not there: a file placed in one finds no path. Making one removes it from
  // here, unless it cannot be made; one can go away after a number of files.
  std::set<std::string> missingFolders, unmakeable;
  std::map<size_t, std::string> folderGoesAfter;  // files done -> folder deleted after them
  std::string pattern = "T:\\%GENRE%\\%ARTIST%\\*.$";
  std::vector<std::string> log;
  std::map<size_t, std::string> shown;            // row -> outcome shown
  std::map<std::string, std::string> albumShown;  // album file that is no row -> outcome shown
  size_t boxes = 0, done = 0;

  // A target on disk refuses a copy that may not replace it, and every move; a placed file is on
  // disk from then on.
  std::uint32_t Place(const char* verb, const std::string& source, const std::string& target,
                      bool replace) {
    log.push_back(verb + (" " + source) + " > " + target);
    if (missingFolders.count(target.substr(0, target.rfind('\\') + 1))) return kErrorPathNotFound;
    if ((onDisk.count(target) || (sameFile.count(target) && onDisk.count(sameFile[target]))) &&
        !replace)
      return kErrorFileExists;
    if (failing.count(target)) return failing[target];
    onDisk.emplace(target, TargetState::kExists);
    return 0;
  }

  SortRunSteps Steps() {
    return {
        .ask =
            [this](const std::string& title, const std::string& text, bool presetNo) {
              log.push_back(std::string(presetNo ? "ask (No) " : "ask ") + title + ": " + text);
              if (addWhileBox.count(boxes)) rows.push_back(addWhileBox[boxes]);
              return bool(answers.at(boxes++));
            },
        .pattern =
            [this] {
              log.push_back("pattern");
              return TargetPattern{pattern};
            },
        .rowCount = [this] { return rows.size(); },
        .row = [this](size_t i) { return rows.at(i); },
        .showOutcome =
            [this](size_t row, const RowOutcome& outcome) {
              shown[row] = OutcomeText(Texts(), outcome);
            },
        .showAlbumOutcome =
            [this](const std::string& file, const RowOutcome& outcome) {
              albumShown[file] = OutcomeText(Texts(), outcome);
            },
        .takeAlbum = [this] { return album; },
        .goOn =
            [this] {
              if (addBetween.count(++done)) rows.push_back(addBetween[done]);
              if (folderGoesAfter.count(done)) missingFolders.insert(folderGoesAfter[done]);
              return done < cancelAfter;
            },
        .files =
            {
                .readTags =
                    [this](const std::string& path, TagInfo& tags) {
                      auto it = tagged.find(path);
                      if (it == tagged.end()) return 0;
                      // A file without a tag leaves the record as it is, as TagLib reading does.
                      if (!it->second.genre.empty()) tags = it->second;
                      return 1;
                    },
                .readNext = readsAhead ? std::function<void(const std::string&)>(
                                             [this](const std::string& path) {
                                               log.push_back("read next " + path);
                                             })
                                       : nullptr,
                .targetState =
                    [this](const std::string&, const std::string& target) {
                      return onDisk.count(target) ? onDisk[target] : TargetState::kMissing;
                    },
                .createFolders =
                    [this](const std::string& folder) {
                      log.push_back("folders " + folder);
                      if (!unmakeable.count(folder)) missingFolders.erase(folder);
                    },
                .copyFile = [this](const std::string& source, const std::string& target,
                                   bool replace) { return Place("copy", source, target, replace); },
                .moveFile =
                    [this](const std::string& source, const std::string& target) {
                      return Place("move", source, target, false);
                    },
                .folderFiles = [this](const std::string& folder) { return folderFiles[folder]; },
                .systemMessage =
                    [](std::uint32_t error) { return "system message " + std::to_string(error); },
                .foldedName = [](const std::string& name) { return NameCase().Folded(name); },
                .fileKey =
                    [this](const std::string& name) {
                      return NameCase().Folded(sameFile.count(name) ? sameFile[name] : name);
                    },
            },
    };
  }
};

TagInfo Tagged(std::string genre, std::string artist) {
  TagInfo tags;
  tags.genre = std::move(genre);
  tags.artist = std::move(artist);
  return tags;
}

const std::string kQuestion =
    "ask (No) Question: Should I delete the original files after copying?";
}  // namespace

TEST(SortRun, CopiesEveryRowAndClearsTheTagsBetweenFiles) {
  FakeSorter fake;
  fake.rows = {"S:\\a.mp3", "S:\\b.ogg", "S:\\c.flac"};
  fake.tagged = {{"S:\\a.mp3", Tagged("Rock", "Band")},
                 {"S:\\b.ogg", TagInfo{}},  // opens, but has no tag
                 {"S:\\c.flac", Tagged("Jazz", "AC/DC")}};
  fake.answers = {false};
  SortRun(Texts(), fake.Steps());
  EXPECT_EQ(fake.log,
            (std::vector<std::string>{kQuestion, "pattern", "folders T:\\Rock\\Band\\",
                                      "copy S:\\a.mp3 > T:\\Rock\\Band\\a.mp3", "folders T:\\",
                                      "copy S:\\b.ogg > T:\\b.ogg", "folders T:\\Jazz\\AC\\DC\\",
                                      "copy S:\\c.flac > T:\\Jazz\\AC\\DC\\c.flac"}));
}

TEST(SortRun, AsksFirstEvenForAnEmptyList) {
  FakeSorter fake;
  fake.answers = {true};
  SortRun(Texts(), fake.Steps());
  EXPECT_EQ(fake.log, (std::vector<std::string>{kQuestion, "pattern"}));
}

TEST(SortRun, TheFirstUnreadableFileAsksOnceForTheWholeRun) {
  const std::vector<std::string> rows = {"S:\\bad1.mp3", "S:\\a.mp3", "S:\\cover.jpg", "S:\\b.mp3",
                                         "S:\\album.cue"};
  const std::string box =
      "ask Error: Couldn't read ID3 Tags of\r\nS:\\bad1.mp3\r\nDo you want to continue?";
  {  // Yes skips this file and every later unreadable one without another box
    FakeSorter fake;
    fake.rows = rows;
    fake.tagged = {{"S:\\a.mp3", Tagged("Rock", "")}, {"S:\\b.mp3", Tagged("Pop", "")}};
    fake.answers = {true, true};  // move; go on after bad1 (a third box would throw)
    const SortSummary summary = SortRun(Texts(), fake.Steps());
    EXPECT_EQ(fake.log,
              (std::vector<std::string>{kQuestion, "pattern", box, "folders T:\\Rock\\",
                                        "move S:\\a.mp3 > T:\\Rock\\a.mp3", "folders T:\\Pop\\",
                                        "move S:\\b.mp3 > T:\\Pop\\b.mp3"}));
    EXPECT_EQ(fake.shown[2], "Skipped: Tags can't be read");
    EXPECT_EQ(fake.shown[4], "Skipped: Tags can't be read");
    EXPECT_FALSE(summary.endedEarly);
    EXPECT_EQ(summary.placed, 2u);
    ASSERT_EQ(summary.notPlaced.size(), 3u);  // the end box names every one of them
    EXPECT_EQ(summary.notPlaced[0].source, "S:\\bad1.mp3");
    EXPECT_EQ(summary.notPlaced[1].source, "S:\\cover.jpg");
    EXPECT_EQ(summary.notPlaced[2].source, "S:\\album.cue");
  }
  {  // No ends the run at the first one
    FakeSorter fake;
    fake.rows = rows;
    fake.tagged = {{"S:\\a.mp3", Tagged("Rock", "")}};
    fake.answers = {true, false};
    const SortSummary summary = SortRun(Texts(), fake.Steps());
    EXPECT_EQ(fake.log, (std::vector<std::string>{kQuestion, "pattern", box}));
    EXPECT_TRUE(summary.endedEarly);
  }
}

TEST(SortRun, ANameThatLostACharacterIsNotPlacedWithItsReasonAndNoBox) {
  FakeSorter fake;
  const std::string lost = "S:\\\xED\xA0\xBD.mp3";  // an unpaired surrogate, kept marked
  fake.rows = {lost, "S:\\a.mp3"};
  fake.tagged = {{lost, Tagged("Rock", "")}, {"S:\\a.mp3", Tagged("Rock", "")}};
  fake.answers = {false};  // copy; no further box
  const SortSummary summary = SortRun(Texts(), fake.Steps());
  EXPECT_EQ(fake.log, (std::vector<std::string>{kQuestion, "pattern", "folders T:\\Rock\\",
                                                "copy S:\\a.mp3 > T:\\Rock\\a.mp3"}));
  EXPECT_EQ(fake.shown[0], "Not placed: The name holds a character that can't be read");
  ASSERT_EQ(summary.notPlaced.size(), 1u);
  EXPECT_EQ(summary.notPlaced[0].source, lost);
  EXPECT_EQ(summary.placed, 1u);
}

// The next file's tags are read while a file goes, but never those of the file being placed nor of
// its target: reading holds a file open, which would fail its move or its replacement.
TEST(SortRun, ReadsTheNextFileAheadUnlessItIsTheFileOrTargetBeingPlaced) {
  FakeSorter fake;
  fake.readsAhead = true;
  const std::string lost = "S:\\\xED\xA0\xBD.mp3";
  fake.rows = {"S:\\a.mp3",      "S:\\b.mp3", "s:\\B.MP3", "S:\\c.mp3",
               "T:\\Pop\\c.mp3", lost,        "S:\\d.mp3", "S:\\e.mp3"};
  for (const char* row : {"S:\\a.mp3", "S:\\b.mp3"}) fake.tagged[row] = Tagged("Rock", "");
  for (const char* row : {"S:\\c.mp3", "T:\\Pop\\c.mp3", "S:\\d.mp3", "S:\\e.mp3"})
    fake.tagged[row] = Tagged("Pop", "");
  fake.answers = {true, true};  // move; skip the unreadable s:\B.MP3
  SortRun(Texts(), fake.Steps());
  std::vector<std::string> steps;
  for (const std::string& line : fake.log)
    if (line.starts_with("read next ") || line.starts_with("move ")) steps.push_back(line);
  EXPECT_EQ(steps, (std::vector<std::string>{
                       "read next S:\\b.mp3",
                       "move S:\\a.mp3 > T:\\Rock\\a.mp3",
                       "move S:\\b.mp3 > T:\\Rock\\b.mp3",      // next: b under another spelling
                       "move S:\\c.mp3 > T:\\Pop\\c.mp3",       // next: its target
                       "move T:\\Pop\\c.mp3 > T:\\Pop\\c.mp3",  // next: a name that can't be read
                       "read next S:\\e.mp3",
                       "move S:\\d.mp3 > T:\\Pop\\d.mp3",
                       "move S:\\e.mp3 > T:\\Pop\\e.mp3",
                   }));
}

TEST(SortRun, RowsArrivingDuringTheRunJoinIt) {
  FakeSorter fake;
  fake.rows = {"S:\\bad.mp3"};
  fake.tagged = {{"S:\\late.mp3", Tagged("Rock", "")},
                 {"S:\\later.mp3", Tagged("Pop", "")},
                 {"S:\\last.mp3", Tagged("Ska", "")}};
  fake.answers = {false, true};
  fake.addWhileBox = {{0, "S:\\late.mp3"}, {1, "S:\\later.mp3"}};
  fake.addBetween = {{3, "S:\\last.mp3"}};
  SortRun(Texts(), fake.Steps());
  ASSERT_EQ(fake.log.size(), 9u);
  EXPECT_EQ(fake.log[4], "copy S:\\late.mp3 > T:\\Rock\\late.mp3");
  EXPECT_EQ(fake.log[6], "copy S:\\later.mp3 > T:\\Pop\\later.mp3");
  EXPECT_EQ(fake.log[8], "copy S:\\last.mp3 > T:\\Ska\\last.mp3");
}

// A folder is made once per run; one that went away meanwhile is made again, once per file.
TEST(SortRun, MakesEachFolderOnceAndAgainWhenItWentAway) {
  FakeSorter fake;
  fake.rows = {"S:\\a.mp3", "S:\\b.mp3", "S:\\c.mp3", "S:\\d.mp3", "S:\\e.mp3"};
  for (const char* row : {"S:\\a.mp3", "S:\\b.mp3", "S:\\c.mp3"})
    fake.tagged[row] = Tagged("Rock", "");
  fake.tagged["S:\\d.mp3"] = fake.tagged["S:\\e.mp3"] = Tagged("Jazz", "");
  fake.missingFolders = fake.unmakeable = {"T:\\Jazz\\"};
  fake.folderGoesAfter = {{1, "T:\\Rock\\"}};
  fake.answers = {true};
  const SortSummary summary = SortRun(Texts(), fake.Steps());
  const std::vector<std::string> expected = {
      kQuestion,
      "pattern",
      "folders T:\\Rock\\",
      "move S:\\a.mp3 > T:\\Rock\\a.mp3",
      "move S:\\b.mp3 > T:\\Rock\\b.mp3",  // the folder went after a.mp3
      "folders T:\\Rock\\",
      "move S:\\b.mp3 > T:\\Rock\\b.mp3",
      "move S:\\c.mp3 > T:\\Rock\\c.mp3",
      "folders T:\\Jazz\\",
      "move S:\\d.mp3 > T:\\Jazz\\d.mp3",  // can't be made: one try for the first file
      "move S:\\e.mp3 > T:\\Jazz\\e.mp3",
      "folders T:\\Jazz\\",
      "move S:\\e.mp3 > T:\\Jazz\\e.mp3"};  // and one more for a later one
  EXPECT_EQ(fake.log, expected);
  EXPECT_EQ(summary.placed, 3u);
  EXPECT_EQ(fake.shown[4], "Not placed: system message 3; the original stays where it was");
}

TEST(SortRun, ReadsThePatternOnceAfterTheQuestion) {
  FakeSorter fake;
  fake.rows = {"S:\\a.mp3", "S:\\b.mp3"};
  fake.tagged = {{"S:\\a.mp3", Tagged("Rock", "")}, {"S:\\b.mp3", Tagged("Pop", "")}};
  fake.answers = {false};
  SortRunSteps steps = fake.Steps();
  auto copy = steps.files.copyFile;
  steps.files.copyFile = [&](const std::string& source, const std::string& target, bool replace) {
    fake.pattern = "changed";
    return copy(source, target, replace);
  };
  SortRun(Texts(), steps);
  EXPECT_EQ(fake.log.back(), "copy S:\\b.mp3 > T:\\Pop\\b.mp3");
  EXPECT_EQ(std::count(fake.log.begin(), fake.log.end(), "pattern"), 1);
}

TEST(SortRun, EveryRowShowsWhatBecameOfItAndFailuresAreCounted) {
  FakeSorter fake;
  const std::string longName(250, 'x');
  fake.rows = {"S:\\new.mp3",    "S:\\old.mp3",   "T:\\Rock\\self.mp3",
               "S:\\denied.mp3", "S:\\taken.mp3", "S:\\" + longName + ".mp3",
               "S:\\bad.mp3",    "S:\\full.mp3"};
  for (const std::string& row : fake.rows) fake.tagged[row] = Tagged("Rock", "");
  fake.tagged.erase("S:\\bad.mp3");
  fake.onDisk = {{"T:\\Rock\\old.mp3", TargetState::kExists},
                 {"T:\\Rock\\self.mp3", TargetState::kSameFile},
                 {"T:\\Rock\\full.mp3", TargetState::kExists}};
  fake.failing = {{"T:\\Rock\\denied.mp3", 5},
                  {"T:\\Rock\\taken.mp3", kErrorAlreadyExists},
                  {"T:\\Rock\\full.mp3", 112}};
  fake.answers = {false, true};  // copy; go on after the unreadable file
  SortSummary summary = SortRun(Texts(), fake.Steps());

  EXPECT_EQ(fake.shown, (std::map<size_t, std::string>{
                            {0, "Copied"},
                            {1, "Replaced an existing file: the file it replaced is kept for undo"},
                            {2, "Already in place"},
                            {3, "Not placed: system message 5"},
                            {4,
                             "Not placed: The target exists; the "
                             "file at the target was kept as it "
                             "was"},
                            {5, "Not placed: The path is too long"},
                            {6, "Skipped: Tags can't be read"},
                            {7,
                             "Not placed: system message 112; the "
                             "file at the target was kept as it "
                             "was"}}));
  // A taken target is copied over only when it is another file; a too long one is never tried.
  EXPECT_EQ(
      std::count(fake.log.begin(), fake.log.end(), "copy T:\\Rock\\self.mp3 > T:\\Rock\\self.mp3"),
      1);
  EXPECT_EQ(std::count(fake.log.begin(), fake.log.end(), "copy S:\\old.mp3 > T:\\Rock\\old.mp3"),
            2);
  EXPECT_EQ(std::count_if(fake.log.begin(), fake.log.end(),
                          [](const std::string& line) { return line.find("xxxx") != line.npos; }),
            0);
  EXPECT_EQ(summary.rows, 8u);
  EXPECT_EQ(summary.placed, 3u);
  EXPECT_FALSE(summary.endedEarly);
  ASSERT_EQ(summary.notPlaced.size(), 5u);
  EXPECT_EQ(summary.notPlaced[0].source, "S:\\denied.mp3");
  EXPECT_EQ(summary.notPlaced[3].reason, "Tags can't be read");
  EXPECT_EQ(SortReportText(Texts(), summary),
            "3 of 8 files were placed.\r\n"
            "\r\nS:\\denied.mp3\r\n    system message 5"
            "\r\nS:\\taken.mp3\r\n    The target exists; the file at the target was kept as it was"
            "\r\nS:\\" +
                longName +
                ".mp3\r\n    The path is too long"
                "\r\nS:\\bad.mp3\r\n    Tags can't be read"
                "\r\nS:\\full.mp3\r\n    system message 112; the file at the target was kept as "
                "it was" +
                kUndoHint);
}

// A copy replaces older copies, but never a file of the run: not a row's own file before it is
// read, nor a file that an earlier row has just placed. Those rows are not placed, and say why.
TEST(SortRun, ACopyNeverReplacesAFileOfTheRun) {
  FakeSorter fake;
  fake.pattern = "D:\\in\\%GENRE%\\%ARTIST%\\*.$";
  // Row 1 is the file at row 0's target under its network name; row 3's target is row 2's copy
  // under a short name.
  fake.rows = {"D:\\in\\01.mp3", "\\\\nas\\in\\rock\\band\\01.MP3", "D:\\in\\02.mp3",
               "D:\\other\\02~1.mp3"};
  fake.sameFile = {{"D:\\in\\Rock\\Band\\01.mp3", fake.rows[1]}};
  fake.tagged = {{fake.rows[0], Tagged("Rock", "Band")},
                 {fake.rows[1], Tagged("Jazz", "Trio")},
                 {fake.rows[2], Tagged("Pop", "Duo")},
                 {fake.rows[3], Tagged("Pop", "Duo")}};
  fake.onDisk = {{"D:\\in\\Rock\\Band\\01.mp3", TargetState::kExists}};  // row 1's file
  fake.sameFile["D:\\in\\Pop\\Duo\\02~1.mp3"] = "D:\\in\\Pop\\Duo\\02.mp3";
  fake.answers = {false};
  SortSummary summary = SortRun(Texts(), fake.Steps());

  EXPECT_EQ(fake.shown,
            (std::map<size_t, std::string>{{0, "Not placed: The target is a file of this sort"},
                                           {1, "Copied"},
                                           {2, "Copied"},
                                           {3, "Not placed: Same target as an earlier file"}}));
  EXPECT_EQ(fake.log[3], "copy D:\\in\\01.mp3 > D:\\in\\Rock\\Band\\01.mp3");           // refused
  EXPECT_EQ(fake.log.back(), "copy D:\\other\\02~1.mp3 > D:\\in\\Pop\\Duo\\02~1.mp3");  // refused
  EXPECT_EQ(std::count_if(fake.log.begin(), fake.log.end(),
                          [](const std::string& line) { return line.rfind("copy", 0) == 0; }),
            4);  // each once: none again to replace what is there
  EXPECT_EQ(summary.placed, 2u);
  EXPECT_EQ(SortReportText(Texts(), summary),
            "2 of 4 files were placed.\r\n"
            "\r\nD:\\in\\01.mp3\r\n    The target is a file of this sort"
            "\r\nD:\\other\\02~1.mp3\r\n    Same target as an earlier file" +
                kUndoHint);
}

TEST(SortRun, AMoveNeverReplacesAnExistingTarget) {
  FakeSorter fake;
  fake.rows = {"S:\\a.mp3", "S:\\b.mp3", "T:\\Rock\\c.mp3", "S:\\d.mp3"};
  for (const std::string& row : fake.rows) fake.tagged[row] = Tagged("Rock", "");
  fake.onDisk = {{"T:\\Rock\\a.mp3", TargetState::kExists},
                 {"T:\\Rock\\c.mp3", TargetState::kSameFile}};
  fake.failing = {{"T:\\Rock\\d.mp3", kErrorRequestAborted}};  // stopped on its way to T:
  fake.answers = {true};
  SortSummary summary = SortRun(Texts(), fake.Steps());
  EXPECT_EQ(fake.shown,
            (std::map<size_t, std::string>{
                {0, "Not placed: The target exists"},
                {1, "Moved"},
                {2, "Already in place"},
                {3, "Not placed: Stopped by Cancel; the original stays where it was"}}));
  EXPECT_EQ(std::count_if(fake.log.begin(), fake.log.end(),
                          [](const std::string& line) { return line.rfind("move", 0) == 0; }),
            4);
  EXPECT_EQ(summary.placed, 2u);
}

// A folder whose tracks all went to one folder sends its cover, cue sheet and log there too, by
// the same move, a selected cover among them; a folder whose tracks split keeps them, and its
// selected picture says why. No box asks about either.
TEST(SortRun, TheAlbumsOtherFilesGoAlongWhereItsTracksGoTogether) {
  FakeSorter fake;
  fake.album = true;
  fake.rows = {"S:\\A\\1.mp3", "S:\\A\\cover.jpg", "S:\\A\\2.mp3",
               "S:\\B\\1.mp3", "S:\\B\\2.mp3",     "S:\\B\\front.PNG"};
  for (size_t row : {0, 2}) fake.tagged[fake.rows[row]] = Tagged("Rock", "Band");
  fake.tagged[fake.rows[3]] = Tagged("Pop", "Duo");
  fake.tagged[fake.rows[4]] = Tagged("Jazz", "Trio");
  fake.folderFiles = {
      {"S:\\A\\",
       {"S:\\A\\1.mp3", "S:\\A\\2.mp3", "S:\\A\\cover.jpg", "S:\\A\\album.cue", "S:\\A\\rip.log",
        "S:\\A\\notes.doc", "S:\\A\\~DA3Zur-1-0.sorting.jpg"}},
      {"S:\\B\\", {"S:\\B\\1.mp3", "S:\\B\\2.mp3", "S:\\B\\front.PNG", "S:\\B\\b.cue"}}};
  fake.answers = {true};  // move
  const SortSummary summary = SortRun(Texts(), fake.Steps());
  EXPECT_EQ(fake.shown, (std::map<size_t, std::string>{
                            {0, "Moved"},
                            {1, "Moved: goes with the album"},
                            {2, "Moved"},
                            {3, "Moved"},
                            {4, "Moved"},
                            {5, "Skipped: The album's tracks don't all go to one folder"}}));
  std::vector<std::string> albumMoves(fake.log.end() - 3, fake.log.end());
  EXPECT_EQ(albumMoves,
            (std::vector<std::string>{"move S:\\A\\cover.jpg > T:\\Rock\\Band\\cover.jpg",
                                      "move S:\\A\\album.cue > T:\\Rock\\Band\\album.cue",
                                      "move S:\\A\\rip.log > T:\\Rock\\Band\\rip.log"}));
  EXPECT_EQ(fake.albumShown,
            (std::map<std::string, std::string>{{"S:\\A\\album.cue", "Moved: goes with the album"},
                                                {"S:\\A\\rip.log", "Moved: goes with the album"}}));
  EXPECT_EQ(fake.boxes, 1u) << "a box asked about a picture";
  EXPECT_EQ(summary.placed, 7u);
  EXPECT_EQ(summary.rows, 8u);  // the rows, and the cue sheet and log that were none
}

TEST(SortRun, CancelAndNoEndTheRunAndLeaveTheRestUntouched) {
  FakeSorter fake;
  for (int i = 0; i < 5; ++i) {
    fake.rows.push_back("S:\\" + std::to_string(i) + ".mp3");
    fake.tagged[fake.rows.back()] = Tagged("Pop", "");
  }
  fake.cancelAfter = 2;
  fake.answers = {true};
  SortSummary summary = SortRun(Texts(), fake.Steps());
  EXPECT_EQ(fake.shown.size(), 2u);
  EXPECT_EQ(fake.log.back(), "move S:\\1.mp3 > T:\\Pop\\1.mp3");
  EXPECT_TRUE(summary.endedEarly);
  EXPECT_EQ(SortReportText(Texts(), summary),
            "2 of 5 files were placed.\r\nThe sort was cancelled." + kUndoHint);

  FakeSorter no;
  no.rows = {"S:\\bad.mp3", "S:\\a.mp3"};
  no.tagged = {{"S:\\a.mp3", Tagged("Pop", "")}};
  no.answers = {false, false};
  summary = SortRun(Texts(), no.Steps());
  EXPECT_EQ(no.shown, (std::map<size_t, std::string>{{0, "Skipped: Tags can't be read"}}));
  EXPECT_EQ(SortReportText(Texts(), summary),
            "0 of 2 files were placed.\r\nThe sort was cancelled.\r\n"
            "\r\nS:\\bad.mp3\r\n    Tags can't be read");
}

TEST(SortReportText, NothingWhenAllWerePlacedAndTheFirstFailuresOtherwise) {
  SortSummary summary;
  summary.rows = summary.placed = 3;
  EXPECT_EQ(SortReportText(Texts(), summary), "");
  summary.rows = 15;
  for (int i = 0; i < 12; ++i) summary.notPlaced.push_back({"f" + std::to_string(i), "r"});
  TextTable texts = Texts();
  texts[kTextPlacedCount] = "%2 Dateien, %1 einsortiert";
  texts[kTextMoreNotPlaced] = "und %1 weitere";
  texts[kTextShellsRemoved] = "%1 Ordner entfernt";
  texts[kTextUndoHint] = "Undo";
  summary.foldersRemoved = 2;
  const std::string text = SortReportText(texts, summary, 2);
  EXPECT_EQ(text,
            "15 Dateien, 3 einsortiert\r\n\r\nf0\r\n    r\r\nf1\r\n    r\r\nund 10 weitere\r\n\r\n"
            "2 Ordner entfernt\r\nUndo");
}

TEST(TargetTooLong, FileAndFolderLimits) {
  const std::string folder = "C:\\" + std::string(244, 'f');          // 247 characters
  EXPECT_FALSE(TargetTooLong(folder + "\\" + std::string(11, 'n')));  // 259
  EXPECT_TRUE(TargetTooLong(folder + "\\" + std::string(12, 'n')));   // 260
  EXPECT_TRUE(TargetTooLong(folder + "f\\a"));
  EXPECT_FALSE(TargetTooLong("a.mp3"));
  // Windows counts UTF-16 units: 259 Cyrillic letters (518 bytes) fit, a pair counts two.
  std::string cyrillic = "C:\\";
  for (int i = 0; i < 256; ++i) cyrillic += "\xD0\x96";
  EXPECT_FALSE(TargetTooLong(cyrillic));
  EXPECT_TRUE(TargetTooLong(cyrillic + "\xD0\x96"));
  EXPECT_TRUE(TargetTooLong(cyrillic.substr(0, cyrillic.size() - 2) + "\xF0\x9F\x98\x80"));
  std::string folder8 = "C:\\";
  for (int i = 0; i < 244; ++i) folder8 += "\xE2\x82\xAC";  // 247 units, 735 bytes
  EXPECT_FALSE(TargetTooLong(folder8 + "\\a"));
  EXPECT_TRUE(TargetTooLong(folder8 + "\xE2\x82\xAC\\a"));
}

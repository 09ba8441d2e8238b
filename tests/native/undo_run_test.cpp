#include "sorter/undo_run.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/path_parts.h"
#include "tests/native/default_texts.h"

namespace {
// Files with their marks and folders (ending in a backslash), in memory. Every step is logged; a
// step on a path in `failing` gives that code.
struct FakeDisk {
  std::map<std::string, FileMark> files;
  std::set<std::string> folders = {"C:\\", "D:\\"};
  std::map<std::string, std::uint32_t> failing;
  std::vector<std::string> log;

  bool Exists(const std::string& path) const {
    return files.count(path) || folders.count(path) || folders.count(path + "\\");
  }
  std::uint32_t Step(const std::string& what, const std::string& path) {
    log.push_back(what + " " + path);
    return failing.count(path) ? failing[path] : 0;
  }

  UndoFiles Files() {
    return {
        .mark = [this](const std::string& path) -> std::optional<FileMark> {
          if (!files.count(path)) return std::nullopt;
          return files[path];
        },
        .exists = [this](const std::string& path) { return Exists(path); },
        .isEmptyFolder =
            [this](const std::string& folder) {
              if (!folders.count(folder)) return false;
              for (const auto& [file, mark] : files)
                if (file.starts_with(folder)) return false;
              for (const std::string& other : folders)
                if (other != folder && other.starts_with(folder)) return false;
              return true;
            },
        .moveFile = [this](const std::string& from, const std::string& to) -> std::uint32_t {
          if (Exists(to)) return 183;
          if (!folders.count(FolderPart(to))) return 3;
          if (std::uint32_t error = Step("move", from + " > " + to)) return error;
          files[to] = files.at(from);
          files.erase(from);
          return 0;
        },
        .deleteFile =
            [this](const std::string& path) {
              if (std::uint32_t error = Step("delete", path)) return error;
              files.erase(path);
              return 0u;
            },
        .makeFolder =
            [this](const std::string& folder) {
              if (std::uint32_t error = Step("make", folder)) return error;
              folders.insert(folder);
              return 0u;
            },
        .removeFolder =
            [this](const std::string& folder) {
              if (std::uint32_t error = Step("remove", folder)) return error;
              folders.erase(folder);
              return 0u;
            },
        .systemMessage = [](std::uint32_t error) { return "system " + std::to_string(error); },
    };
  }
};

constexpr FileMark kSong{100, 7}, kOther{100, 8}, kOld{50, 3};
const std::string kFrom = "C:\\In\\a.mp3", kTo = "D:\\Rock\\a.mp3", kAside = "D:\\Rock\\~a.aside";

RunRecord Record(bool move, std::vector<RecordStep> steps) {
  return RunRecord{"2026-12-09 14:03", move, std::move(steps), false};
}

// What is on disk before and after undoing one step, and what undo said of it.
struct Case {
  const char* what;
  std::map<std::string, FileMark> before, after;
  std::string reason;  // empty: undone
  std::map<std::string, std::uint32_t> failing = {};
};

void Expect(const Case& c, const RecordStep& step) {
  FakeDisk disk;
  disk.folders.insert({"C:\\In\\", "D:\\Rock\\"});
  disk.files = c.before;
  disk.failing = c.failing;
  const UndoSummary summary =
      UndoRun(Texts(), Record(step.kind == RecordStep::kMove, {step}), disk.Files());
  EXPECT_EQ(disk.files, c.after) << c.what;
  EXPECT_EQ(summary.files, 1u) << c.what;
  EXPECT_EQ(summary.undone, c.reason.empty() ? 1u : 0u) << c.what;
  if (c.reason.empty()) {
    EXPECT_TRUE(summary.notUndone.empty()) << c.what;
  } else {
    ASSERT_EQ(summary.notUndone.size(), 1u) << c.what;
    EXPECT_EQ(summary.notUndone[0].path, kTo) << c.what;
    EXPECT_EQ(summary.notUndone[0].reason, c.reason) << c.what;
  }
}
}  // namespace

TEST(UndoRun, AMovedFileGoesBackOnlyAsTheSortLeftItAndNeverOverAnother) {
  const std::string occupied = "Another file is at its old place now",
                    missing = "It is no longer where the sort put it";
  for (const Case& c : std::vector<Case>{
           {"moved", {{kTo, kSong}}, {{kFrom, kSong}}, ""},
           {"never moved", {{kFrom, kSong}}, {{kFrom, kSong}}, ""},
           {"never moved, the target taken",
            {{kFrom, kSong}, {kTo, kOther}},
            {{kFrom, kSong}, {kTo, kOther}},
            ""},
           {"another file at the old place",
            {{kTo, kSong}, {kFrom, kOther}},
            {{kTo, kSong}, {kFrom, kOther}},
            occupied},
           {"the same file twice",
            {{kTo, kSong}, {kFrom, kSong}},
            {{kTo, kSong}, {kFrom, kSong}},
            occupied},
           {"changed at its target", {{kTo, kOther}}, {{kTo, kOther}}, missing},
           {"gone", {}, {}, missing},
           {"the move fails",
            {{kTo, kSong}},
            {{kTo, kSong}},
            "system 5",
            {{kTo + " > " + kFrom, 5}}},
       })
    Expect(c, {RecordStep::kMove, kFrom, kTo, kSong});
}

TEST(UndoRun, ACopyIsDeletedOnlyAsTheSortMadeIt) {
  for (const Case& c : std::vector<Case>{
           {"copied", {{kFrom, kSong}, {kTo, kSong}}, {{kFrom, kSong}}, ""},
           {"never copied", {{kFrom, kSong}}, {{kFrom, kSong}}, ""},
           {"deleted since", {}, {}, ""},
           {"changed", {{kTo, kOther}}, {{kTo, kOther}}, "The copy was changed after the sort"},
           {"the delete fails", {{kTo, kSong}}, {{kTo, kSong}}, "system 32", {{kTo, 32}}},
       })
    Expect(c, {RecordStep::kCopy, kFrom, kTo, kSong});
}

// A copy that replaced a file set it aside first; undone, the copy goes and the file comes back.
TEST(UndoRun, AReplacedFileComesBackOnceItsCopyIsGone) {
  const RunRecord record = Record(
      false, {{RecordStep::kSetAside, kTo, kAside, kOld}, {RecordStep::kCopy, kFrom, kTo, kSong}});
  struct AsideCase {
    const char* what;
    std::map<std::string, FileMark> before, after;
    std::vector<std::string> reasons;  // path: reason
    size_t undone, files = 1;          // files: 0 when the run ended before the copy's line
    bool triedTwice = false;           // the copy was refused by the file there at first
  };
  for (const AsideCase& c : std::vector<AsideCase>{
           {"copied",
            {{kFrom, kSong}, {kTo, kSong}, {kAside, kOld}},
            {{kFrom, kSong}, {kTo, kOld}},
            {},
            1},
           {"set aside, not copied yet",
            {{kFrom, kSong}, {kAside, kOld}},
            {{kFrom, kSong}, {kTo, kOld}},
            {},
            1},
           {"ended before setting aside",
            {{kFrom, kSong}, {kTo, kOld}},
            {{kFrom, kSong}, {kTo, kOld}},
            {},
            0,
            0},
           {"the copy changed",
            {{kTo, kOther}, {kAside, kOld}},
            {{kTo, kOther}, {kAside, kOld}},
            {kTo + ": The copy was changed after the sort",
             kAside + ": Another file is at its old place now"},
            0},
           {"the set-aside file gone",
            {{kTo, kSong}},
            {},
            {kAside + ": It is no longer where the sort put it"},
            1},
           {"tried twice: one file, taken back once",
            {{kFrom, kSong}, {kTo, kSong}, {kAside, kOld}},
            {{kFrom, kSong}, {kTo, kOld}},
            {},
            1,
            1,
            true},
       }) {
    FakeDisk disk;
    disk.folders.insert({"C:\\In\\", "D:\\Rock\\"});
    disk.files = c.before;
    RunRecord written = record;
    written.steps.resize(1 + c.files);
    if (c.triedTwice) written.steps.insert(written.steps.begin(), record.steps[1]);
    const UndoSummary summary = UndoRun(Texts(), written, disk.Files());
    EXPECT_EQ(disk.files, c.after) << c.what;
    std::vector<std::string> reasons;
    for (const auto& [path, reason] : summary.notUndone) reasons.push_back(path + ": " + reason);
    EXPECT_EQ(reasons, c.reasons) << c.what;
    EXPECT_EQ(summary.undone, c.undone) << c.what;
    EXPECT_EQ(summary.files, c.files) << c.what;
  }
}

// Undo takes back what happened, last first. A run killed after b.mp3 wrote c.mp3's line but never
// moved it; folders the run made go only once empty; shells it removed come back for their files.
TEST(UndoRun, TakesBackWhatHappenedLastFirstAndOnlyWhereNothingElseIs) {
  const std::string a = "D:\\Rock\\Band\\a.mp3", b = "D:\\Rock\\Band\\b.mp3";
  const RecordStep made[] = {{RecordStep::kMakeFolder, "D:\\Rock\\", "", {}},
                             {RecordStep::kMakeFolder, "D:\\Rock\\Band\\", "", {}}};
  const struct {
    const char* what;
    std::set<std::string> folders;  // besides the two made
    std::map<std::string, FileMark> files;
    std::vector<RecordStep> steps;  // after the folders made
    std::vector<std::string> log;
  } cases[] = {
      {"cut short",
       {"C:\\In\\"},
       {{a, kSong}, {b, kOld}, {"C:\\In\\c.mp3", kOther}},
       {{RecordStep::kMove, "C:\\In\\a.mp3", a, kSong},
        {RecordStep::kMove, "C:\\In\\b.mp3", b, kOld},
        {RecordStep::kMove, "C:\\In\\c.mp3", "D:\\Rock\\Band\\c.mp3", kOther}},
       {"move " + b + " > C:\\In\\b.mp3", "move " + a + " > C:\\In\\a.mp3",
        "remove D:\\Rock\\Band\\", "remove D:\\Rock\\"}},
      {"shells and a folder that holds another file",
       {"C:\\Kept\\"},
       {{a, kSong}, {b, kOld}, {"D:\\Rock\\mine.txt", kOther}},
       {{RecordStep::kMove, "C:\\In\\CD1\\a.mp3", a, kSong},
        {RecordStep::kMove, "C:\\Kept\\b.mp3", b, kOld},
        {RecordStep::kRemoveFolder, "C:\\In\\CD1\\", "", {}},
        {RecordStep::kRemoveFolder, "C:\\In\\", "", {}},
        {RecordStep::kRemoveFolder, "C:\\Kept\\", "", {}}},
       {"make C:\\In\\", "make C:\\In\\CD1\\", "move " + b + " > C:\\Kept\\b.mp3",
        "move " + a + " > C:\\In\\CD1\\a.mp3", "remove D:\\Rock\\Band\\"}},
  };
  for (const auto& c : cases) {
    FakeDisk disk;
    disk.folders.insert(c.folders.begin(), c.folders.end());
    disk.folders.insert({"D:\\Rock\\", "D:\\Rock\\Band\\"});
    disk.files = c.files;
    std::vector<RecordStep> steps(std::begin(made), std::end(made));
    steps.insert(steps.end(), c.steps.begin(), c.steps.end());
    const UndoSummary summary = UndoRun(Texts(), Record(true, steps), disk.Files());
    EXPECT_EQ(disk.log, c.log) << c.what;
    EXPECT_TRUE(summary.notUndone.empty()) << c.what;
  }
}

TEST(UndoReportText, CountsThenListsTheFirstFilesNotPutBack) {
  UndoSummary summary{14, 2, {}};
  for (int i = 0; i < 12; ++i) summary.notUndone.push_back({"f" + std::to_string(i), "r"});
  TextTable texts = Texts();
  texts[kTextMoreNotPlaced] = "und %1 weitere";
  EXPECT_EQ(UndoReportText(texts, summary, 2),
            "2 of 14 files were put back.\r\n\r\nf0\r\n    r\r\nf1\r\n    r\r\nund 10 weitere");
  summary.notUndone.resize(2);
  EXPECT_EQ(UndoReportText(texts, summary, 2),
            "2 of 14 files were put back.\r\n\r\nf0\r\n    r\r\nf1\r\n    r");
}

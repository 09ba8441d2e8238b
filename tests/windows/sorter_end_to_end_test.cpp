// DA3Zur.exe -sort as Explorer starts it: one process per file, all at once. One window collects
// every file, and a run copies or moves each file into its genre/artist/album folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "sorter/sorter_window.h"
#include "sorter/target_path.h"
#include "tags/tag_bridge.h"
#include "tests/support/sorter_support.h"
#include "tests/support/win_test_support.h"

using namespace testing_win;

namespace {
const std::string kTail = "%GENRE%\\%ARTIST%\\%ALBUM%\\*.$";
const std::string kUndoHint = "\r\n\r\nThe configuration window can undo this sort.";

struct SortFile {
  std::string path;
  std::string folder;  // where it belongs below the target folder
  std::string bytes;   // as it was before the run
};

// A real audio file with the given tags (or the untagged fixture when genre is empty).
SortFile MakeFile(const TempDir& dir, const std::string& name, const std::string& genre,
                  const std::string& artist, const std::string& album) {
  std::string extension = name.substr(name.rfind('.') + 1);
  SortFile file;
  file.path = dir.CopyFixture((genre.empty() ? "notag." : "tagged.") + extension, name);
  if (!genre.empty()) {
    TagInfo tags;
    tags.title = name;
    tags.genre = genre;
    tags.artist = artist;
    tags.album = album;
    EXPECT_EQ(WriteTags(file.path, &tags), 1) << name;
    file.folder = genre + "\\" + artist + "\\" + (album.empty() ? "" : album + "\\");
    std::replace(file.folder.begin(), file.folder.end(), '/', '\\');
  }
  file.bytes = ReadFileBytes(file.path);
  return file;
}

struct SorterWindowQuery {
  const std::set<DWORD>* processes;
  std::vector<HWND> found;
};

// A named callback, not a lambda: a 32-bit build needs the system's calling convention.
BOOL CALLBACK CollectSorterWindow(HWND window, LPARAM param) {
  auto* q = reinterpret_cast<SorterWindowQuery*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (q->processes->count(owner) && IsWindowVisible(window) && TextOf(window) == kSorterTitle)
    q->found.push_back(window);
  return TRUE;
}

// The visible sorter windows of the given processes.
std::vector<HWND> SorterWindows(const std::set<DWORD>& processes) {
  SorterWindowQuery query{&processes, {}};
  EnumWindows(CollectSorterWindow, LPARAM(&query));
  return query.found;
}

DWORD OwnerOf(HWND window) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  return owner;
}

class SorterEndToEnd : public ::testing::Test {
 protected:
  TempDir source_, target_, appData_;
};
}  // namespace

TEST_F(SorterEndToEnd, ThirtyProcessesShareOneWindowAndACopyRunBuildsTheTree) {
  const char* extensions[] = {"mp3", "flac", "ogg"};
  std::vector<SortFile> files;
  for (int i = 0; i < 30; ++i) {
    std::string name = "song" + std::to_string(i) + "." + extensions[i % 3];
    if (i % 10 == 9) {
      files.push_back(MakeFile(source_, name, "", "", ""));  // no tag: lands in the target folder
    } else {
      files.push_back(MakeFile(source_, name, i % 2 ? "Rock" : "Jazz",
                               i % 5 == 0 ? "AC/DC" : std::string("Band ") + char('A' + i % 3),
                               i % 4 == 0 ? "" : "Live"));
    }
  }
  SortFile late = MakeFile(source_, "late.ogg", "Ska", "Late", "Live");
  // A file already stands where one of them belongs: copying replaces it.
  const SortFile& replaced = files[1];
  CreateDirectoryA((target_ / "Rock").c_str(), nullptr);
  CreateDirectoryA((target_ / "Rock\\Band B").c_str(), nullptr);
  CreateDirectoryA((target_ / "Rock\\Band B\\Live").c_str(), nullptr);
  ASSERT_EQ(replaced.folder, "Rock\\Band B\\Live\\");
  WriteFileBytes(target_ / (replaced.folder + "song1.flac"), "old bytes");

  std::vector<std::unique_ptr<Process>> processes;
  std::set<DWORD> ids;
  for (const SortFile& file : files) {
    processes.push_back(
        std::make_unique<Process>(ProgramCommand("-sort " + Quoted(file.path)), appData_.path()));
    ASSERT_TRUE(processes.back()->started());
    ids.insert(processes.back()->id());
  }

  size_t mostWindows = 0;
  HWND window = nullptr;
  bool allRows = WaitUntil(
      [&] {
        std::vector<HWND> windows = SorterWindows(ids);
        mostWindows = std::max(mostWindows, windows.size());
        window = windows.empty() ? nullptr : windows[0];
        SorterControls s = window ? WaitForSorter(OwnerOf(window), 100) : SorterControls{};
        return s && RowCount(s.files) == files.size();
      },
      90000);
  ASSERT_TRUE(allRows) << "no sorter window came to hold all 30 files";
  DWORD first = OwnerOf(window);
  for (auto& process : processes) {
    if (process->id() != first) {
      EXPECT_EQ(process->WaitForExit(30000), 0) << "a later sorter";
    }
  }
  EXPECT_EQ(mostWindows, 1u);
  EXPECT_EQ(SorterWindows(ids).size(), 1u);

  SorterControls s = WaitForSorter(first);
  ASSERT_TRUE(s);
  std::vector<std::string> rows = ListTexts(s.files);
  std::multiset<std::string> expected;
  for (const SortFile& file : files) expected.insert(FilePart(file.path));
  EXPECT_EQ(std::multiset<std::string>(rows.begin(), rows.end()), expected);

  SetText(s.pattern, target_.path() + kTail);
  Click(s.sort);
  HWND question = WaitForMessageBox(first, "Question");
  ASSERT_TRUE(question) << "the delete question never appeared";
  // Another file handed over while the question is open joins the run.
  Process later(ProgramCommand("-sort " + Quoted(late.path)), appData_.path());
  EXPECT_EQ(later.WaitForExit(30000), 0);
  EXPECT_TRUE(WaitUntil([&] { return RowCount(s.files) == files.size() + 1; }));
  ASSERT_TRUE(AnswerMessageBox(question, IDNO));
  long exitCode = -1;
  for (auto& process : processes)
    if (process->id() == first) exitCode = process->WaitForExit(60000);
  EXPECT_EQ(exitCode, 0) << "the first sorter did not end after the run";

  files.push_back(late);
  for (const SortFile& file : files) {
    std::string name = FilePart(file.path);
    EXPECT_EQ(ReadFileBytes(target_ / (file.folder + name)), file.bytes) << file.folder << name;
    EXPECT_EQ(ReadFileBytes(file.path), file.bytes) << "copying changed " << name;
  }
}

// The notes beside the songs are no track: with one of the tracks not placed, they stay.
TEST_F(SorterEndToEnd, AMoveRunNeverReplacesAndAsksOnceForAllUnreadableFiles) {
  SortFile moved = MakeFile(source_, "moved.mp3", "Rock", "Band", "Live");
  SortFile unreadable = {source_ / "empty.mp3", "", ""};
  WriteFileBytes(unreadable.path, "");
  SortFile blocked = MakeFile(source_, "blocked.flac", "Rock", "Band", "Live");
  SortFile empty = MakeFile(source_, "untagged.ogg", "", "", "");
  SortFile stopper = {source_ / "notes.txt", "", "not audio"};
  WriteFileBytes(stopper.path, stopper.bytes);
  SortFile after = MakeFile(source_, "after.mp3", "Pop", "Band", "");
  CreateDirectoryA((target_ / "Rock").c_str(), nullptr);
  CreateDirectoryA((target_ / "Rock\\Band").c_str(), nullptr);
  CreateDirectoryA((target_ / "Rock\\Band\\Live").c_str(), nullptr);
  WriteFileBytes(target_ / "Rock\\Band\\Live\\blocked.flac", "already here");

  std::string args = "-sort";
  for (const SortFile* file : {&moved, &unreadable, &blocked, &empty, &stopper, &after})
    args += " " + Quoted(file->path);
  Process sorter(ProgramCommand(args), appData_.path());
  SorterControls s = WaitForSorter(sorter.id(), 10000);
  ASSERT_TRUE(s) << "the sorter window never appeared";
  EXPECT_EQ(RowCount(s.files), 6u);
  SetText(s.pattern, target_.path() + kTail);
  Click(s.sort);
  HWND question = WaitForMessageBox(sorter.id(), "Question");
  ASSERT_TRUE(question) << "the delete question never appeared";
  ASSERT_TRUE(AnswerMessageBox(question, IDYES));

  HWND error = WaitForMessageBox(sorter.id(), "Error");
  ASSERT_TRUE(error) << "no box for the empty file";
  EXPECT_EQ(MessageBoxText(error),
            "Couldn't read ID3 Tags of\r\n" + unreadable.path + "\r\nDo you want to continue?");
  // Yes skips this file and every later one whose tags can't be read, without another box.
  ASSERT_TRUE(AnswerMessageBox(error, IDYES));
  // The box at the end names every file that was not placed, and why.
  HWND report = WaitForMessageBox(sorter.id(), "Sort finished");
  ASSERT_TRUE(report) << "no box after a run that left files behind";
  EXPECT_EQ(MessageBoxText(report),
            "3 of 6 files were placed.\r\n" +
                ("\r\n" + unreadable.path + "\r\n    Tags can't be read") +
                ("\r\n" + blocked.path + "\r\n    The target exists") +
                ("\r\n" + stopper.path + "\r\n    The album's tracks don't all go to one folder") +
                kUndoHint);
  ASSERT_TRUE(AnswerMessageBox(report, IDOK));
  EXPECT_EQ(sorter.WaitForExit(30000), 0) << "the sorter did not end after the run";

  EXPECT_EQ(ReadFileBytes(target_ / "Rock\\Band\\Live\\moved.mp3"), moved.bytes);
  EXPECT_FALSE(FileExists(moved.path));
  // A move never replaces: both files stay as they were.
  EXPECT_EQ(ReadFileBytes(target_ / "Rock\\Band\\Live\\blocked.flac"), "already here");
  EXPECT_EQ(ReadFileBytes(blocked.path), blocked.bytes);
  EXPECT_EQ(ReadFileBytes(target_ / "untagged.ogg"), empty.bytes);
  EXPECT_FALSE(FileExists(empty.path));
  // The run went on past the second unreadable file.
  EXPECT_EQ(ReadFileBytes(target_ / "Pop\\Band\\after.mp3"), after.bytes);
  EXPECT_FALSE(FileExists(after.path));
  EXPECT_TRUE(FileExists(unreadable.path) && FileExists(stopper.path));
}

TEST_F(SorterEndToEnd, AFileHandedOverAfterTheRunOpensItsSendersOwnWindow) {
  SortFile unreadable = {source_ / "empty.mp3", "", ""};
  WriteFileBytes(unreadable.path, "");
  SortFile late = MakeFile(source_, "late.mp3", "Rock", "Band", "");
  Process first(ProgramCommand("-sort " + Quoted(unreadable.path)), appData_.path());
  SorterControls s = WaitForSorter(first.id(), 10000);
  ASSERT_TRUE(s) << "the sorter window never appeared";
  Click(s.sort);
  HWND question = WaitForMessageBox(first.id(), "Question");
  ASSERT_TRUE(question) << "the delete question never appeared";
  ASSERT_TRUE(AnswerMessageBox(question, IDNO));
  HWND error = WaitForMessageBox(first.id(), "Error");
  ASSERT_TRUE(error) << "no box for the empty file";
  ASSERT_TRUE(AnswerMessageBox(error, IDYES));
  HWND report = WaitForMessageBox(first.id(), "Sort finished");
  ASSERT_TRUE(report) << "no box at the end of the run";

  // The run has ended and its window still shows: a later sorter keeps its file.
  Process later(ProgramCommand("-sort " + Quoted(late.path)), appData_.path());
  SorterControls own = WaitForSorter(later.id(), 15000);
  ASSERT_TRUE(own) << "the later sorter opened no window of its own";
  EXPECT_EQ(ListTexts(own.files), std::vector<std::string>{FilePart(late.path)});
  EXPECT_EQ(RowCount(s.files), 1u);
  ASSERT_TRUE(AnswerMessageBox(report, IDOK));
  EXPECT_EQ(first.WaitForExit(30000), 0);
  Click(own.cancel);
  EXPECT_EQ(later.WaitForExit(30000), 0);
  EXPECT_EQ(ReadFileBytes(late.path), late.bytes);
}

// A copy run never destroys a file of the run: a row whose target is another row's file, and a row
// whose target an earlier row has just filled, are not placed; the preview marks both before the
// run, the end box names them, and all four songs are still there afterwards.
TEST_F(SorterEndToEnd, ACopyRunKeepsEverySongOfTheRun) {
  SortFile first = MakeFile(source_, "01.mp3", "Rock", "Band", "Live");
  CreateDirectoryA((source_ / "Rock").c_str(), nullptr);
  CreateDirectoryA((source_ / "Rock\\Band").c_str(), nullptr);
  CreateDirectoryA((source_ / "Rock\\Band\\Live").c_str(), nullptr);
  SortFile placed = MakeFile(source_, "Rock\\Band\\Live\\01.mp3", "Jazz", "Trio", "Club");
  SortFile one = MakeFile(source_, "02.ogg", "Pop", "Duo", "Hits");
  CreateDirectoryA((source_ / "again").c_str(), nullptr);
  SortFile two = MakeFile(source_, "again\\02.ogg", "Pop", "Duo", "Hits");

  std::string args = "-sort";
  for (const SortFile* file : {&first, &placed, &one, &two}) args += " " + Quoted(file->path);
  Process sorter(ProgramCommand(args), appData_.path());
  SorterControls s = WaitForSorter(sorter.id(), 10000);
  ASSERT_TRUE(s) << "the sorter window never appeared";
  SetText(s.pattern, source_.path() + kTail);
  // The targets from where they leave the pattern's fixed folder, the source folder here.
  const std::vector<std::string> marks = {
      "The target is a file of this sort: Rock\\Band\\Live\\01.mp3", "Jazz\\Trio\\Club\\01.mp3",
      "Pop\\Duo\\Hits\\02.ogg", "Same target as an earlier file: Pop\\Duo\\Hits\\02.ogg"};
  EXPECT_TRUE(WaitUntil([&] { return ListTexts(s.files, 1) == marks; }))
      << "the preview shows: " << ::testing::PrintToString(ListTexts(s.files, 1));
  Click(s.sort);
  HWND question = WaitForMessageBox(sorter.id(), "Question");
  ASSERT_TRUE(question) << "the delete question never appeared";
  ASSERT_TRUE(AnswerMessageBox(question, IDNO));
  HWND report = WaitForMessageBox(sorter.id(), "Sort finished");
  ASSERT_TRUE(report) << "no box after a run that left files behind";
  EXPECT_EQ(MessageBoxText(report),
            "2 of 4 files were placed.\r\n" +
                ("\r\n" + first.path + "\r\n    The target is a file of this sort") +
                ("\r\n" + two.path + "\r\n    Same target as an earlier file") + kUndoHint);
  ASSERT_TRUE(AnswerMessageBox(report, IDOK));
  EXPECT_EQ(sorter.WaitForExit(30000), 0);

  for (const SortFile* file : {&first, &placed, &one, &two})
    EXPECT_EQ(ReadFileBytes(file->path), file->bytes) << file->path;
  EXPECT_EQ(ReadFileBytes(source_ / "Jazz\\Trio\\Club\\01.mp3"), placed.bytes);
  EXPECT_EQ(ReadFileBytes(source_ / "Pop\\Duo\\Hits\\02.ogg"), one.bytes);
}

// A name given relative to the folder a sorter was started in names the file of that folder, also
// once it has joined the window of a sorter started in another folder.
TEST_F(SorterEndToEnd, ARelativeNameHandedOverNamesTheFileOfItsOwnFolder) {
  TempDir other;
  SortFile here = MakeFile(source_, "y.mp3", "Rock", "Here", "");
  SortFile there = MakeFile(other, "y.mp3", "Jazz", "There", "");
  Process first(ProgramCommand("-sort y.mp3"), appData_.path(), source_.path());
  SorterControls s = WaitForSorter(first.id(), 10000);
  ASSERT_TRUE(s) << "the sorter window never appeared";
  Process later(ProgramCommand("-sort y.mp3"), appData_.path(), other.path());
  EXPECT_EQ(later.WaitForExit(30000), 0);
  ASSERT_TRUE(WaitUntil([&] { return RowCount(s.files) == 2u; })) << "the file was not handed over";
  SetText(s.pattern, target_.path() + kTail);
  ASSERT_TRUE(StartSort(s, first.id(), false)) << "the delete question never appeared";
  EXPECT_EQ(first.WaitForExit(30000), 0) << "the sorter did not end after the run";
  EXPECT_EQ(ReadFileBytes(target_ / "Rock\\Here\\y.mp3"), here.bytes);
  EXPECT_EQ(ReadFileBytes(target_ / "Jazz\\There\\y.mp3"), there.bytes);
}

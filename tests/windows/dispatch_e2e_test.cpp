// DA3Zur.exe started with hand-written command lines: how the real process command line is split,
// which switch selects which mode, and that every run ends with exit code 0.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/sorter_support.h"
#include "tests/support/win_test_support.h"

using namespace testing_win;

namespace {
// Waits for the one read-failure box of the process, checks that it lists the files and presses
// OK.
void ExpectReadFailureBox(const Process& program, const std::vector<std::string>& paths) {
  HWND box = WaitForMessageBox(program.id(), "Error");
  ASSERT_NE(box, nullptr) << "no read-failure box";
  std::string text = "Couldn't read ID3 Tags of";
  for (const std::string& path : paths) text += "\r\n" + path;
  EXPECT_EQ(MessageBoxText(box), text);
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
}
}  // namespace

TEST(Dispatch, EditWithNothingToEditEndsAtOnceWithExitCodeZero) {
  TempDir appData;
  for (const char* arguments : {"-edit", "-edit \"\" \"   \"   "}) {
    Process program(ProgramCommand(arguments), appData.path());
    ASSERT_TRUE(program.started());
    EXPECT_EQ(program.WaitForExit(), 0) << arguments;
  }
}

TEST(Dispatch, EditReportsMissingAndEmptyFilesInOneBoxAndEndsWithZero) {
  TempDir dir, appData;
  const std::string missing = dir / "missing.mp3";
  const std::string empty = dir / "empty.mp3";
  WriteFileBytes(empty, "");
  Process program(ProgramCommand("-edit " + Quoted(missing) + " " + Quoted("  " + empty + "  ")),
                  appData.path());
  ASSERT_TRUE(program.started());
  ExpectReadFailureBox(program, {missing, empty});
  EXPECT_EQ(program.WaitForExit(), 0);
}

// A quote closes an argument even when no space follows, empty quotes make an empty argument
// that is skipped, and a tab is an ordinary character of an unquoted argument.
TEST(Dispatch, TheRealCommandLineIsSplitAtQuotesAndSpacesOnly) {
  TempDir dir, appData;
  const std::string quoted = dir / "quoted name.mp3";
  const std::string glued = dir / "glued\"on.mp3";
  const std::string tabbed = dir / "tab\there.mp3";
  Process program(ProgramCommand("-edit " + Quoted(quoted) + glued + " \"\" " + tabbed),
                  appData.path());
  ASSERT_TRUE(program.started());
  ExpectReadFailureBox(program, {quoted, glued, tabbed});
  EXPECT_EQ(program.WaitForExit(), 0);
}

TEST(Dispatch, SortKeepsExistingFilesInCommandLineOrderDuplicatesIncluded) {
  TempDir dir, appData;
  const std::string song = dir.CopyFixture("tagged.mp3", "song.mp3");
  const std::string empty = dir / "empty.ogg";
  WriteFileBytes(empty, "");
  const std::string arguments = "-sort " + Quoted(dir / "missing.mp3") + " " + Quoted(dir.path()) +
                                " " + Quoted(" " + song + " ") + " C:\\ " + Quoted(empty) + " " +
                                Quoted(song);
  Process program(ProgramCommand(arguments), appData.path());
  ASSERT_TRUE(program.started());
  SorterControls sorter = WaitForSorter(program.id());
  ASSERT_TRUE(sorter) << "no sorter window";
  EXPECT_EQ(ListTexts(sorter.files),
            (std::vector<std::string>{"song.mp3", "empty.ogg", "song.mp3"}));
  PostMessageA(sorter.window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0);
}

TEST(Dispatch, SortWithOnlyFoldersOpensAnEmptySorter) {
  TempDir dir, appData;
  Process program(ProgramCommand("-sort " + Quoted(dir.path()) + " C:\\"), appData.path());
  ASSERT_TRUE(program.started());
  SorterControls sorter = WaitForSorter(program.id());
  ASSERT_TRUE(sorter) << "no sorter window";
  EXPECT_EQ(RowCount(sorter.files), 0u);
  PostMessageA(sorter.window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0);
}

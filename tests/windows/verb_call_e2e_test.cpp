// The verbs as Explorer carries them out: the registration read back, the verb's class created
// out of process (DA3Zur.exe started by COM with -Embedding), and the whole selection dropped on
// it in one call as a data object with CF_HDROP.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>
#include <oleidl.h>
#include <shlobj.h>
#include <commctrl.h>

#include "base/wide_text_win.h"
#include "configure/shell_verbs.h"
#include "editor/editor_window.h"
#include "sorter/sorter_window.h"
#include "tests/support/configure_support.h"
#include "tests/support/editor_support.h"
#include "tests/support/sorter_support.h"
#include "tests/support/verb_call_support.h"
#include "tests/support/win_test_support.h"

using namespace testing_win;

namespace {
class VerbCall : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    RemoveAllVerbs();
    RegisterVerbsForProgram();
    // The server COM starts inherits this process's environment.
    SetEnvironmentVariableA("APPDATA", appData_.path().c_str());
  }
  void TearDown() override {
    RemoveAllVerbs();
    CoUninitialize();
  }

  TempDir dir_, appData_;
};

// Every visible top-level window with the title, whichever process shows it.
std::vector<HWND> WindowsTitled(const char* title) {
  std::vector<HWND> found;
  for (HWND window = FindWindowExA(nullptr, nullptr, nullptr, title); window;
       window = FindWindowExA(nullptr, window, nullptr, title))
    if (IsWindowVisible(window)) found.push_back(window);
  return found;
}

// Waits until the process has ended.
bool WaitForEnd(DWORD processId, DWORD timeoutMs) {
  const KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
  return !process || WaitForSingleObject(process.get(), timeoutMs) == WAIT_OBJECT_0;
}
}  // namespace

TEST_F(VerbCall, AThousandFilesInOneCallMakeOneSorterWindowAndASecondCallJoinsIt) {
  std::vector<std::string> files;
  for (int i = 0; i < 1000; ++i) {
    files.push_back(dir_ / ("f" + std::to_string(i) + ".mp3"));
    WriteFileBytes(files.back(), "");
  }
  ASSERT_TRUE(InvokeVerb(kSortVerbKey, files));
  const DWORD first = ProcessShowing(kSorterTitle);
  ASSERT_NE(first, 0u) << "no sorter window after the call";
  SorterControls s = WaitForSorter(first, 20000);
  ASSERT_TRUE(s);
  EXPECT_TRUE(WaitUntil([&] { return RowCount(s.files) == 1000u; }, 20000))
      << RowCount(s.files) << " rows";
  const std::vector<std::string> names = ListTexts(s.files);
  ASSERT_EQ(names.size(), 1000u);
  EXPECT_EQ(names.front(), "f0.mp3");
  EXPECT_EQ(names.back(), "f999.mp3");

  // A second call while the window is open: another process, whose files join this window.
  const std::vector<std::string> more = {dir_ / "f0.mp3", dir_ / "late.mp3"};
  WriteFileBytes(more[1], "");
  ASSERT_TRUE(InvokeVerb(kSortVerbKey, more));
  EXPECT_TRUE(WaitUntil([&] { return RowCount(s.files) == 1002u; }, 20000))
      << RowCount(s.files) << " rows";
  EXPECT_EQ(ListTexts(s.files).back(), "late.mp3");
  EXPECT_EQ(WindowsTitled(kSorterTitle).size(), 1u);

  PostMessageA(s.window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitForEnd(first, 10000)) << "the sorter did not end after its window closed";
  for (const std::string& file : files) ASSERT_TRUE(FileExists(file)) << file;
}

// The selection comes in one editor, in one process, which ends with it.
TEST_F(VerbCall, TheEditVerbShowsOneEditorForTheWholeSelection) {
  const std::vector<std::string> files = {dir_.CopyFixture("tagged.mp3", "one.mp3"),
                                          dir_.CopyFixture("tagged.ogg", "two.ogg"),
                                          dir_.CopyFixture("tagged.flac", "three.flac")};
  ASSERT_TRUE(InvokeVerb(kEditVerbKey, files));
  const DWORD process = ProcessShowing(kEditorTitle);
  ASSERT_NE(process, 0u) << "no editor";
  EditorWindowFound editor = WaitForEditor(process, 10000);
  ASSERT_TRUE(editor);
  EXPECT_EQ(WindowsTitled(kEditorTitle).size(), 1u) << "more than one editor";
  EXPECT_EQ(TextOf(editor[kStatusBar]), "3 files: one.mp3, two.ogg, three.flac");
  EXPECT_EQ(TextOf(editor[kTitleField]), "Tagged Title");  // shared by all three
  Click(editor[kCancelButton]);
  ASSERT_TRUE(WaitUntilClosed(editor.window, 10000));
  EXPECT_TRUE(WaitForEnd(process, 10000)) << "the edit run did not end with its editor";
}

// COM starts the server in a folder of its own choosing (under Wine the caller's, on Windows the
// system folder): the sorter starts from the folder of the selection, and the run sorts there. A
// name that is no valid UTF-16 is listed and reported, as on the command line.
TEST_F(VerbCall, TheSortVerbStartsFromTheFolderOfTheSelection) {
  const std::string song = dir_.CopyFixture("tagged.mp3", "song.mp3");
  TempDir elsewhere;
  wchar_t before[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, before);
  SetCurrentDirectoryW(Wide(elsewhere.path()).c_str());
  const std::wstring lost = Wide(dir_.path()) + L"lost\xD800.mp3";
  const bool called = InvokeVerb(kSortVerbKey, std::vector<std::wstring>{Wide(song), lost});
  SetCurrentDirectoryW(before);
  ASSERT_TRUE(called);
  const DWORD process = ProcessShowing(kSorterTitle);
  ASSERT_NE(process, 0u) << "no sorter window after the call";
  SorterControls s = WaitForSorter(process, 20000);
  ASSERT_TRUE(s);
  EXPECT_EQ(TextOf(s.pattern), dir_.path() + "%GENRE%\\%ARTIST%\\%ALBUM%\\*.$");
  EXPECT_TRUE(WaitUntil([&] { return RowCount(s.files) == 2u; })) << RowCount(s.files) << " rows";
  ASSERT_TRUE(StartSort(s, process, false, 10000)) << "the delete question never appeared";  // copy
  HWND report = WaitForMessageBox(process, "Sort finished", 10000);
  ASSERT_TRUE(report) << "no box for the name that can't be read";
  EXPECT_EQ(MessageBoxText(report), "1 of 2 files were placed.\r\n\r\n" + Utf8Shown(lost) +
                                        "\r\n    The name holds a character that can't be read" +
                                        "\r\n\r\nThe configuration window can undo this sort.");
  ASSERT_TRUE(AnswerMessageBox(report, IDOK));
  EXPECT_TRUE(WaitForEnd(process, 20000)) << "the sorter did not end after the run";
  EXPECT_EQ(ReadFileBytes(dir_ / "Rock\\Tagged Artist\\Tagged Album\\song.mp3"),
            ReadFileBytes(song));
  EXPECT_EQ(FileCount(elsewhere.path()), 0u);
}

// The sorter window run in this process: its controls, the folder choice, the hand-over receiver
// and sender, and the boxes of a sort run. A driver thread plays the user and later processes.
#include "sorter/sorter_window.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <thread>

#include "base/file_system_win.h"
#include "base/wide_text_win.h"
#include "base/win_handles.h"
#include "tags/tag_bridge.h"
#include "tests/support/sorter_support.h"
#include "tests/support/win_test_support.h"

using namespace testing_win;

namespace {
const DWORD kSelf = GetCurrentProcessId();
const std::string kTail = "%GENRE%\\%ARTIST%\\%ALBUM%\\*.$";
const std::string kUndoHint = "\r\n\r\nThe configuration window can undo this sort.";

class SorterWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    FillDefaultTexts(texts_);
  }
  void TearDown() override { CoUninitialize(); }

  // Runs the sorter on this thread while body drives it from another.
  void Run(const std::vector<std::string>& files, const std::function<void(SorterControls)>& body) {
    DriveSorter(texts_, files, [&] {
      SorterControls sorter = WaitForSorter(kSelf);
      if (!sorter) {
        ADD_FAILURE() << "the sorter window with its six controls never appeared";
        return;
      }
      body(sorter);
    });
  }

  TextTable texts_;
  TempDir dir_;
};

void SendPayload(HWND window, const void* data, DWORD size) {
  COPYDATASTRUCT payload{0, size, const_cast<void*>(data)};
  EXPECT_EQ(SendMessageA(window, WM_COPYDATA, 0, LPARAM(&payload)), TRUE);
}

// The hover text the file list shows for a row, asked of the window as the list asks it.
std::string InfoTip(const SorterControls& s, int row) {
  wchar_t text[2048] = L"(not answered)";
  NMLVGETINFOTIPW tip{};
  tip.hdr = {s.files, UINT_PTR(GetDlgCtrlID(s.files)), LVN_GETINFOTIPW};
  tip.pszText = text;
  tip.cchTextMax = int(std::size(text));
  tip.iItem = row;
  SendMessageW(s.window, WM_NOTIFY, tip.hdr.idFrom, LPARAM(&tip));
  return Utf8Shown(text);
}

// The text of the selected item of the folder browser's tree.
std::string SelectedFolderName(HWND dialog) {
  HWND tree = FindWindowExA(dialog, nullptr, WC_TREEVIEWA, nullptr);
  if (!tree) return "(no tree)";
  HTREEITEM item = HTREEITEM(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  char text[MAX_PATH] = {};
  TVITEMA info{};
  info.mask = TVIF_TEXT;
  info.hItem = item;
  info.pszText = text;
  info.cchTextMax = sizeof text;
  SendMessageA(tree, TVM_GETITEMA, 0, LPARAM(&info));
  return text;
}
}  // namespace

TEST_F(SorterWindowTest, ShowsItsControlsMacrosAndFiles) {
  char folder[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, folder);
  SetCurrentDirectoryA(dir_.path().c_str());
  Run({"C:\\a.mp3", "C:\\b c.ogg"}, [&](SorterControls s) {
    EXPECT_EQ(ClientSize(s.window).cx, 600);
    EXPECT_EQ(ClientSize(s.window).cy, 240);
    LONG style = StyleOf(s.window);
    EXPECT_TRUE((style & WS_CAPTION) == WS_CAPTION && (style & WS_SYSMENU) &&
                (style & WS_MINIMIZEBOX));
    EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_THICKFRAME));

    struct Expected {
      HWND control;
      const char* className;
      RECT rect;
      const char* text;
    };
    for (const Expected& e : {Expected{s.pattern, "Edit", {10, 10, 260, 30}, nullptr},
                              Expected{s.browse, "Button", {260, 10, 290, 30}, "..."},
                              Expected{s.macros, "SysListView32", {10, 40, 290, 164}, nullptr},
                              Expected{s.sort, "Button", {10, 200, 145, 230}, "Sort"},
                              Expected{s.cancel, "Button", {155, 200, 290, 230}, "Cancel"},
                              Expected{s.files, "SysListView32", {300, 10, 590, 230}, nullptr}}) {
      EXPECT_EQ(ClassOf(e.control), e.className);
      RECT r = RectInParent(e.control);
      EXPECT_EQ(r.left, e.rect.left) << e.className;
      EXPECT_EQ(r.top, e.rect.top) << e.className;
      EXPECT_EQ(r.right, e.rect.right) << e.className;
      EXPECT_EQ(r.bottom, e.rect.bottom) << e.className;
      if (e.text) {
        EXPECT_EQ(TextOf(e.control), e.text);
      }
    }
    EXPECT_EQ(TextOf(s.pattern), dir_.path() + kTail);
    EXPECT_TRUE(StyleOf(s.pattern) & ES_AUTOHSCROLL);
    EXPECT_TRUE(GetWindowLongA(s.pattern, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(StyleOf(s.sort) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    for (HWND list : {s.macros, s.files}) {
      EXPECT_EQ(StyleOf(list) & LVS_TYPEMASK, LVS_REPORT);
      EXPECT_TRUE(StyleOf(list) & LVS_SINGLESEL);
    }
    DWORD extended = DWORD(SendMessageA(s.macros, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(extended & (LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP),
              DWORD(LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP));

    EXPECT_EQ(HeaderTexts(s.macros),
              (std::vector<std::string>{"Macro", "Will be replaced with the ..."}));
    EXPECT_EQ(ColumnWidth(s.macros, 0), 80);
    EXPECT_EQ(ColumnWidth(s.macros, 1), 190);
    EXPECT_EQ(ListTexts(s.macros, 0),
              (std::vector<std::string>{"*", "$", "%TITLE%", "%ARTIST%", "%ALBUM%", "%YEAR%",
                                        "%COMMENT%", "%TRACK%", "%GENRE%"}));
    EXPECT_EQ(ListTexts(s.macros, 1),
              (std::vector<std::string>{"... the basename part of the source file",
                                        "... the extension part of the source file", "... title",
                                        "... artist", "... album", "... year", "... comment",
                                        "... track", "... genre"}));
    EXPECT_EQ(HeaderTexts(s.files), (std::vector<std::string>{"Filename", "Target"}));
    // The file's name, and the target filling the rest of the list: both in view.
    EXPECT_EQ(ColumnWidth(s.files, 0), 100);
    RECT client{};
    GetClientRect(s.files, &client);
    EXPECT_EQ(ColumnWidth(s.files, 1), client.right - 100 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(ListTexts(s.files), (std::vector<std::string>{"a.mp3", "b c.ogg"}));
    const std::vector<std::string> unread(2, "Tags can't be read");
    EXPECT_TRUE(WaitUntil([&] { return ListTexts(s.files, 1) == unread; }))
        << "the preview of two missing files never said so";
  });
  SetCurrentDirectoryA(folder);
}

TEST_F(SorterWindowTest, TakesItsTextsFromTheTableButKeepsItsTitle) {
  for (size_t i = 0; i < kTextCount; ++i) texts_[i] = "T" + std::to_string(i);
  Run({}, [&](SorterControls s) {
    EXPECT_EQ(TextOf(s.sort), "T36");
    EXPECT_EQ(TextOf(s.cancel), "T16");
    EXPECT_EQ(HeaderTexts(s.macros), (std::vector<std::string>{"T25", "T26"}));
    EXPECT_EQ(ListTexts(s.macros, 1)[0], "T35");
    EXPECT_EQ(HeaderTexts(s.files), (std::vector<std::string>{"T17", "T43"}));
    EXPECT_EQ(RowCount(s.files), 0u);
  });
}

TEST_F(SorterWindowTest, CancelAndTheCloseBoxEndWithoutSorting) {
  std::string song = dir_.CopyFixture("tagged.mp3", "song.mp3");
  Run({song}, [&](SorterControls s) {
    SetText(s.pattern, dir_.path() + "out\\*.$");
    Click(s.cancel);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(s.window); })) << "Cancel did nothing";
  });
  EXPECT_FALSE(FileExists(dir_ / "out\\song.mp3"));
  Run({song}, [&](SorterControls s) {
    SetText(s.pattern, dir_.path() + "out\\*.$");
    PostMessageA(s.window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(s.window); })) << "the close box did nothing";
  });
  EXPECT_TRUE(FileExists(song));
  EXPECT_FALSE(FileExists(dir_ / "out\\song.mp3"));
}

TEST_F(SorterWindowTest, FolderChoiceStartsAtTheFieldAndReplacesIt) {
  // Wine's browser selects a start folder just below C: but stops halfway down a deep Z: path.
  const std::string name = "sorter-pick-" + std::to_string(kSelf);
  const std::string pick = "C:\\" + name + "\\";
  CreateDirectoryA(pick.c_str(), nullptr);
  const std::string other = "C:\\sorter-other-" + std::to_string(kSelf);
  CreateDirectoryA(other.c_str(), nullptr);
  Run({}, [&](SorterControls s) {
    // The field names a folder with a trailing backslash: the browser starts there.
    SetText(s.pattern, pick);
    Click(s.browse);
    HWND dialog = WaitForWindow(kSelf, "#32770", nullptr);
    ASSERT_TRUE(dialog) << "the folder browser never appeared";
    EXPECT_TRUE(WaitUntil([&] { return SelectedFolderName(dialog) == name; }))
        << "selected: " << SelectedFolderName(dialog);
    ASSERT_TRUE(AnswerMessageBox(dialog, IDOK));
    EXPECT_EQ(TextOf(s.pattern), pick + kTail);

    // Typed text is replaced by the folder the user picks.
    SetText(s.pattern, "typed by the user");
    Click(s.browse);
    dialog = WaitForWindow(kSelf, "#32770", nullptr);
    ASSERT_TRUE(dialog) << "the folder browser never appeared again";
    SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, LPARAM(other.c_str()));
    ASSERT_TRUE(AnswerMessageBox(dialog, IDOK));
    EXPECT_EQ(TextOf(s.pattern), other + "\\" + kTail);

    // Cancelling changes nothing.
    SetText(s.pattern, "kept");
    Click(s.browse);
    dialog = WaitForWindow(kSelf, "#32770", nullptr);
    ASSERT_TRUE(dialog) << "the folder browser never appeared a third time";
    ASSERT_TRUE(AnswerMessageBox(dialog, IDCANCEL));
    EXPECT_EQ(TextOf(s.pattern), "kept");
  });
  RemoveTree(pick);
  RemoveTree(other);
}

TEST_F(SorterWindowTest, ReceiverTakesPathsWithinTheirSizeOnly) {
  Run({"own.mp3"}, [&](SorterControls s) {
    const char bytes[] = "C:\\handed.mp3\0after";
    SendPayload(s.window, bytes, sizeof bytes);
    SendPayload(s.window, "C:\\abcdef", 5);  // no zero byte within the size
    SendPayload(s.window, nullptr, 10);
    SendPayload(s.window, bytes, 0);
    // A later sorter (RunSorter again, as a second instance) hands its files over in order.
    RunSorter(texts_, {"C:\\x.mp3", "C:\\y.mp3"});
    EXPECT_TRUE(WaitUntil([&] { return RowCount(s.files) == 5u; }));
    EXPECT_EQ(ListTexts(s.files),
              (std::vector<std::string>{"own.mp3", "handed.mp3", "ab", "x.mp3", "y.mp3"}));
  });
}

TEST_F(SorterWindowTest, RowsHandedOverInABurstAreShown) {
  Run({"own.mp3"}, [&](SorterControls s) {
    // More rows than the list shows, sent one after another as fifty later sorters would.
    for (int i = 0; i < 50; ++i) {
      std::string path = "C:\\burst" + std::to_string(i) + ".mp3";
      SendPayload(s.window, path.c_str(), DWORD(path.size() + 1));
    }
    EXPECT_TRUE(WaitUntil([&] { return RowCount(s.files) == 51u; }))
        << "the list shows " << RowCount(s.files) << " rows";
    // The list takes up the rows it is told of and shows the scroll bar they need.
    EXPECT_TRUE(WaitUntil([&] { return (StyleOf(s.files) & WS_VSCROLL) != 0; }))
        << "the file list shows no scroll bar for its 51 rows";
    EXPECT_EQ(ListTexts(s.files).back(), "burst49.mp3");
  });
}

TEST_F(SorterWindowTest, ALaterSorterOpensItsOwnWindowWhenNoneAppears) {
  // The mutex exists (another sorter is starting or gone) but no window shows up.
  const KernelHandle mutex(CreateMutexA(nullptr, FALSE, "Global\\VeltanDA3ZurTools"));
  ASSERT_TRUE(mutex);
  DWORD start = GetTickCount();
  DriveSorter(texts_, {"C:\\mine.mp3"}, [&] {
    SorterControls s = WaitForSorter(kSelf, 10000);
    if (!s) {
      ADD_FAILURE() << "no sorter window of its own after the bounded search";
      return;
    }
    EXPECT_GE(GetTickCount() - start, 4500u);
    EXPECT_EQ(ListTexts(s.files), (std::vector<std::string>{"mine.mp3"}));
    Click(s.cancel);
  });
}

TEST_F(SorterWindowTest, ALaterSorterOpensItsOwnWindowWhenTheFirstDoesNotAnswer) {
  // The first sorter's window shows but its thread is stuck (on a dead network share, say).
  const KernelHandle mutex(CreateMutexA(nullptr, FALSE, "Global\\VeltanDA3ZurTools"));
  ASSERT_TRUE(mutex);
  const KernelHandle release(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  HWND hung = nullptr;
  std::thread stuck([&] {
    hung = CreateWindowExA(0, "STATIC", kSorterTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                           100, nullptr, nullptr, nullptr, nullptr);
    WaitForSingleObject(release.get(), 120000);  // answers no message meanwhile
    DestroyWindow(hung);
  });
  ASSERT_TRUE(WaitUntil([&] { return hung && IsWindowVisible(hung); }));
  DWORD start = GetTickCount();
  DriveSorter(texts_, {"C:\\mine.mp3"}, [&] {
    HWND own = nullptr;
    const bool found = WaitUntil(
        [&] {
          own = FindWindowExA(nullptr, hung, nullptr, kSorterTitle);
          if (own == hung || !own) own = FindWindowExA(nullptr, nullptr, nullptr, kSorterTitle);
          return own && own != hung && IsWindowVisible(own);
        },
        90000);
    std::vector<HWND> controls = found ? WaitForChildren(own, 6) : std::vector<HWND>{};
    if (controls.size() < 6) {
      ADD_FAILURE() << "no sorter window of its own after the first did not answer";
      return;
    }
    EXPECT_GE(GetTickCount() - start, 55000u) << "the sender gave up before its bound";
    // The window answers once its loop runs; until then Wine takes its thread, which waited for
    // the first window's answer, as hung.
    EXPECT_TRUE(WaitUntil([&] { return RowCount(controls[5]) == 1; }));
    EXPECT_EQ(ListTexts(controls[5]), (std::vector<std::string>{"mine.mp3"}));
    Click(controls[4]);
  });
  SetEvent(release.get());
  stuck.join();
}

TEST_F(SorterWindowTest, RunAsksThenCopiesAndReportsUnreadableFiles) {
  std::string song = dir_.CopyFixture("tagged.mp3", "song.mp3");
  std::string empty = dir_ / "empty.mp3";
  WriteFileBytes(empty, "");
  std::string late = dir_.CopyFixture("tagged.ogg", "late.ogg");
  std::string notag = dir_.CopyFixture("notag.flac", "notag.flac");
  Run({song, empty}, [&](SorterControls s) {
    SetText(s.pattern, dir_.path() + "out\\%ARTIST%\\*.$");
    Click(s.sort);
    HWND question = WaitForMessageBox(kSelf, "Question");
    ASSERT_TRUE(question) << "the delete question never appeared";
    EXPECT_EQ(MessageBoxText(question), "Should I delete the original files after copying?");
    // A later sorter hands files over while the question is open: they join this run.
    RunSorter(texts_, {late, notag});
    EXPECT_TRUE(WaitUntil([&] { return RowCount(s.files) == 4u; }));
    ASSERT_TRUE(AnswerMessageBox(question, IDNO));
    HWND error = WaitForMessageBox(kSelf, "Error");
    ASSERT_TRUE(error) << "no box for the unreadable file";
    EXPECT_EQ(MessageBoxText(error),
              "Couldn't read ID3 Tags of\r\n" + empty + "\r\nDo you want to continue?");
    ASSERT_TRUE(AnswerMessageBox(error, IDYES));
    HWND report = WaitForMessageBox(kSelf, "Sort finished");
    ASSERT_TRUE(report) << "no box at the end of a run that skipped a file";
    EXPECT_EQ(MessageBoxText(report), "3 of 4 files were placed.\r\n\r\n" + empty +
                                          "\r\n    Tags can't be read" + kUndoHint);
    EXPECT_EQ(
        ListTexts(s.files, 1),
        (std::vector<std::string>{"Copied", "Skipped: Tags can't be read", "Copied", "Copied"}));
    ASSERT_TRUE(AnswerMessageBox(report, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(s.window); }))
        << "the window did not close after the run";
  });
  EXPECT_EQ(ReadFileBytes(dir_ / "out\\Tagged Artist\\song.mp3"), ReadFileBytes(song));
  EXPECT_EQ(ReadFileBytes(dir_ / "out\\Tagged Artist\\late.ogg"), ReadFileBytes(late));
  // The file without a tag does not take the previous file's artist.
  EXPECT_EQ(ReadFileBytes(dir_ / "out\\notag.flac"), ReadFileBytes(notag));
  EXPECT_TRUE(FileExists(song) && FileExists(late) && FileExists(notag));
}

TEST_F(SorterWindowTest, CancelEndsALongRunAfterTheCurrentFileAndReportsIt) {
  std::vector<std::string> files;
  for (int i = 0; i < 300; ++i)
    files.push_back(dir_.CopyFixture("tagged.mp3", "f" + std::to_string(i) + ".mp3"));
  std::string late = dir_.CopyFixture("tagged.flac", "late.flac");
  Run(files, [&](SorterControls s) {
    SetText(s.pattern, dir_.path() + "out\\*.$");
    // The whole list's preview is worked out in the background.
    EXPECT_TRUE(WaitUntil([&] { return ListTexts(s.files, 1).back() == "f299.mp3"; }, 30000))
        << "the preview of the last row never came";
    Click(s.sort);
    HWND question = WaitForMessageBox(kSelf, "Question");
    ASSERT_TRUE(question) << "the delete question never appeared";
    ASSERT_TRUE(AnswerMessageBox(question, IDYES));
    ASSERT_TRUE(IsWindow(s.window)) << "the run ended before the test could look";
    // While files are moved, the window answers within a moment and takes a handed-over file.
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutA(s.window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer))
        << "the window did not answer during the run";
    const std::string payload = late;
    COPYDATASTRUCT data{0, DWORD(payload.size() + 1), const_cast<char*>(payload.c_str())};
    EXPECT_TRUE(
        SendMessageTimeoutA(s.window, WM_COPYDATA, 0, LPARAM(&data), SMTO_NORMAL, 1000, &answer) &&
        answer == TRUE)
        << "the hand-over was not taken during the run";
    for (HWND control : {s.pattern, s.browse, s.sort})
      EXPECT_FALSE(IsWindowEnabled(control)) << ClassOf(control) << " takes input during the run";
    EXPECT_TRUE(IsWindowEnabled(s.cancel));
    Click(s.cancel);
    HWND report = WaitForMessageBox(kSelf, "Sort finished", 30000);
    ASSERT_TRUE(report) << "no box after Cancel";
    // A file handed over now is not taken: its sender keeps it.
    EXPECT_TRUE(
        SendMessageTimeoutA(s.window, WM_COPYDATA, 0, LPARAM(&data), SMTO_NORMAL, 1000, &answer));
    EXPECT_EQ(answer, DWORD_PTR(FALSE));
    const std::string text = MessageBoxText(report);
    size_t placed = 0;
    ASSERT_EQ(sscanf(text.c_str(), "%zu of 301 files were placed.", &placed), 1) << text;
    EXPECT_NE(text.find("\r\nThe sort was cancelled."), std::string::npos) << text;
    EXPECT_GT(placed, 0u);
    EXPECT_LT(placed, 300u) << "Cancel did not stop the run";
    // Rows reached show their outcome; the rest still show where they would have gone.
    std::vector<std::string> outcomes = ListTexts(s.files, 1);
    EXPECT_EQ(outcomes[placed - 1], "Moved");
    EXPECT_EQ(outcomes[placed], "f" + std::to_string(placed) + ".mp3");
    ASSERT_TRUE(AnswerMessageBox(report, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(s.window); })) << "the window stayed after OK";
    // Exactly the rows reached were moved; the others are untouched.
    for (size_t i = 0; i < files.size(); ++i) {
      const std::string moved = dir_.path() + "out\\f" + std::to_string(i) + ".mp3";
      EXPECT_EQ(FileExists(moved), i < placed) << i;
      EXPECT_EQ(FileExists(files[i]), i >= placed) << i;
    }
    EXPECT_TRUE(FileExists(late));
  });
}

TEST_F(SorterWindowTest, PreviewFollowsTypingAndMarksWhatStandsInTheWay) {
  std::string a = dir_.CopyFixture("tagged.mp3", "a.mp3");
  CreateDirectoryA((dir_ / "sub").c_str(), nullptr);
  std::string twin = dir_.CopyFixture("tagged.mp3", "sub\\a.mp3");
  std::string taken = dir_.CopyFixture("tagged.ogg", "taken.ogg");
  std::string empty = dir_ / "empty.mp3";
  WriteFileBytes(empty, "");
  std::string duo = dir_.CopyFixture("tagged.flac", "duo.flac");
  TagInfo tags;
  ASSERT_EQ(ReadTags(duo, &tags), 1);
  tags.artist = "AC / DC";
  ASSERT_EQ(WriteTags(duo, &tags), 1);
  const std::string out = dir_.path() + "out\\";
  CreateDirectoryA(out.c_str(), nullptr);
  CreateDirectoryA((out + "Tagged Artist").c_str(), nullptr);
  WriteFileBytes(out + "Tagged Artist\\taken.ogg", "already here");

  Run({a, twin, taken, empty, duo}, [&](SorterControls s) {
    // Typed into the field: the preview follows after a short pause.
    SetText(s.pattern, out + "%ARTIST%\\");
    SendMessageA(s.pattern, EM_SETSEL, 100, 100);
    for (char c : std::string("*.$")) PostMessageA(s.pattern, WM_CHAR, WPARAM(c), 1);
    // The targets from where they leave the pattern's fixed folder, the reasons in front.
    const std::vector<std::string> expected{
        "Tagged Artist\\a.mp3",
        "Same target as an earlier file: Tagged Artist\\a.mp3",
        "The target exists: Tagged Artist\\taken.ogg",
        "Tags can't be read",
        "AC\\DC\\duo.flac",  // "AC / DC": two levels, without the spaces
    };
    EXPECT_TRUE(WaitUntil([&] { return ListTexts(s.files, 1) == expected; }))
        << "the preview shows " << ::testing::PrintToString(ListTexts(s.files, 1));

    // Enter in the field presses Sort; Enter in the question answers No, which copies.
    PressKey(s.window, VK_RETURN);
    HWND question = WaitForMessageBox(kSelf, "Question");
    ASSERT_TRUE(question) << "Enter in the pattern field did not start the run";
    EXPECT_EQ(StyleOf(GetDlgItem(question, IDNO)) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    PressKey(question, VK_RETURN);
    HWND error = WaitForMessageBox(kSelf, "Error");
    ASSERT_TRUE(error) << "no box for the unreadable file";
    ASSERT_TRUE(AnswerMessageBox(error, IDYES));
    HWND report = WaitForMessageBox(kSelf, "Sort finished");
    ASSERT_TRUE(report) << "no box at the end of the run";
    // The twin would replace the copy the first row has just made: it is not placed.
    EXPECT_EQ(MessageBoxText(report), "3 of 5 files were placed.\r\n\r\n" + twin +
                                          "\r\n    Same target as an earlier file\r\n" + empty +
                                          "\r\n    Tags can't be read" + kUndoHint);
    EXPECT_EQ(ListTexts(s.files, 1),
              (std::vector<std::string>{
                  "Copied", "Not placed: Same target as an earlier file",
                  "Replaced an existing file: the file it replaced is kept for undo",
                  "Skipped: Tags can't be read", "Copied"}));
    ASSERT_TRUE(AnswerMessageBox(report, IDOK));
  });
  EXPECT_EQ(ReadFileBytes(out + "Tagged Artist\\taken.ogg"), ReadFileBytes(taken));
  EXPECT_EQ(ReadFileBytes(out + "AC\\DC\\duo.flac"), ReadFileBytes(duo));
  EXPECT_EQ(ReadFileBytes(out + "Tagged Artist\\a.mp3"), ReadFileBytes(a));
  EXPECT_TRUE(FileExists(a) && FileExists(twin) && FileExists(duo));
}

TEST_F(SorterWindowTest, HoverShowsBothFullPathsOfARow) {
  const std::string a = dir_.CopyFixture("tagged.mp3", "a.mp3");
  Run({a, "C:\\missing.mp3"}, [&](SorterControls s) {
    SetText(s.pattern, dir_.path() + "out\\%ARTIST%\\*.$");
    EXPECT_TRUE(SendMessageW(s.files, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_INFOTIP);
    EXPECT_TRUE(WaitUntil([&] { return ListTexts(s.files, 1)[0] == "Tagged Artist\\a.mp3"; }))
        << ::testing::PrintToString(ListTexts(s.files, 1));
    EXPECT_EQ(InfoTip(s, 0), a + "\r\n" + dir_.path() + "out\\Tagged Artist\\a.mp3");
    EXPECT_EQ(InfoTip(s, 1), "C:\\missing.mp3");  // no target: its tags can't be read
    Click(s.cancel);
  });
}

TEST_F(SorterWindowTest, ALargeFileGoesWhileTheWindowAnswersAndCancelLeavesNoTarget) {
  constexpr LONGLONG kLarge = 2LL << 30;  // 2 GiB: seconds to copy
  const std::string big = dir_.CopyFixture("tagged.flac", "big.flac");
  MakeSparseFile(big, kLarge);
  const std::string target = dir_.path() + "out\\big.flac";
  // Small files first, so that the large one's row is beyond the first screen of the list.
  std::vector<std::string> files;
  for (int i = 0; i < 30; ++i)
    files.push_back(dir_.CopyFixture("tagged.mp3", "s" + std::to_string(i) + ".mp3"));
  files.push_back(big);
  const int bigRow = 30;
  Run(files, [&](SorterControls s) {
    SetText(s.pattern, dir_.path() + "out\\*.$");
    Click(s.sort);
    HWND question = WaitForMessageBox(kSelf, "Question");
    ASSERT_TRUE(question) << "the delete question never appeared";
    ASSERT_TRUE(AnswerMessageBox(question, IDNO));  // copy
    // The copy goes under a hidden name of the program's own: no cut file bears the target's.
    ASSERT_TRUE(
        WaitUntil([&] { return ListTexts(s.files, 1)[bigRow].rfind("Copying", 0) == 0; }, 10000))
        << "the copy never began";
    EXPECT_FALSE(FileExists(target)) << "a file under the target's name while it is copied";
    // While the file goes, the window answers at once, takes a hand-over and says how far it is.
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutA(s.window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer))
        << "the window did not answer during the copy";
    const std::string late = "C:\\late.mp3";
    COPYDATASTRUCT data{0, DWORD(late.size() + 1), const_cast<char*>(late.c_str())};
    EXPECT_TRUE(
        SendMessageTimeoutA(s.window, WM_COPYDATA, 0, LPARAM(&data), SMTO_NORMAL, 1000, &answer) &&
        answer == TRUE)
        << "the hand-over was not taken during the copy";
    EXPECT_TRUE(WaitUntil([&] { return ListTexts(s.files, 1)[bigRow].rfind("Copying", 0) == 0; }))
        << "the row shows " << ListTexts(s.files, 1)[bigRow];
    EXPECT_TRUE(WaitUntil([&] {
      const int top = int(SendMessageW(s.files, LVM_GETTOPINDEX, 0, 0));
      return top <= bigRow && bigRow < top + int(SendMessageW(s.files, LVM_GETCOUNTPERPAGE, 0, 0));
    })) << "the row the run is at is not in view";
    Click(s.cancel);
    HWND report = WaitForMessageBox(kSelf, "Sort finished", 60000);
    ASSERT_TRUE(report) << "no box after Cancel";
    EXPECT_EQ(MessageBoxText(report),
              "30 of 32 files were placed.\r\nThe sort was cancelled.\r\n\r\n" + big +
                  "\r\n    Stopped by Cancel" + kUndoHint);
    EXPECT_FALSE(FileExists(target)) << "Cancel left a partial target";
    ASSERT_TRUE(AnswerMessageBox(report, IDOK));
  });
  EXPECT_EQ(FileSize(big).value_or(0), std::uint64_t(kLarge));
}

// A copy that would replace a file stops when the disk is full: the file it would have replaced
// is there as it was, and nothing else is left beside it.
TEST_F(SorterWindowTest, AReplacingCopyOnAFullDiskKeepsTheFileItWouldReplace) {
  TestDiskDir disk(TestDiskDir::kSmallDisk, "work");
  if (disk.path().empty()) GTEST_SKIP() << "no small disk mounted";
  const std::string song = dir_ / "song.mp3", old = disk.path() + "song.mp3";
  WriteFileBytes(song, ReadFileBytes(FixturePath("tagged.mp3")) + std::string(2700000, '\0'));
  WriteFileBytes(old, std::string(300000, 'o'));
  Run({song}, [&](SorterControls s) {
    SetText(s.pattern, disk.path() + "*.$");
    ASSERT_TRUE(StartSort(s, kSelf, false)) << "the delete question never appeared";  // copy
    HWND report = WaitForMessageBox(kSelf, "Sort finished", 30000);
    ASSERT_TRUE(report) << "no box after a copy that did not fit";
    const std::string text = MessageBoxText(report);
    EXPECT_EQ(text.rfind("0 of 1 files were placed.\r\n\r\n" + song + "\r\n    ", 0), 0u) << text;
    EXPECT_NE(text.find("; the file at the target was kept as it was"), std::string::npos) << text;
    ASSERT_TRUE(AnswerMessageBox(report, IDOK));
  });
  EXPECT_EQ(ReadFileBytes(old), std::string(300000, 'o'));
  EXPECT_EQ(FileCount(disk.path()), 1u) << "the copy left a file beside the target";
  EXPECT_EQ(FileSize(song).value_or(0), 2700000 + ReadFileBytes(FixturePath("tagged.mp3")).size());
}

// A move to another drive goes through a copy beside the target; Cancel while it goes leaves the
// file where it was and nothing on the other drive.
TEST_F(SorterWindowTest, AMoveToAnotherDriveStoppedByCancelLeavesTheFileWhereItWas) {
  TestDiskDir other(TestDiskDir::kOtherDrive, "work");
  if (other.path().empty()) GTEST_SKIP() << "no other drive mounted";
  const std::string& drive = other.path();
  constexpr LONGLONG kLarge = 2LL << 30;  // seconds to copy
  const std::string big = dir_.CopyFixture("tagged.flac", "big.flac");
  MakeSparseFile(big, kLarge);
  Run({big}, [&](SorterControls s) {
    SetText(s.pattern, drive + "%ARTIST%\\*.$");
    ASSERT_TRUE(StartSort(s, kSelf, true)) << "the delete question never appeared";  // move
    EXPECT_TRUE(WaitUntil([&] { return ListTexts(s.files, 1)[0].rfind("Moving", 0) == 0; }, 10000))
        << "the row shows " << ListTexts(s.files, 1)[0];
    Click(s.cancel);
    HWND report = WaitForMessageBox(kSelf, "Sort finished", 60000);
    ASSERT_TRUE(report) << "no box after Cancel";
    EXPECT_EQ(MessageBoxText(report),
              "0 of 1 files were placed.\r\nThe sort was cancelled.\r\n\r\n" + big +
                  "\r\n    Stopped by Cancel; the original stays where it "
                  "was");
    ASSERT_TRUE(AnswerMessageBox(report, IDOK));
  });
  EXPECT_EQ(FileSize(big).value_or(0), std::uint64_t(kLarge));
  EXPECT_EQ(FileCount(drive + "Tagged Artist\\"), 0u) << "the move left a file behind";
}

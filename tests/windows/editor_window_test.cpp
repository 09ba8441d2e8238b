// The tag editor driven in-process as a user would: EditTags runs on the test's main thread while
// a driver thread finds the window by process and title, reads its controls, types and clicks.
#include "editor/editor_window.h"

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>

#include "tests/support/editor_support.h"
#include "tests/support/win_test_support.h"
#include "tests/support/window_driver.h"

using namespace testing_win;

namespace {
const TagInfo kRecord{"Tagged Title",
                      "Tagged Artist",
                      "Tagged Album",
                      1999,
                      "A comment",
                      7,
                      "rOCK",
                      128,
                      44100,
                      2,
                      205};

class EditorWindow : public ::testing::Test {
 protected:
  EditorWindow() {
    FillDefaultTexts(tables_.texts);
    FillGenreTable(tables_.genres);
  }

  // Runs EditTags on this thread while user() drives the editor from a driver thread, which
  // closes what the user left open, so a failing test cannot hang.
  int Edit(TagInfo& record, const std::function<void(const EditorWindowFound&)>& user,
           const std::string& path = "Z:\\music\\album/song.mp3") {
    int result = -1;
    // What Save hands on is applied to the record as the run applies it to the file.
    DriveWindow(
        [&] {
          const EditorResult edited = EditTags(tables_, record, path);
          if (edited.end == EditorEnd::kSaved) CopyBack(edited.fields, tables_.genres, record);
          result = edited.end == EditorEnd::kSaved;
        },
        [&] {
          EditorWindowFound editor = WaitForEditor(GetCurrentProcessId());
          if (!editor) return;
          user(editor);
          if (!WaitUntilClosed(editor.window)) ADD_FAILURE() << "the editor stayed open";
        });
    return result;
  }

  ProgramTables tables_;
};

struct Row {
  const char* className;
  LONG styleMask, style;  // (GWL_STYLE & styleMask) == style
  int x, y, width, height;
  size_t textId;  // the TextTable entry, or kNoText for a shown value
  const char* value = "";
};

constexpr LONG kEditBits = WS_TABSTOP | ES_READONLY | ES_NUMBER | ES_MULTILINE | ES_AUTOHSCROLL;
constexpr LONG kStaticBits = WS_TABSTOP | SS_TYPEMASK | SS_NOTIFY;
constexpr LONG kButtonBits = WS_TABSTOP | BS_TYPEMASK;
constexpr size_t kNone = size_t(-1);

const Row kTable[] = {
    {"Button", kButtonBits, BS_GROUPBOX, 10, 10, 280, 140, 2},
    {"Button", kButtonBits, BS_GROUPBOX, 10, 160, 280, 330, 7},
    {"Static", kStaticBits, SS_LEFT, 20, 30, 70, 20, 3},
    {"Static", kStaticBits, SS_LEFT, 20, 60, 70, 20, 4},
    {"Static", kStaticBits, SS_LEFT, 20, 90, 70, 20, 5},
    {"Static", kStaticBits, SS_LEFT, 20, 120, 70, 20, 6},
    {"Static", kStaticBits, SS_LEFT, 20, 180, 70, 20, 8},
    {"Static", kStaticBits, SS_LEFT, 20, 210, 70, 20, 9},
    {"Static", kStaticBits, SS_LEFT, 20, 240, 70, 20, 10},
    {"Static", kStaticBits, SS_LEFT, 20, 270, 70, 20, 11},
    {"Static", kStaticBits, SS_LEFT, 20, 300, 70, 20, 12},
    {"Static", kStaticBits, SS_LEFT, 20, 330, 70, 20, 13},
    {"Static", kStaticBits, SS_LEFT, 20, 360, 70, 20, 14},
    {"Static", kStaticBits, SS_LEFT, 20, 390, 260, 40, 20},  // SS_LEFT wraps at word ends
    {"Edit", kEditBits, WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, 100, 30, 180, 20, kNone, "128"},
    {"Edit", kEditBits, WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, 100, 60, 180, 20, kNone,
     "44100"},
    {"Edit", kEditBits, WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, 100, 90, 180, 20, kNone, "2"},
    {"Edit", kEditBits, WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, 100, 120, 180, 20, kNone,
     "00:03:25"},
    {"msctls_statusbar32", WS_TABSTOP, 0, 0, 0, 300, 0, kNone, "song.mp3"},  // placed below
    {"Button", kButtonBits, WS_TABSTOP | BS_DEFPUSHBUTTON, 20, 440, 130, 40, 15},
    {"Button", kButtonBits, WS_TABSTOP | BS_PUSHBUTTON, 150, 440, 130, 40, 16},
    {"Button", kButtonBits, WS_TABSTOP | BS_PUSHBUTTON, 105, 440, 90, 40, kTextOneByOne},
    {"Edit", kEditBits, WS_TABSTOP | ES_AUTOHSCROLL, 100, 180, 180, 20, kNone, "Tagged Title"},
    {"Edit", kEditBits, WS_TABSTOP | ES_AUTOHSCROLL, 100, 210, 180, 20, kNone, "Tagged Artist"},
    {"Edit", kEditBits, WS_TABSTOP | ES_AUTOHSCROLL, 100, 240, 180, 20, kNone, "Tagged Album"},
    {"Edit", kEditBits, WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL, 100, 270, 180, 20, kNone, "1999"},
    {"Edit", kEditBits, WS_TABSTOP | ES_AUTOHSCROLL, 100, 300, 180, 20, kNone, "A comment"},
    {"Edit", kEditBits, WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL, 100, 330, 180, 20, kNone, "7"},
    {"ComboBox", WS_TABSTOP | CBS_SORT | 3, WS_TABSTOP | CBS_DROPDOWNLIST, 100, 360, 180, 20, kNone,
     "Rock"},
    {"Static", kStaticBits, SS_LEFT | SS_NOTIFY, 10, 500, 280, 20, 21},
    // The cover column beside them: an empty box that says how to add a cover.
    {"Static", kStaticBits, WS_TABSTOP | SS_OWNERDRAW | SS_NOTIFY, 310, 16, 200, 200, kTextNoCover},
    {"Static", kStaticBits, SS_LEFT, 310, 222, 200, 20, kNone, ""},
    {"Button", kButtonBits, WS_TABSTOP | BS_PUSHBUTTON, 310, 244, 64, 28, kTextCoverAdd},
    {"Button", kButtonBits, WS_TABSTOP | BS_PUSHBUTTON, 378, 244, 64, 28, kTextCoverSaveAs},
    {"Button", kButtonBits, WS_TABSTOP | BS_PUSHBUTTON, 446, 244, 64, 28, kTextCoverRemove},
    {"Static", kStaticBits, SS_LEFT, 310, 350, 200, 40, kNone, ""},
    {"Button", kButtonBits, WS_TABSTOP | BS_PUSHBUTTON, 310, 280, 200, 28, kTextFromName},
    // "Number tracks…", off for one file.
    {"Button", kButtonBits, WS_TABSTOP | BS_PUSHBUTTON, 310, 312, 200, 28, kTextNumberTracks},
};
static_assert(std::size(kTable) == kEditorControlCount);

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageA(window, message, wParam, lParam);
}
}  // namespace

TEST_F(EditorWindow, ShowsTheRecordInTheControlsOfTheTable) {
  TagInfo record = kRecord;
  int result = Edit(record, [&](const EditorWindowFound& editor) {
    EXPECT_EQ(TextOf(editor.window), "Veltan's DA3Zur Editor 1.0");
    SIZE client = ClientSize(editor.window);
    EXPECT_EQ(client.cx, 520);
    EXPECT_EQ(client.cy, 550);
    LONG style = StyleOf(editor.window);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE),
              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0);

    HFONT font = HFONT(Send(editor.window, WM_GETFONT));
    ASSERT_NE(font, nullptr) << "the window keeps no font";
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    LOGFONTA shown{};
    ASSERT_TRUE(GetObjectA(font, sizeof shown, &shown));
    EXPECT_STREQ(shown.lfFaceName, metrics.lfMessageFont.lfFaceName);
    EXPECT_EQ(shown.lfHeight, metrics.lfMessageFont.lfHeight);
    EXPECT_EQ(shown.lfWeight, metrics.lfMessageFont.lfWeight);

    for (size_t i = 0; i < kEditorControlCount; ++i) {
      const Row& row = kTable[i];
      HWND control = editor.controls[i];
      SCOPED_TRACE("control " + std::to_string(i + 1) + " (" + row.className + ")");
      EXPECT_EQ(ClassOf(control), row.className);
      EXPECT_EQ(StyleOf(control) & row.styleMask, row.style);
      // "One by one" is for several files only.
      EXPECT_EQ(bool(StyleOf(control) & WS_VISIBLE), i != kOneByOneButton);
      if (i == kNumberTracksButton) {
        EXPECT_FALSE(IsWindowEnabled(control));
      }
      EXPECT_EQ(TextOf(control), row.textId == kNone ? row.value : DefaultText(row.textId));
      EXPECT_EQ(HFONT(Send(control, WM_GETFONT)), font) << "not in the message font";
      RECT rect = RectInParent(control);
      if (i == kStatusBar) {
        EXPECT_EQ(rect.left, 0);
        EXPECT_EQ(rect.right, 520);
        EXPECT_EQ(rect.bottom, 550);
        EXPECT_GT(rect.bottom - rect.top, 10);
        continue;
      }
      EXPECT_EQ(rect.left, row.x);
      EXPECT_EQ(rect.top, row.y);
      EXPECT_EQ(rect.right - rect.left, row.width);
      EXPECT_EQ(rect.bottom - rect.top, row.height);
    }
    int fieldEnds[4] = {-7, -7, -7, -7};
    EXPECT_EQ(Send(editor[kStatusBar], SB_GETPARTS, 4, LPARAM(fieldEnds)), 1);
    EXPECT_EQ(fieldEnds[0], 520);

    HWND genres = editor[kGenreList];
    ASSERT_EQ(Send(genres, CB_GETCOUNT), 148);
    for (int i : {0, 17, 30, 84, 147}) {
      char name[64] = {};
      Send(genres, CB_GETLBTEXT, WPARAM(i), LPARAM(name));
      EXPECT_EQ(name, tables_.genres[size_t(i)]) << "genre " << i;
    }
    EXPECT_EQ(SelectedGenre(genres), 17);  // "rOCK" selects "Rock" by the small-letter rule
    Click(editor[kCancelButton]);
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(record, kRecord);
}

TEST_F(EditorWindow, SaveCopiesTheFieldsBackAsTyped) {
  TagInfo record = kRecord;
  int result = Edit(record, [&](const EditorWindowFound& editor) {
    Retype(editor[kTitleField], "  Caf\xC3\xA9 au lait  ");
    Retype(editor[kArtistField], "");
    Type(editor[kAlbumField], " II");
    Retype(editor[kYearField], "19x8-4");  // the field takes digits only
    EXPECT_EQ(TextOf(editor[kYearField]), "1984");
    Retype(editor[kCommentField], "retyped, comment");
    Retype(editor[kTrackField], "");
    PickGenre(editor[kGenreList], 30);
    // The read-only fields take no typing.
    Type(editor[kBitrateField], "9");
    EXPECT_EQ(TextOf(editor[kBitrateField]), "128");
    Click(editor[kSaveButton]);
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(record, (TagInfo{"  Caf\xC3\xA9 au lait  ", "", "Tagged Album II", 1984,
                             "retyped, comment", 0, "Fusion", 128, 44100, 2, 205}));
}

TEST_F(EditorWindow, CancelAndTheCloseBoxLeaveTheRecordAsItWas) {
  for (bool closeBox : {false, true}) {
    SCOPED_TRACE(closeBox ? "close box" : "Cancel");
    TagInfo record = kRecord;
    int result = Edit(record, [&](const EditorWindowFound& editor) {
      Retype(editor[kTitleField], "changed");
      Retype(editor[kYearField], "2001");
      PickGenre(editor[kGenreList], 3);
      if (closeBox)
        PostMessageA(editor.window, WM_SYSCOMMAND, SC_CLOSE, 0);
      else
        Click(editor[kCancelButton]);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(record, kRecord);
  }
}

TEST_F(EditorWindow, ZeroNumbersShowAsZeroAndSaveAsZero) {
  TagInfo record = kRecord;
  record.year = 0;
  record.track = 0;
  record.length = -3;
  int result = Edit(record, [&](const EditorWindowFound& editor) {
    EXPECT_EQ(TextOf(editor[kYearField]), "0");
    EXPECT_EQ(TextOf(editor[kTrackField]), "0");
    EXPECT_EQ(TextOf(editor[kLengthField]), "00:00:00");
    Click(editor[kSaveButton]);
  });
  EXPECT_EQ(result, 1);
  TagInfo expected = kRecord;
  expected.year = expected.track = 0;
  expected.length = -3;
  EXPECT_EQ(record, expected);  // the genre too, in the capitals it had
}

TEST_F(EditorWindow, PreselectsTheFirstMatchAndKeepsAGenreTheListLacks) {
  struct Case {
    const char* genre;
    int selected;
    const char* saved;
  } cases[] = {{"Fusion", 30, "Fusion"},
               {"", -1, ""},
               {"Indie Rock", -1, "Indie Rock"},
               {"Jazz-Funk", -1, "Jazz-Funk"},
               {"JAZZ+FUNK", 29, "JAZZ+FUNK"}};  // stays as stored
  for (const Case& c : cases) {
    SCOPED_TRACE(c.genre);
    TagInfo record = kRecord;
    record.genre = c.genre;
    int result = Edit(record, [&](const EditorWindowFound& editor) {
      EXPECT_EQ(SelectedGenre(editor[kGenreList]), c.selected);
      Retype(editor[kTitleField], "only the title");
      Click(editor[kSaveButton]);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(record.title, "only the title");
    EXPECT_EQ(record.genre, c.saved);
  }
  // A free-text genre gives way to a name the user picks.
  TagInfo record = kRecord;
  record.genre = "Indie Rock";
  Edit(record, [&](const EditorWindowFound& editor) {
    PickGenre(editor[kGenreList], 131);
    Click(editor[kSaveButton]);
  });
  EXPECT_EQ(record.genre, "Indie");
}

TEST_F(EditorWindow, FocusStartsInTheTitleTabKeepsTheCreationOrderAndEnterSaves) {
  TagInfo record = kRecord;
  int result = Edit(record, [&](const EditorWindowFound& editor) {
    // From the title on, round the window once: the creation order, read-only fields included.
    // The cover box, its Add button and "From name" come after the fields (Save as and Remove are
    // off without a cover).
    const EditorControl order[] = {
        kTitleField,   kArtistField,     kAlbumField,    kYearField,      kCommentField,
        kTrackField,   kGenreList,       kCoverBox,      kCoverAddButton, kFromNameButton,
        kBitrateField, kSampleRateField, kChannelsField, kLengthField,    kSaveButton,
        kCancelButton, kTitleField};
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(editor.window) == editor[order[0]]; }))
        << "the title field never had the focus";
    DWORD start = 0, end = 0;
    SendMessageA(editor[kTitleField], EM_GETSEL, WPARAM(&start), LPARAM(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, DWORD(kRecord.title.size())) << "the title's text is not selected";
    for (size_t i = 1; i < std::size(order); ++i) {
      PressKey(editor.window, VK_TAB);
      ASSERT_TRUE(WaitUntil([&] { return FocusOf(editor.window) == editor[order[i]]; }))
          << "Tab did not reach control " << order[i] + 1;
    }
    EXPECT_TRUE(PressKeyHolding(editor.window, VK_SHIFT, VK_TAB, [&] {
      return FocusOf(editor.window) == editor[kCancelButton];
    })) << "Shift+Tab did not go back to Cancel";

    PostMessageA(editor[kTitleField], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(editor[kTitleField], WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(editor.window) == editor[kTitleField]; }));
    Retype(editor[kTitleField], "entered");
    PressKey(editor.window, VK_RETURN);
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(record.title, "entered");
}

TEST_F(EditorWindow, EscapeCancelsFromAnyField) {
  for (EditorControl field : {kTitleField, kYearField, kBitrateField}) {
    TagInfo record = kRecord;
    int result = Edit(record, [&](const EditorWindowFound& editor) {
      ASSERT_TRUE(WaitUntil([&] { return FocusOf(editor.window) == editor[kTitleField]; }));
      Retype(editor[kTitleField], "typed, then thrown away");
      PostMessageA(editor[field], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
      PostMessageA(editor[field], WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
      ASSERT_TRUE(WaitUntil([&] { return FocusOf(editor.window) == editor[field]; }))
          << "control " << field + 1 << " never had the focus";
      PressKey(editor.window, VK_ESCAPE);
    });
    EXPECT_EQ(result, 0) << "Escape in control " << field + 1;
    EXPECT_EQ(record.title, kRecord.title);
  }
}

namespace {
// Points the shell's https handler at a command that writes the address it was given into a file,
// so a click on the link can be followed without a browser; puts the old handler back afterwards.
class ShellOpenRecorder {
 public:
  explicit ShellOpenRecorder(const std::string& outFile)
      : key_(CreatedKey(HKEY_CLASSES_ROOT, kKey, KEY_ALL_ACCESS)) {
    char old[1024] = {};
    DWORD size = sizeof old - 1;
    if (RegQueryValueExA(key_.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old),
                         &size) == ERROR_SUCCESS)
      old_ = old;
    std::string command = "cmd.exe /c echo %1>\"" + outFile + "\"";
    Set(command);
  }
  ~ShellOpenRecorder() { Set(old_); }

 private:
  void Set(const std::string& value) {
    RegSetValueExA(key_.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   DWORD(value.size() + 1));
  }
  static constexpr char kKey[] = "https\\shell\\open\\command";
  KeyHandle key_;
  std::string old_;
};
}  // namespace

TEST_F(EditorWindow, TheLinkIsBlueWithAHandAndOpensTheMakersAddressWhileTheWindowStays) {
  TempDir dir;
  const std::string opened = dir / "opened.txt";
  ShellOpenRecorder recorder(opened);
  TagInfo record = kRecord;
  int result = Edit(record, [&](const EditorWindowFound& editor) {
    HWND link = editor[kLink];
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_NE(Send(editor.window, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(link)), 0);
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 192));
    Send(editor.window, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(editor[kTitleLabel]));
    EXPECT_NE(GetTextColor(dc), RGB(0, 0, 192)) << "a plain label is drawn as a link";
    DeleteDC(dc);

    // The credit line fits its one-line control in the control's font, so no word is cut away.
    const std::string credit = TextOf(link);
    HDC screen = GetDC(nullptr);
    HGDIOBJ before = SelectObject(screen, HFONT(Send(link, WM_GETFONT)));
    SIZE extent{};
    GetTextExtentPoint32A(screen, credit.c_str(), int(credit.size()), &extent);
    SelectObject(screen, before);
    ReleaseDC(nullptr, screen);
    EXPECT_LE(extent.cx, 280) << "\"" << credit << "\" is wider than the link";

    // The pointer over the link: the cursor the editor's thread sets is shared once attached.
    DWORD editorThread = GetWindowThreadProcessId(editor.window, nullptr);
    AttachThreadInput(GetCurrentThreadId(), editorThread, TRUE);
    EXPECT_TRUE(
        Send(editor.window, WM_SETCURSOR, WPARAM(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
    EXPECT_FALSE(Send(editor.window, WM_SETCURSOR, WPARAM(editor[kTitleLabel]),
                      MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    AttachThreadInput(GetCurrentThreadId(), editorThread, FALSE);

    Retype(editor[kTitleField], "typed before the click");
    PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(
        WaitUntil([&] { return ReadFileBytes(opened).find('\n') != std::string::npos; }, 10000))
        << "the shell was never asked to open an address";
    EXPECT_EQ(ReadFileBytes(opened), std::string(kMakerWebAddress) + "\r\n");
    EXPECT_TRUE(IsWindow(editor.window));
    EXPECT_EQ(TextOf(editor[kTitleField]), "typed before the click");
    Click(editor[kSaveButton]);
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(record.title, "typed before the click");
}

TEST_F(EditorWindow, LongTextsAndControlCharactersShowAndSave) {
  TagInfo record = kRecord;
  std::string longTitle;
  for (int i = 0; i < 1000; ++i) longTitle += "long \xC3\xA9titl\xC3\xA9";  // 10,000 characters
  record.title = longTitle;
  record.artist = std::string(10000, 'a');
  record.comment = "bell\x07 escape\x1B del\x7F line\r\nend";
  record.album = "\x01\x02\x03";
  std::string shownComment, shownAlbum;
  int result = Edit(record, [&](const EditorWindowFound& editor) {
    EXPECT_EQ(TextOf(editor[kTitleField]), longTitle);
    EXPECT_EQ(TextOf(editor[kArtistField]).size(), 10000u);
    Type(editor[kArtistField], "b");  // typing goes on past 10,000 characters
    shownComment = TextOf(editor[kCommentField]);
    shownAlbum = TextOf(editor[kAlbumField]);
    Click(editor[kSaveButton]);
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(record.title, longTitle);
  EXPECT_EQ(record.artist, std::string(10000, 'a') + "b");
  EXPECT_EQ(record.comment, shownComment);  // saved as the field holds it
  EXPECT_EQ(record.album, shownAlbum);
  EXPECT_FALSE(shownComment.empty());
}

TEST_F(EditorWindow, ANameWithoutAFilePartShowsAnEmptyStatusBar) {
  for (const char* path : {"", "Z:\\music\\"}) {
    TagInfo record;
    int result = Edit(
        record,
        [&](const EditorWindowFound& editor) {
          EXPECT_EQ(TextOf(editor[kStatusBar]), "");
          EXPECT_EQ(SelectedGenre(editor[kGenreList]), -1);  // the empty genre selects nothing
          Click(editor[kCancelButton]);
        },
        path);
    EXPECT_EQ(result, 0);
  }
}

// Whether the drop-down list's field, as it stands once pending paints are done, shows text in
// the grey of disabled text.
bool ShowsGreyText(HWND list) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!GetComboBoxInfo(list, &info)) return false;
  UpdateWindow(list);
  const HDC dc = GetDC(list);
  bool grey = false;
  for (int x = info.rcItem.left; x < info.rcItem.right && !grey; ++x)
    for (int y = info.rcItem.top; y < info.rcItem.bottom && !grey; ++y)
      grey = GetPixel(dc, x, y) == GetSysColor(COLOR_GRAYTEXT);
  ReleaseDC(list, dc);
  return grey;
}

// Several files: the differing fields are empty under the grey hint, the genre list too, until the
// user types in them; the save goes on a worker while the window shows how far it is, and Cancel
// stops it between two files.
TEST_F(EditorWindow, SeveralFilesShowTheHintAndASaveShowsProgressAndStopsAtCancel) {
  std::vector<TagInfo> records(6, kRecord);
  records[1].title = "Another Title";
  records[2].genre = "Jazz";
  const std::vector<std::string> names = {"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3", "f.mp3"};
  std::vector<TagInfo> written;
  EditorEnd end = EditorEnd::kOneByOne;
  DriveWindow(
      [&] {
        end = EditTogether(tables_, records, names, [&](size_t file, const EditedFields& fields) {
                written.push_back(records[file]);
                CopyBack(fields, tables_.genres, written.back());
                Sleep(400);  // a slow file: the window must answer meanwhile
                return true;
              }).end;
      },
      [&] {
        EditorWindowFound editor = WaitForEditor(GetCurrentProcessId());
        ASSERT_TRUE(editor);
        wchar_t hint[64] = {};
        EXPECT_EQ(TextOf(editor[kTitleField]), "");
        ASSERT_TRUE(SendMessageW(editor[kTitleField], EM_GETCUEBANNER, WPARAM(hint), 64));
        EXPECT_STREQ(hint, L"(different values)");
        EXPECT_TRUE(ShowsGreyText(editor[kGenreList])) << "the genre list shows no hint";
        // Typed in and emptied, the title is empty in every file, and shows no hint that says
        // otherwise.
        Type(editor[kTitleField], "x");
        Send(editor[kTitleField], WM_CHAR, VK_BACK, 1);
        hint[0] = L'?';
        SendMessageW(editor[kTitleField], EM_GETCUEBANNER, WPARAM(hint), 64);
        EXPECT_STREQ(hint, L"");
        Type(editor[kCommentField], " and more");
        Click(editor[kSaveButton]);
        EXPECT_TRUE(
            WaitUntil([&] { return TextOf(editor[kStatusBar]).find("Saving ") == 0; }, 3000))
            << TextOf(editor[kStatusBar]);
        EXPECT_FALSE(IsWindowEnabled(editor[kTitleField]));
        Click(editor[kCancelButton]);
        EXPECT_TRUE(WaitUntilClosed(editor.window));
      });
  EXPECT_EQ(end, EditorEnd::kSaved);
  ASSERT_GE(written.size(), 1u);
  EXPECT_LT(written.size(), records.size()) << "Cancel did not stop the save";
  TagInfo expected = records[0];  // only the fields typed in changed
  expected.comment = "A comment and more";
  expected.title = "";
  EXPECT_EQ(written[0], expected);
}

// DA3Zur.exe on a display at 150 % (144 DPI, set through the LogPixels value that Wine reads at a
// program's start): the editor's window, controls and font grow by half, so its texts stay sharp;
// at 96 DPI it keeps the layout as drawn.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/editor_support.h"
#include "tests/support/win_test_support.h"

using namespace testing_win;

namespace {
constexpr char kDesktopKey[] = "Control Panel\\Desktop";

// Sets the display's DPI for programs started from now on, and puts the old setting back.
class DisplayDpi {
 public:
  explicit DisplayDpi(DWORD dpi)
      : key_(CreatedKey(HKEY_CURRENT_USER, kDesktopKey, KEY_READ | KEY_WRITE)) {
    DWORD size = sizeof old_;
    hadOld_ = RegQueryValueExA(key_.get(), "LogPixels", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(&old_), &size) == ERROR_SUCCESS;
    RegSetValueExA(key_.get(), "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                   sizeof dpi);
  }
  ~DisplayDpi() {
    if (hadOld_)
      RegSetValueExA(key_.get(), "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_),
                     sizeof old_);
    else
      RegDeleteValueA(key_.get(), "LogPixels");
  }

 private:
  KeyHandle key_;
  DWORD old_ = 0;
  bool hadOld_ = false;
};

struct Layout {
  SIZE client{};
  std::vector<RECT> controls;  // in creation order, the status bar and the genre list left out
  LONG fontHeight = 0;
};

// The editor's layout as a program started at the given DPI shows it.
Layout EditorLayout(DWORD dpi) {
  Layout layout;
  TempDir dir, appData;
  const std::string song = dir.CopyFixture("tagged.mp3", "song.mp3");
  DisplayDpi display(dpi);
  Process program(ProgramCommand("-edit " + Quoted(song)), appData.path());
  EditorWindowFound editor = WaitForEditor(program.id(), 10000);
  if (!editor) {
    ADD_FAILURE() << "the editor never appeared at " << dpi << " DPI";
    return layout;
  }
  layout.client = ClientSize(editor.window);
  for (size_t i = 0; i < kEditorControlCount; ++i)
    if (i != kStatusBar && i != kGenreList)
      layout.controls.push_back(RectInParent(editor.controls[i]));
  LOGFONTA font{};
  GetObjectA(HFONT(SendMessageA(editor.window, WM_GETFONT, 0, 0)), sizeof font, &font);
  layout.fontHeight = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
  Click(editor[kCancelButton]);
  EXPECT_EQ(program.WaitForExit(10000), 0);
  return layout;
}
}  // namespace

TEST(DisplayScale, TheEditorGrowsByHalfAt144DpiAndKeepsItsLayoutAt96) {
  SetProcessDPIAware();  // this process reads the other's windows in real pixels
  const Layout normal = EditorLayout(96), large = EditorLayout(144);
  ASSERT_FALSE(normal.controls.empty());
  ASSERT_EQ(large.controls.size(), normal.controls.size());

  EXPECT_EQ(normal.client.cx, 520);
  EXPECT_EQ(normal.client.cy, 550);
  const RECT save = normal.controls[kSaveButton - 1];  // the status bar before it is left out
  EXPECT_EQ(save.left, 20);
  EXPECT_EQ(save.top, 440);
  EXPECT_EQ(save.right, 150);
  EXPECT_EQ(save.bottom, 480);

  EXPECT_EQ(large.client.cx, 780);
  EXPECT_EQ(large.client.cy, 825);
  for (size_t i = 0; i < normal.controls.size(); ++i) {
    const RECT& n = normal.controls[i];
    const RECT& l = large.controls[i];
    EXPECT_EQ(l.left, MulDiv(n.left, 3, 2)) << "control " << i;
    EXPECT_EQ(l.top, MulDiv(n.top, 3, 2)) << "control " << i;
    EXPECT_EQ(l.right - l.left, MulDiv(n.right - n.left, 3, 2)) << "control " << i;
    EXPECT_EQ(l.bottom - l.top, MulDiv(n.bottom - n.top, 3, 2)) << "control " << i;
  }
  // The message font comes at the display's size.
  EXPECT_GE(large.fontHeight * 4, normal.fontHeight * 5)
      << large.fontHeight << " against " << normal.fontHeight;
}

// The configuration window in this process: its controls, the language list, and what closing
// stores, reloads, shows and registers.
#include "configure/configuration_window.h"

#include <gtest/gtest.h>
#include <richedit.h>

#include <algorithm>

#include "base/file_system_win.h"
#include "configure/shell_verbs.h"
#include "settings/settings.h"
#include "tests/support/configure_support.h"
#include "tests/support/win_test_support.h"
#include "tests/support/window_driver.h"
#include "window_kit/window_kit_win.h"

using namespace testing_win;

namespace {
const std::string kGermanVerb = "ID3-Tag bearbeiten";
const std::string kGermanChanged =
    "Die Sprache wurde ge\xC3\xA4ndert. Die \xC3\x84nderungen werden beim n\xC3\xA4"
    "chsten Start des "
    "Programms wirksam.";

class ConfigurationWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveAllVerbs();
    SetEnvironmentVariableA("APPDATA", appData_.path().c_str());
    LoadSettings(tables_);  // creates the settings folder, English texts
    preferences_ = appData_.path() + "Veltan's DA3Zur Tools\\preferences.ini";
  }
  void TearDown() override { RemoveAllVerbs(); }

  // Runs the window on this thread while body drives it from another; a body that returns
  // without closing the window leaves it to be closed by the driver.
  void Run(const std::function<void(const ConfigurationFound&)>& body) {
    DriveWindow([&] { ConfigurationWindow(tables_); },
                [&] {
                  ConfigurationFound found = WaitForConfiguration(GetCurrentProcessId());
                  EXPECT_TRUE(found)
                      << "the configuration window with its five controls never appeared";
                  if (found) body(found);
                });
  }

  // Closes the window and answers the box that should follow; returns its title and text.
  // whileShown runs while the box is on screen.
  static std::pair<std::string, std::string> CloseAndAnswer(
      const ConfigurationFound& found, const std::function<void()>& whileShown = [] {}) {
    RequestClose(found.window);
    HWND box = WaitForMessageBox(GetCurrentProcessId(), nullptr);
    if (!box) return {"(no message box appeared)", ""};
    EXPECT_TRUE(IsWindowVisible(found.window)) << "the window must stay on screen under the box";
    whileShown();
    std::pair<std::string, std::string> shown{TextOf(box), MessageBoxText(box)};
    EXPECT_TRUE(AnswerMessageBox(box, IDOK));
    return shown;
  }

  // Closes the window and checks that no box follows.
  static void CloseWithoutMessage(const ConfigurationFound& found) {
    RequestClose(found.window);
    EXPECT_EQ(WaitForMessageBox(GetCurrentProcessId(), nullptr, 1500), nullptr)
        << "closing without a change of language must show nothing";
  }

  TempDir appData_;
  std::string preferences_;
  ProgramTables tables_;
};

// Catalog names placed next to the test program for the time of one test.
class CatalogsBesideProgram {
 public:
  explicit CatalogsBesideProgram(std::vector<std::string> files, std::string folder = "")
      : files_(std::move(files)), folder_(std::move(folder)) {
    for (const auto& name : files_) WriteFileBytes(ProgramFolder() + name, "Catalog\r\n");
    if (!folder_.empty()) CreateDirectoryA((ProgramFolder() + folder_).c_str(), nullptr);
  }
  ~CatalogsBesideProgram() {
    for (const auto& name : files_) DeleteFileA((ProgramFolder() + name).c_str());
    if (!folder_.empty()) RemoveDirectoryA((ProgramFolder() + folder_).c_str());
  }

 private:
  std::vector<std::string> files_;
  std::string folder_;
};
}  // namespace

TEST_F(ConfigurationWindowTest, ShowsTheFiveControlsAsLaidOut) {
  Run([&](const ConfigurationFound& found) {
    EXPECT_EQ(TextOf(found.window), "Veltan's DA3Zur Tools 1.0");
    SIZE client = ClientSize(found.window);
    EXPECT_EQ(client.cx, 330);
    EXPECT_EQ(client.cy, 330);
    LONG frame = StyleOf(found.window);
    EXPECT_TRUE(frame & WS_MINIMIZEBOX);
    EXPECT_FALSE(frame & (WS_MAXIMIZEBOX | WS_THICKFRAME));

    struct Expected {
      HWND control;
      int x, y, width, height;
    };
    for (auto [control, x, y, width, height] :
         {Expected{found.insert, 10, 10, 150, 50}, Expected{found.remove, 170, 10, 150, 50},
          Expected{found.hint, 10, 70, 310, 180}, Expected{found.undo, 10, 260, 310, 30},
          Expected{found.languages, 10, 300, 310, 20}}) {
      RECT rect = RectInParent(control);
      EXPECT_EQ(rect.left, x) << ClassOf(control);
      EXPECT_EQ(rect.top, y) << ClassOf(control);
      EXPECT_EQ(rect.right - rect.left, width) << ClassOf(control);
      EXPECT_EQ(rect.bottom - rect.top, height) << ClassOf(control);
    }

    EXPECT_EQ(ClassOf(found.insert), "Button");
    EXPECT_EQ(TextOf(found.insert), "Insert items into the standard contextmenu of Windows.");
    EXPECT_EQ(TextOf(found.remove), "Remove items from the standard contextmenu of Windows.");
    for (HWND button : {found.insert, found.remove}) {
      EXPECT_TRUE(StyleOf(button) & BS_MULTILINE);
      EXPECT_EQ(StyleOf(button) & BS_TYPEMASK, BS_PUSHBUTTON);
    }

    std::string hintClass = ClassOf(found.hint);
    std::transform(hintClass.begin(), hintClass.end(), hintClass.begin(), ::tolower);
    EXPECT_TRUE(hintClass == "richedit50w" || hintClass == "richedit20a") << hintClass;
    LONG hint = StyleOf(found.hint);
    EXPECT_TRUE(hint & ES_MULTILINE);
    EXPECT_TRUE(hint & ES_READONLY);
    EXPECT_TRUE(hint & WS_HSCROLL);
    EXPECT_TRUE(hint & WS_VSCROLL);
    // Two lines: the first (wider than the box) scrolls sideways instead of wrapping.
    EXPECT_EQ(SendMessageA(found.hint, EM_GETLINECOUNT, 0, 0), 2);
    std::string shown = TextOf(found.hint);
    shown.erase(std::remove(shown.begin(), shown.end(), '\n'), shown.end());
    EXPECT_EQ(shown,
              "If you start this program the first time, you should press \r\"Insert items into "
              "the standard contextmenu of Windows.\".");

    EXPECT_EQ(ClassOf(found.languages), "ComboBox");
    LONG list = StyleOf(found.languages);
    EXPECT_EQ(list & 3, CBS_DROPDOWNLIST);
    EXPECT_FALSE(list & CBS_SORT);
    std::vector<std::string> items = ComboItems(found.languages);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items[0], "");
    EXPECT_EQ(ComboSelection(found.languages), 0) << "no preferences select the English item";
    CloseWithoutMessage(found);
  });
  EXPECT_EQ(ReadFileBytes(preferences_), PreferenceBytes("", 0));
  EXPECT_EQ(ReadFileBytes(preferences_).size(), 30u);
}

TEST_F(ConfigurationWindowTest, ListsEveryCatalogNameInFileSystemOrderFoldersIncluded) {
  const std::string tag = std::to_string(GetCurrentProcessId());
  CatalogsBesideProgram beside({"zz" + tag + ".catalog", "aa" + tag + ".catalog",
                                "mm" + tag + ".catalogue", "nn" + tag + ".cat"},
                               "ff" + tag + ".catalog");
  const std::vector<std::string> expected = NamesMatching(ProgramFolder() + "*.catalog");
  Run([&](const ConfigurationFound& found) {
    std::vector<std::string> items = ComboItems(found.languages);
    ASSERT_EQ(items.size(), expected.size() + 1);
    EXPECT_EQ(items[0], "");
    EXPECT_EQ(std::vector<std::string>(items.begin() + 1, items.end()), expected);
    for (const std::string& name : {"zz" + tag + ".catalog", "aa" + tag + ".catalog",
                                    "ff" + tag + ".catalog", std::string("Deutsch.catalog")})
      EXPECT_NE(std::find(items.begin(), items.end(), name), items.end()) << name;
    for (const std::string& name : {"mm" + tag + ".catalogue", "nn" + tag + ".cat"})
      EXPECT_EQ(std::find(items.begin(), items.end(), name), items.end()) << name;
    CloseWithoutMessage(found);
  });
}

TEST_F(ConfigurationWindowTest, SelectsTheStoredLanguageByteForByte) {
  WriteFileBytes(preferences_, "Language = Deutsch.catalog\r\nContextMenu = 0\r\n");
  Run([&](const ConfigurationFound& found) {
    int selected = ComboSelection(found.languages);
    ASSERT_GT(selected, 0);
    EXPECT_EQ(ComboItems(found.languages)[size_t(selected)], "Deutsch.catalog");
    CloseWithoutMessage(found);
  });
  EXPECT_EQ(ReadFileBytes(preferences_), PreferenceBytes("Deutsch.catalog", 0));
}

TEST_F(ConfigurationWindowTest, OtherLetterCaseSelectsNothingAndClosingSwitchesToEnglish) {
  // A hand-edited 2 counts as registered: the verbs are renewed with the English texts.
  WriteFileBytes(preferences_, "language=DEUTSCH.catalog\nContextMenu=2\n");
  tables_.texts[kTextEditVerb] = "stale";
  std::pair<std::string, std::string> shown;
  Run([&](const ConfigurationFound& found) {
    EXPECT_EQ(ComboSelection(found.languages), CB_ERR);
    shown = CloseAndAnswer(found);
  });
  EXPECT_EQ(shown.first, "Information");
  EXPECT_EQ(shown.second,
            "The language was changed. The changes will be done after the program is started the "
            "next time.");
  EXPECT_EQ(ReadFileBytes(preferences_), PreferenceBytes("", 2));
  EXPECT_EQ(ReadUserVerb(kEditVerbKey).menuText, "Edit ID3-tag");
  EXPECT_EQ(ReadUserVerb(kSortVerbKey).menuText, "Sort by ID3-tag");
}

TEST_F(ConfigurationWindowTest, ChangeToGermanReloadsTellsInGermanAndRenewsTheVerbs) {
  // Registered in an earlier run; the keys were removed by something else since.
  WriteFileBytes(preferences_, PreferenceBytes("", 1));
  std::pair<std::string, std::string> shown;
  Run([&](const ConfigurationFound& found) {
    std::vector<std::string> items = ComboItems(found.languages);
    auto german = std::find(items.begin(), items.end(), "Deutsch.catalog");
    ASSERT_NE(german, items.end());
    PickItem(found.languages, int(german - items.begin()));
    // The choice takes effect only at closing.
    EXPECT_FALSE(ReadUserVerb(kEditVerbKey).verbKey);
    EXPECT_EQ(TextOf(found.insert), "Insert items into the standard contextmenu of Windows.");
    shown = CloseAndAnswer(found, [&] {
      // The file is stored before the box; the verbs are renewed after it.
      EXPECT_EQ(ReadFileBytes(preferences_), PreferenceBytes("Deutsch.catalog", 1));
      EXPECT_FALSE(ReadUserVerb(kEditVerbKey).verbKey);
    });
  });
  EXPECT_EQ(shown.first, "Information");
  EXPECT_EQ(shown.second, kGermanChanged);
  EXPECT_EQ(tables_.texts[kTextEditVerb], kGermanVerb);
  EXPECT_EQ(ReadFileBytes(preferences_), PreferenceBytes("Deutsch.catalog", 1));
  EXPECT_EQ(ReadUserVerb(kEditVerbKey).menuText, kGermanVerb);
  EXPECT_EQ(ReadUserVerb(kSortVerbKey).menuText, "Nach ID3-Tag sortieren");
}

TEST_F(ConfigurationWindowTest, GermanHintShowsItsBreakAndInsertThenRemoveLeavesNothing) {
  WriteFileBytes(preferences_, PreferenceBytes("Deutsch.catalog", 0));
  LoadSettings(tables_);
  Run([&](const ConfigurationFound& found) {
    EXPECT_EQ(TextOf(found.insert),
              "Eintr\xC3\xA4ge in das Standard-Kontextmen\xC3\xBC von Windows einf\xC3\xBCgen.");
    std::string hint = TextOf(found.hint);
    EXPECT_EQ(hint.find("\\n"), std::string::npos);
    EXPECT_NE(hint.find("sollten Sie \r"), std::string::npos) << hint;
    EXPECT_EQ(SendMessageA(found.hint, EM_GETLINECOUNT, 0, 0), 2);

    Click(found.insert);
    EXPECT_TRUE(WaitUntil([] { return ReadUserVerb(kSortVerbKey).dropTargetClass.has_value(); }))
        << "the insert button never registered the verbs";
    EXPECT_EQ(ReadUserVerb(kEditVerbKey).menuText, kGermanVerb);
    Click(found.remove);
    EXPECT_TRUE(WaitUntil([] { return !ReadUserVerb(kSortVerbKey).verbKey; }))
        << "the remove button never removed the verbs";
    CloseWithoutMessage(found);
  });
  EXPECT_EQ(ReadFileBytes(preferences_), PreferenceBytes("Deutsch.catalog", 0));
  EXPECT_FALSE(ReadUserVerb(kEditVerbKey).verbKey);
  EXPECT_TRUE(UserShellKeyExists());
}

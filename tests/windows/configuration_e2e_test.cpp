// DA3Zur.exe started as the user starts it for the set-up: the buttons, the language, the box after
// a change, preferences.ini on disk, the verbs in the registry and the texts of the next start;
// then settings and catalogs that are broken or hostile.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "base/win_handles.h"
#include "configure/configuration_window.h"
#include "configure/shell_verbs.h"
#include "tests/support/configure_support.h"
#include "tests/support/win_test_support.h"

using namespace testing_win;

namespace {
const std::string kGermanInsert =
    "Eintr\xC3\xA4ge in das Standard-Kontextmen\xC3\xBC von Windows einf\xC3\xBCgen.";
const std::string kEnglishInsert = "Insert items into the standard contextmenu of Windows.";
const std::string kGermanChanged =
    "Die Sprache wurde ge\xC3\xA4ndert. Die \xC3\x84nderungen werden beim n\xC3\xA4"
    "chsten Start des "
    "Programms wirksam.";
const std::string kFrenchChanged =
    "La langue a \xC3\xA9t\xC3\xA9 chang\xC3\xA9"
    "e. Les modifications prendront effet au prochain "
    "d\xC3\xA9marrage du programme.";
const std::string kEnglishChanged =
    "The language was changed. The changes will be done after the program is started the next "
    "time.";

class ConfigurationRun : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveAllVerbs();
    CreateDirectoryA(settings_.c_str(), nullptr);
  }
  void TearDown() override { RemoveAllVerbs(); }

  // Starts the program, waits for the window and runs body on it; then closes it (answering the
  // box that may follow) and waits for the process to end with exit code 0.
  void Start(const std::string& command, const std::function<void(const ConfigurationFound&)>& body,
             const char* expectedBox = nullptr, int timeoutMs = 5000) {
    Process program(command, appData_.path());
    ASSERT_TRUE(program.started()) << command;
    ConfigurationFound found = WaitForConfiguration(program.id(), timeoutMs);
    ASSERT_TRUE(found) << "no configuration window with its controls for " << command;
    body(found);
    RequestClose(found.window);
    if (expectedBox) {
      HWND box = WaitForMessageBox(program.id(), expectedBox);
      ASSERT_NE(box, nullptr) << "no box titled " << expectedBox << " after closing";
      EXPECT_TRUE(IsWindowVisible(found.window)) << "the window must stay on screen under the box";
      boxText_ = MessageBoxText(box);
      EXPECT_TRUE(AnswerMessageBox(box, IDOK));
    }
    EXPECT_EQ(program.WaitForExit(timeoutMs * 2), 0) << "the program did not end after closing";
  }

  // A copy of the program in a folder of its own, beside the given catalogs.
  std::string ProgramWith(const std::vector<std::pair<std::string, std::string>>& catalogs) {
    const std::string exe = programDir_ / "DA3Zur.exe";
    CopyFileA(ProgramExe().c_str(), exe.c_str(), FALSE);
    for (const auto& [name, bytes] : catalogs) WriteFileBytes(programDir_ / name, bytes);
    return "\"" + exe + "\"";
  }

  std::string Preferences() const { return ReadFileBytes(preferences_); }

  TempDir appData_, programDir_;
  const std::string settings_ = appData_.path() + "Veltan's DA3Zur Tools\\";
  const std::string preferences_ = settings_ + "preferences.ini";
  std::string boxText_;
};

std::string SelectedItem(HWND list) {
  int index = ComboSelection(list);
  std::vector<std::string> items = ComboItems(list);
  return index < 0 || size_t(index) >= items.size() ? "(none)" : items[size_t(index)];
}

int IndexOf(HWND list, const std::string& item) {
  std::vector<std::string> items = ComboItems(list);
  auto found = std::find(items.begin(), items.end(), item);
  return found == items.end() ? -1 : int(found - items.begin());
}
}  // namespace

TEST_F(ConfigurationRun, InsertThenGermanThenFrenchThenEnglishAndTheVerbsFollow) {
  const std::string exe = ProgramExe();
  Start(
      ProgramCommand(""),
      [&](const ConfigurationFound& found) {
        EXPECT_EQ(TextOf(found.insert), kEnglishInsert);
        Click(found.insert);
        ASSERT_TRUE(WaitUntil([] {
          return ReadUserVerb(kSortVerbKey).dropTargetClass.has_value();
        })) << "pressing insert never registered the verbs";
        EXPECT_EQ(ReadUserVerb(kEditVerbKey).menuText, "Edit ID3-tag");
        EXPECT_EQ(ReadUserVerb(kEditVerbKey).dropTargetClass, kEditVerbClass);
        EXPECT_EQ(ReadUserVerbClass(kEditVerbClass).localServer, "\"" + exe + "\"");
        EXPECT_EQ(ReadUserVerbClass(kSortVerbClass).localServer, "\"" + exe + "\"");
        EXPECT_EQ(ReadUserVerb(kSortVerbKey).multiSelectModel, "Player");
        EXPECT_EQ(ReadUserVerb(kSortVerbKey).icon, exe + ",0");
        int german = IndexOf(found.languages, "Deutsch.catalog");
        ASSERT_GT(german, 0);
        PickItem(found.languages, german);
      },
      "Information");
  EXPECT_EQ(boxText_, kGermanChanged);
  EXPECT_EQ(Preferences(), PreferenceBytes("Deutsch.catalog", 1));
  // The verbs were renewed in the new language.
  EXPECT_EQ(ReadUserVerb(kEditVerbKey).menuText, "ID3-Tag bearbeiten");
  EXPECT_EQ(ReadUserVerb(kSortVerbKey).menuText, "Nach ID3-Tag sortieren");

  // The next start (an unknown switch counts as none; the switches are small letters) is German
  // and has the stored choice selected; French is picked and tells in French.
  Start(
      ProgramCommand("-Edit"),
      [&](const ConfigurationFound& found) {
        EXPECT_EQ(TextOf(found.insert), kGermanInsert);
        EXPECT_EQ(SelectedItem(found.languages), "Deutsch.catalog");
        int french = IndexOf(found.languages, "Francais.catalog");
        ASSERT_GT(french, 0);
        PickItem(found.languages, french);
      },
      "Information");
  EXPECT_EQ(boxText_, kFrenchChanged);
  EXPECT_EQ(Preferences(), PreferenceBytes("Francais.catalog", 1));
  EXPECT_EQ(ReadUserVerb(kEditVerbKey).menuText, "Modifier le tag ID3");
  EXPECT_EQ(ReadUserVerb(kSortVerbKey).menuText, "Trier selon le tag ID3");
  EXPECT_EQ(ReadUserVerb(kEditVerbKey).icon, exe + ",0");

  // Back to English with an unrecognised first argument: the box comes in English, and so do the
  // verbs.
  Start(
      ProgramCommand("bogus \"C:\\x.mp3\""),
      [&](const ConfigurationFound& found) {
        EXPECT_EQ(TextOf(found.insert),
                  "Ajouter les commandes au menu contextuel standard de Windows.");
        PickItem(found.languages, 0);
      },
      "Information");
  EXPECT_EQ(boxText_, kEnglishChanged);
  EXPECT_EQ(Preferences(), PreferenceBytes("", 1));
  EXPECT_EQ(ReadUserVerb(kEditVerbKey).menuText, "Edit ID3-tag");
  EXPECT_EQ(ReadUserVerb(kSortVerbKey).menuText, "Sort by ID3-tag");

  // Removing and closing stores 0 and leaves no verbs.
  Start(ProgramCommand(""), [&](const ConfigurationFound& found) {
    Click(found.remove);
    ASSERT_TRUE(WaitUntil([] { return !ReadUserVerb(kEditVerbKey).verbKey; }))
        << "pressing remove never removed the verbs";
  });
  EXPECT_EQ(Preferences(), PreferenceBytes("", 0));
  EXPECT_FALSE(ReadUserVerb(kSortVerbKey).verbKey);
  EXPECT_TRUE(UserShellKeyExists());
}

// The window writes its two keys in their places and keeps every other line of the file (the
// editor's keys among them).
TEST_F(ConfigurationRun, ClosingWithoutChangeWritesItsTwoKeysAndKeepsTheRest) {
  WriteFileBytes(preferences_,
                 "; by hand\r\n  contextmenu = 2 apples\r\nLanguage\t=\tDeutsch.catalog  \r\n"
                 "Extra = kept?\r\n[Group]\r\nLanguage = other.catalog\r\n");
  Start(ProgramCommand(""), [](const ConfigurationFound&) {});
  EXPECT_EQ(Preferences(),
            "; by hand\r\nContextMenu = 2\r\nLanguage = Deutsch.catalog\r\nExtra = kept?\r\n"
            "[Group]\r\nLanguage = other.catalog\r\n");
  EXPECT_FALSE(ReadUserVerb(kEditVerbKey).verbKey)
      << "the flag is never compared with the registry";
}

TEST_F(ConfigurationRun, SeveralMebibytesOfPreferencesAreReadAndKept) {
  std::string big = "Language = Deutsch.catalog\r\nContextMenu = 1\r\n";
  std::mt19937 random(7);
  while (big.size() < 6u << 20) {
    big += "Key" + std::to_string(random()) + " = " + std::string(random() % 200, 'v') + "\r\n";
    if (random() % 50 == 0) big += std::string(100000, 'z') + "\n";
  }
  WriteFileBytes(preferences_, big);
  Start(ProgramCommand(""),
        [](const ConfigurationFound& found) { EXPECT_EQ(TextOf(found.insert), kGermanInsert); });
  const std::string written = Preferences();
  EXPECT_EQ(written.rfind(PreferenceBytes("Deutsch.catalog", 1), 0), 0u);
  EXPECT_GE(written.size(), big.size()) << "keys it does not own were dropped";
}

TEST_F(ConfigurationRun, LockedPreferencesStayAndTheReloadFindsTheStoredLanguage) {
  const std::string stored = PreferenceBytes("Deutsch.catalog", 1);
  WriteFileBytes(preferences_, stored);
  // Another program reads the file and lets others only read it: it cannot be rewritten. The
  // choice of English is lost, the reload reads German again, and the verbs are renewed in German.
  FileHandle reader(CreateFileA(preferences_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr));
  ASSERT_NE(reader.get(), INVALID_HANDLE_VALUE);
  Start(
      ProgramCommand(""), [](const ConfigurationFound& found) { PickItem(found.languages, 0); },
      "Information");
  reader.reset();
  EXPECT_EQ(Preferences(), stored);
  EXPECT_EQ(boxText_, kGermanChanged);
  EXPECT_EQ(ReadUserVerb(kEditVerbKey).menuText, "ID3-Tag bearbeiten");
}

TEST_F(ConfigurationRun, AFolderWherePreferencesShouldBeGivesDefaultsAndStaysAFolder) {
  ASSERT_TRUE(CreateDirectoryA(preferences_.c_str(), nullptr));
  Start(ProgramCommand(""), [](const ConfigurationFound& found) {
    EXPECT_EQ(TextOf(found.insert), kEnglishInsert);
    EXPECT_EQ(ComboSelection(found.languages), 0);
    Click(found.insert);
    EXPECT_TRUE(WaitUntil([] { return ReadUserVerb(kSortVerbKey).dropTargetClass.has_value(); }));
  });
  DWORD attributes = GetFileAttributesA(preferences_.c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

TEST_F(ConfigurationRun, BrokenAndHostileCatalogsNeitherCrashNorHang) {
  std::string longLines = "Catalog\r\n";
  for (size_t i = 0; i < 43; ++i) longLines += std::string(100000, char('a' + i % 26)) + "\r\n";
  std::string binary = "Catalog\n";
  std::mt19937 random(11);
  for (int i = 0; i < 20000; ++i) binary += char(random() % 256);
  const std::string command =
      ProgramWith({{"long.catalog", longLines}, {"binary.catalog", binary}});

  // Lines of 100,000 characters are taken whole, also into the registry.
  WriteFileBytes(preferences_, PreferenceBytes("long.catalog", 0));
  Start(
      command,
      [](const ConfigurationFound& found) {
        // The button shows the start of its caption: wrapping all of it would take minutes.
        EXPECT_TRUE(TextOf(found.insert) == std::string(1000, 'a' + 22 % 26));
        EXPECT_TRUE(TextOf(found.hint) == std::string(100000, 'a' + 24 % 26)) << "the hint is cut";
        Click(found.insert);
        EXPECT_TRUE(WaitUntil([] { return ReadUserVerb(kSortVerbKey).dropTargetClass.has_value(); },
                              20000));
      },
      nullptr, 20000);
  EXPECT_TRUE(ReadUserVerb(kEditVerbKey).menuText == std::string(100000, 'a'));

  // Binary bytes: whatever the lines hold, the window works and closes.
  WriteFileBytes(preferences_, PreferenceBytes("binary.catalog", 1));
  Start(command, [](const ConfigurationFound& found) {
    EXPECT_EQ(SelectedItem(found.languages), "binary.catalog");
  });
  EXPECT_EQ(Preferences(), PreferenceBytes("binary.catalog", 1));
}

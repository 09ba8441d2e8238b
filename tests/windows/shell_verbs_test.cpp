// The Explorer verbs against the real (Wine) registry: the per-user branch read directly, and the
// machine-wide branch through HKEY_CLASSES_ROOT.
#include "configure/shell_verbs.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include "base/file_system_win.h"
#include "base/win_handles.h"
#include "tests/support/configure_support.h"
#include "tests/support/win_test_support.h"
#include "window_kit/resources.h"

using namespace testing_win;

namespace {
class ShellVerbs : public ::testing::Test {
 protected:
  void SetUp() override { RemoveAllVerbs(); }
  void TearDown() override { RemoveAllVerbs(); }
};

TextTable EnglishTexts() {
  TextTable texts;
  FillDefaultTexts(texts);
  return texts;
}

void MakeMachineWideVerb(const char* verb) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT,
                          (std::string("*\\shell\\") + verb + "\\command").c_str(), &key),
            ERROR_SUCCESS);
  const KeyHandle owned(key);
  RegSetValueA(HKEY_CLASSES_ROOT, (std::string("*\\shell\\") + verb).c_str(), REG_SZ, "old", 3);
}
}  // namespace

TEST_F(ShellVerbs, InsertWritesBothComVerbsAndTheirClassesPerUser) {
  RegisterProgramVerbs(EnglishTexts());
  const std::string program = ProgramPath();
  const struct {
    const char* verb;
    const char* verbClass;
    const char* menuText;
  } verbs[] = {{kEditVerbKey, kEditVerbClass, "Edit ID3-tag"},
               {kSortVerbKey, kSortVerbClass, "Sort by ID3-tag"}};
  for (const auto& [verb, verbClass, menuText] : verbs) {
    SCOPED_TRACE(verb);
    const VerbKeys keys = ReadUserVerb(verb);
    ASSERT_TRUE(keys.verbKey);
    EXPECT_EQ(keys.menuText, menuText);
    EXPECT_EQ(keys.menuTextType, DWORD(REG_SZ));
    // The context menu shows the program's icon beside both.
    EXPECT_EQ(keys.icon, program + ",0");
    EXPECT_EQ(keys.iconType, DWORD(REG_SZ));
    // Both get the whole selection in one call.
    EXPECT_EQ(keys.multiSelectModel, "Player");
    EXPECT_EQ(keys.multiSelectType, DWORD(REG_SZ));
    // Explorer creates the verb's class and drops the files on it; no command line is left.
    EXPECT_EQ(keys.dropTargetClass, verbClass);
    EXPECT_EQ(keys.dropTargetType, DWORD(REG_SZ));
    EXPECT_EQ(keys.subkeys, (std::vector<std::string>{"DropTarget"}));
    EXPECT_FALSE(keys.commandKey);
    // The class is served by the running program, which COM starts with -Embedding.
    const VerbClassKeys server = ReadUserVerbClass(verbClass);
    ASSERT_TRUE(server.classKey);
    EXPECT_EQ(server.localServer, "\"" + program + "\"");
    EXPECT_EQ(server.subkeys, (std::vector<std::string>{"LocalServer32"}));
    EXPECT_TRUE(server.name && !server.name->empty());
    // Nothing machine-wide.
    EXPECT_FALSE(ReadMachineVerb(verb).verbKey);
  }
}

TEST_F(ShellVerbs, InsertOverAnEarlierCommandLineRegistrationLeavesOnlyTheComVerb) {
  RegisterShellVerb("*", kSortVerbKey, "old", "\"C:\\old\\DA3Zur.exe\" -sort \"%1\"", "Player");
  ASSERT_TRUE(ReadUserVerb(kSortVerbKey).commandKey);
  RegisterProgramVerbs(EnglishTexts());
  const VerbKeys sort = ReadUserVerb(kSortVerbKey);
  EXPECT_FALSE(sort.commandKey);
  EXPECT_EQ(sort.subkeys, (std::vector<std::string>{"DropTarget"}));
  EXPECT_EQ(sort.menuText, "Sort by ID3-tag");
}

TEST_F(ShellVerbs, SecondInsertOverwritesAndAnotherProgramPathWins) {
  RegisterShellVerb("*", kEditVerbKey, "first", "\"C:\\old\\DA3Zur.exe\" -edit \"%1\"");
  RegisterShellVerb("*", kEditVerbKey, "second", "\"D:\\new place\\DA3Zur.exe\" -edit \"%1\"");
  VerbKeys edit = ReadUserVerb(kEditVerbKey);
  EXPECT_EQ(edit.menuText, "second");
  EXPECT_EQ(edit.commandLine, "\"D:\\new place\\DA3Zur.exe\" -edit \"%1\"");
  // Still one key pair: the verb key holds the command key and nothing else.
  HKEY verb = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Classes\\*\\shell\\VeltanDA3ZurToolsEdit",
                          0, KEY_READ, &verb),
            ERROR_SUCCESS);
  const KeyHandle owned(verb);
  DWORD subkeys = 0;
  RegQueryInfoKeyA(verb, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                   nullptr, nullptr, nullptr);
  EXPECT_EQ(subkeys, 1u);
}

TEST_F(ShellVerbs, EmptyMenuTextLeavesTheValueAsItWasAndStillWritesTheCommand) {
  RegisterShellVerb("*", kEditVerbKey, "", "cmd one");
  VerbKeys fresh = ReadUserVerb(kEditVerbKey);
  EXPECT_TRUE(fresh.verbKey);
  EXPECT_EQ(fresh.menuText, std::nullopt);
  EXPECT_EQ(fresh.commandLine, "cmd one");

  RegisterShellVerb("*", kEditVerbKey, "kept", "cmd two");
  RegisterShellVerb("*", kEditVerbKey, "", "cmd three");
  VerbKeys again = ReadUserVerb(kEditVerbKey);
  EXPECT_EQ(again.menuText, "kept");
  EXPECT_EQ(again.commandLine, "cmd three");
}

TEST_F(ShellVerbs, RemoveDeletesEveryKeyOfBothVerbsAndLeavesTheSharedKeys) {
  RegisterProgramVerbs(EnglishTexts());
  UnregisterProgramVerbs();
  for (const char* verb : {kEditVerbKey, kSortVerbKey}) {
    EXPECT_FALSE(ReadUserVerb(verb).verbKey) << verb;
    EXPECT_FALSE(ReadUserVerb(verb).commandKey) << verb;
    EXPECT_EQ(ReadUserVerb(verb).icon, std::nullopt) << verb;
  }
  for (const char* verbClass : {kEditVerbClass, kSortVerbClass})
    EXPECT_FALSE(ReadUserVerbClass(verbClass).classKey) << verbClass;
  // The keys other programs share stay.
  EXPECT_TRUE(UserShellKeyExists());
  EXPECT_TRUE(OpenedKey(HKEY_CURRENT_USER, "Software\\Classes\\CLSID", KEY_READ));
  // Removing again, with nothing registered, does nothing visible.
  UnregisterProgramVerbs();
  EXPECT_TRUE(UserShellKeyExists());
  EXPECT_FALSE(ReadUserVerb(kEditVerbKey).verbKey);
}

TEST_F(ShellVerbs, RemoveAlsoDeletesAMachineWideRegistration) {
  MakeMachineWideVerb(kEditVerbKey);
  MakeMachineWideVerb(kSortVerbKey);
  ASSERT_TRUE(ReadMachineVerb(kEditVerbKey).commandKey);
  RegisterProgramVerbs(EnglishTexts());
  UnregisterProgramVerbs();
  for (const char* verb : {kEditVerbKey, kSortVerbKey}) {
    EXPECT_FALSE(ReadMachineVerb(verb).verbKey) << verb;
    EXPECT_FALSE(ReadUserVerb(verb).verbKey) << verb;
  }
}

TEST_F(ShellVerbs, LongAndUnusualMenuTextsArriveWhole) {
  const std::string longText(100000, 'x');
  const std::string accented = "Eintr\xC3\xA4ge \xC3\xB6\xC3\xBC\xC3\x9F";
  RegisterShellVerb("*", kEditVerbKey, longText, "c");
  RegisterShellVerb("*", kSortVerbKey, accented, "c", "Player");
  EXPECT_EQ(ReadUserVerb(kEditVerbKey).menuText, longText);
  EXPECT_EQ(ReadUserVerb(kSortVerbKey).menuText, accented);
}

TEST(ProgramIcon, TheBuiltProgramCarriesItsIconInTheSizesWindowsDraws) {
  const std::string program = ProgramExe();
  LibraryHandle module(LoadLibraryExA(program.c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_NE(module.get(), nullptr) << program;
  HRSRC group = FindResourceA(module.get(), MAKEINTRESOURCEA(DA3_PROGRAM_ICON), RT_GROUP_ICON);
  ASSERT_NE(group, nullptr) << "no icon group in the program";
  auto* directory = static_cast<BYTE*>(LockResource(LoadResource(module.get(), group)));
  ASSERT_NE(directory, nullptr);
  // Each size is drawn for itself, not left to Windows to scale from another.
  for (int size : {16, 32, 48}) {
    int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    HRSRC image = id ? FindResourceA(module.get(), MAKEINTRESOURCEA(id), RT_ICON) : nullptr;
    ASSERT_NE(image, nullptr) << size;
    auto* header =
        static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module.get(), image)));
    ASSERT_NE(header, nullptr) << size;
    EXPECT_EQ(header->biWidth, size);
    EXPECT_EQ(header->biHeight, 2 * size) << "image and mask";
  }
  module.reset();
  // Index 0, as the verbs' Icon value names it, is that icon.
  HICON large = nullptr, small = nullptr;
  ASSERT_GT(ExtractIconExA(program.c_str(), 0, &large, &small, 1), 0u);
  EXPECT_TRUE(large && small);
  if (large) DestroyIcon(large);
  if (small) DestroyIcon(small);
}

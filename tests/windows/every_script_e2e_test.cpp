// DA3Zur.exe with names, tags and texts in Cyrillic, Czech, Polish and Japanese, with the
// punctuation release databases use (’ – “ ” €): the editor, the sort with a hand-over, the
// program in a folder outside the code page with a catalog of the user's own, and a name no
// conversion can carry. Texts are read wide from the windows and files compared byte for byte.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <functional>
#include <set>

#include "base/name_case_win.h"
#include "base/path_parts.h"
#include "base/wide_text_win.h"
#include "configure/shell_verbs.h"
#include "settings/text_table.h"
#include "sorter/sort_files_win.h"
#include "sorter/sorter_window.h"
#include "tags/tag_bridge.h"
#include "tests/support/configure_support.h"
#include "tests/support/editor_support.h"
#include "tests/support/raw_tag_support.h"
#include "tests/support/sorter_support.h"
#include "tests/support/win_test_support.h"

using namespace testing_win;

namespace {
// Мумий Тролль, Дельфины – ’99
const std::string kMumiyTroll =
    "\xD0\x9C\xD1\x83\xD0\xBC\xD0\xB8\xD0\xB9 \xD0\xA2\xD1\x80\xD0\xBE\xD0\xBB\xD0\xBB\xD1\x8C";
const std::string kDolphins =
    "\xD0\x94\xD0\xB5\xD0\xBB\xD1\x8C\xD1\x84\xD0\xB8\xD0\xBD\xD1\x8B \xE2\x80\x93 \xE2\x80\x99"
    "99";
// Кино – “Группа крови” €
const std::string kKino =
    "\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE \xE2\x80\x93 "
    "\xE2\x80\x9C\xD0\x93\xD1\x80\xD1\x83\xD0\xBF\xD0\xBF"
    "\xD0\xB0 \xD0\xBA\xD1\x80\xD0\xBE\xD0\xB2\xD0\xB8\xE2\x80\x9D \xE2\x82\xAC";
const std::string kDvorak = "Anton\xC3\xADn Dvo\xC5\x99\xC3\xA1k";  // Antonín Dvořák
const std::string kNewWorld =
    "Symphony No. 9 \xE2\x80\x93 \xE2\x80\x9C"
    "From the New World\xE2\x80\x9D";
const std::string kPolish =
    "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 g\xC4\x99\xC5\x9Bl\xC4\x85";  // Zażółć gęślą
const std::string kJesien = "Jesie\xC5\x84";                          // Jesień
const std::string kLzy = "\xC5\x81zy";                                // Łzy
const std::string kEnka = "\xE6\xBC\x94\xE6\xAD\x8C";                 // 演歌
const std::string kHibari =
    "\xE7\xBE\x8E\xE7\xA9\xBA\xE3\x81\xB2\xE3\x81\xB0\xE3\x82\x8A";             // 美空ひばり
const std::string kRiver = "\xE5\xB7\x9D\xE3\x81\xAE\xE6\xB5\x81\xE3\x82\x8C";  // 川の流れ
const std::string kDontStop = "Don\xE2\x80\x99t Stop", kDontLookBack = "Don\xE2\x80\x99t Look Back";

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolder(const std::string& path) { return CreateDirectoryW(Wide(path).c_str(), nullptr); }

// A real audio file under the name, tagged as given.
std::string Tagged(const TempDir& dir, const std::string& name, const TagInfo& tags) {
  const std::string path = dir.CopyFixture("tagged." + ExtensionPart(name), name);
  EXPECT_EQ(WriteTags(path, &tags), 1) << name;
  return path;
}

TagInfo Tags(const std::string& genre, const std::string& artist, const std::string& album) {
  TagInfo tags;
  tags.title = artist;
  tags.genre = genre;
  tags.artist = artist;
  tags.album = album;
  return tags;
}

class EveryScript : public ::testing::Test {
 protected:
  void SetUp() override { RemoveAllVerbs(); }
  void TearDown() override { RemoveAllVerbs(); }
  TempDir source_, target_, appData_, programs_;
};
}  // namespace

TEST_F(EveryScript, TheEditorShowsAndSavesEveryCharacter) {
  const std::string folder = source_ / kMumiyTroll;
  ASSERT_TRUE(MakeFolder(folder));
  const std::string path = folder + "\\" + kDolphins + ".flac";
  ASSERT_TRUE(CopyFileW(Wide(FixturePath("tagged.flac")).c_str(), Wide(path).c_str(), FALSE));
  TagInfo tags = Tags(kEnka, kMumiyTroll, kNewWorld);
  tags.title = kDolphins;
  ASSERT_EQ(WriteTags(path, &tags), 1);

  Process program(ProgramCommand("-edit " + Quoted(path)), appData_.path());
  ASSERT_TRUE(program.started());
  EditorWindowFound editor = WaitForEditor(program.id());
  ASSERT_TRUE(editor) << "the name reached the program as question marks";
  EXPECT_EQ(TextOf(editor[kStatusBar]), kDolphins + ".flac");
  EXPECT_EQ(TextOf(editor[kTitleField]), kDolphins);
  EXPECT_EQ(TextOf(editor[kArtistField]), kMumiyTroll);
  EXPECT_EQ(TextOf(editor[kAlbumField]), kNewWorld);
  Retype(editor[kTitleField], kKino);
  Retype(editor[kCommentField], kPolish + " " + kDvorak + " " + kHibari + " \xF0\x9F\x8E\xB5");
  Click(editor[kSaveButton]);
  EXPECT_EQ(program.WaitForExit(), 0) << "no save without a box";

  const RawTag saved = ReadRaw(path);
  EXPECT_EQ(saved.title, kKino);
  EXPECT_EQ(saved.comment, kPolish + " " + kDvorak + " " + kHibari + " \xF0\x9F\x8E\xB5");
  EXPECT_EQ(saved.artist, kMumiyTroll);
  EXPECT_EQ(saved.album, kNewWorld);
  EXPECT_EQ(saved.genre, kEnka);
}

TEST_F(EveryScript, TheSortListsAndPlacesEveryFileAlsoHandedOver) {
  struct File {
    std::string path, folder;
  };
  const std::pair<std::string, TagInfo> made[] = {
      {kMumiyTroll + " \xE2\x80\x93 " + kDolphins + ".mp3",
       Tags("\xD0\xA0\xD0\xBE\xD0\xBA", kMumiyTroll, kDolphins)},
      {"Dvo\xC5\x99\xC3\xA1k \xE2\x80\x9C"
       "9\xE2\x80\x9D.flac",
       Tags("Classical", kDvorak, kNewWorld)},
      {kPolish + ".ogg", Tags("Pop", kLzy, kJesien)},
      {kRiver + ".mp3", Tags(kEnka, kHibari, kRiver)},
      {kDontStop + ".flac", Tags("Rock", "Fleetwood Mac", kDontStop)},
      {kDontLookBack + ".ogg", Tags("Rock", "Fleetwood Mac", kDontLookBack)},
  };
  std::vector<File> files;
  for (const auto& [name, tags] : made)
    files.push_back(
        {Tagged(source_, name, tags), tags.genre + "\\" + tags.artist + "\\" + tags.album + "\\"});

  // The first three start the window, the other three are handed over to it.
  std::string first = "-sort", later = "-sort";
  for (size_t i = 0; i < files.size(); ++i) (i < 3 ? first : later) += " " + Quoted(files[i].path);
  Process sorter(ProgramCommand(first), appData_.path());
  ASSERT_TRUE(sorter.started());
  SorterControls s = WaitForSorter(sorter.id());
  ASSERT_TRUE(s);
  Process handing(ProgramCommand(later), appData_.path());
  EXPECT_EQ(handing.WaitForExit(30000), 0);
  ASSERT_TRUE(WaitUntil([&] { return RowCount(s.files) == files.size(); }))
      << "rows: " << RowCount(s.files) << "; a name was dropped";
  std::vector<std::string> expected;
  for (const File& file : files) expected.push_back(FilePart(file.path));
  EXPECT_EQ(ListTexts(s.files), expected);

  SetText(s.pattern, target_.path() + "%GENRE%\\%ARTIST%\\%ALBUM%\\*.$");
  std::vector<std::string> targets, shown;  // the list shows them below the pattern's folder
  for (const File& file : files) {
    shown.push_back(file.folder + FilePart(file.path));
    targets.push_back(target_.path() + shown.back());
  }
  EXPECT_TRUE(WaitUntil([&] { return ListTexts(s.files, 1) == shown; }))
      << "the preview shows " << testing::PrintToString(ListTexts(s.files, 1));
  Click(s.sort);
  HWND question = WaitForMessageBox(sorter.id(), "Question");
  ASSERT_TRUE(question);
  ASSERT_TRUE(AnswerMessageBox(question, IDNO));  // copy
  EXPECT_EQ(sorter.WaitForExit(30000), 0) << "a file was not placed";

  for (size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(ReadFileBytes(targets[i]), ReadFileBytes(files[i].path)) << targets[i];
    EXPECT_TRUE(FolderExists(FolderPart(targets[i]))) << targets[i];
  }
  // "Don’t Stop" and "Don’t Look Back" have folders of their own.
  EXPECT_EQ(NamesMatching(target_ / "Rock\\Fleetwood Mac\\*").size(), 4u);  // . .. and two
}

TEST_F(EveryScript, ANameWithAnUnpairedSurrogateIsListedAndReportedWithItsReason) {
  const std::string good = Tagged(source_, kJesien + ".mp3", Tags("Pop", kLzy, kJesien));
  const std::wstring lost = Wide(source_.path()) + L"Song \xD83D.mp3";
  Process sorter(L"\"" + Wide(ProgramExe()) + L"\" -sort \"" + lost + L"\" \"" + Wide(good) + L"\"",
                 appData_.path());
  ASSERT_TRUE(sorter.started());
  SorterControls s = WaitForSorter(sorter.id());
  ASSERT_TRUE(s);
  ASSERT_TRUE(WaitUntil([&] { return RowCount(s.files) == 2; })) << "the name was dropped";
  EXPECT_EQ(ListTexts(s.files)[0], FilePart(Utf8Shown(lost)));
  const std::string reason = DefaultText(kTextNameUnreadable);
  EXPECT_TRUE(WaitUntil([&] { return ListTexts(s.files, 1)[0] == reason; }))
      << ListTexts(s.files, 1)[0];
  SetText(s.pattern, target_.path() + "*.$");
  Click(s.sort);
  HWND question = WaitForMessageBox(sorter.id(), "Question");
  ASSERT_TRUE(question && AnswerMessageBox(question, IDNO));
  HWND report = WaitForMessageBox(sorter.id(), "Sort finished");
  ASSERT_TRUE(report) << "the run ended without saying what was not placed";
  EXPECT_EQ(MessageBoxText(report), "1 of 2 files were placed.\r\n\r\n" + Utf8Shown(lost) +
                                        "\r\n    " + reason +
                                        "\r\n\r\nThe configuration window can undo this sort.");
  ASSERT_TRUE(AnswerMessageBox(report, IDOK));
  EXPECT_EQ(sorter.WaitForExit(), 0);
  EXPECT_EQ(ReadFileBytes(target_ / (kJesien + ".mp3")), ReadFileBytes(good));
}

// The program unpacked in "Программы\DA3Zur" beside a catalog of the user's own, "Русский.catalog"
// in UTF-8: the verbs name the program's real path, the catalog is listed, chosen, stored and
// shown.
TEST_F(EveryScript, TheProgramInAFolderOutsideTheCodePageWithACatalogNamedInCyrillic) {
  const std::string folder =
      programs_ / "\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD0\xBC\xD1\x8B";
  ASSERT_TRUE(MakeFolder(folder) && MakeFolder(folder + "\\DA3Zur"));
  const std::string exe = folder + "\\DA3Zur\\DA3Zur.exe";
  ASSERT_TRUE(CopyFileW(Wide(ProgramExe()).c_str(), Wide(exe).c_str(), FALSE));
  const std::string catalog = "\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9.catalog";
  TextTable russian;
  FillDefaultTexts(russian);
  russian[kTextEditVerb] = "\xD0\x9F\xD1\x80\xD0\xB0\xD0\xB2\xD0\xBA\xD0\xB0 ID3";  // Правка ID3
  russian[kTextInformation] = "\xD0\xA1\xD0\xB2\xD0\xB5\xD0\xB4\xD0\xB5\xD0\xBD\xD0\xB8\xD1\x8F";
  russian[kTextLanguageChanged] = kKino;
  russian[kTextInsertVerbs] = kMumiyTroll + " \xE2\x80\x9C" + kDolphins + "\xE2\x80\x9D";
  std::string bytes =
      "\xEF\xBB\xBF"
      "Catalog\r\n";
  for (std::string text : russian) {
    // A catalog writes a line break inside a text as \n.
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\\n");
    bytes += text + "\r\n";
  }
  WriteFileBytes(folder + "\\DA3Zur\\" + catalog, bytes);
  const std::string settings = appData_ / "Veltan's DA3Zur Tools\\";

  auto run = [&](const std::function<void(const ConfigurationFound&)>& body,
                 const std::string& box) {
    Process program(Quoted(exe), appData_.path());
    ASSERT_TRUE(program.started());
    ConfigurationFound found = WaitForConfiguration(program.id());
    ASSERT_TRUE(found) << "no configuration window from " << exe;
    body(found);
    RequestClose(found.window);
    if (!box.empty()) {
      HWND shown = WaitForMessageBox(program.id(), box.c_str());
      ASSERT_TRUE(shown) << "no box titled " << box;
      EXPECT_EQ(MessageBoxText(shown), kKino);
      EXPECT_TRUE(AnswerMessageBox(shown, IDOK));
    }
    EXPECT_EQ(program.WaitForExit(), 0);
  };
  run(
      [&](const ConfigurationFound& found) {
        Click(found.insert);
        ASSERT_TRUE(
            WaitUntil([] { return ReadUserVerb(kSortVerbKey).dropTargetClass.has_value(); }));
        EXPECT_EQ(ReadUserVerbClass(kEditVerbClass).localServer, "\"" + exe + "\"");
        EXPECT_EQ(ReadUserVerbClass(kSortVerbClass).localServer, "\"" + exe + "\"");
        EXPECT_EQ(ReadUserVerb(kSortVerbKey).icon, exe + ",0");
        const std::vector<std::string> items = ComboItems(found.languages);
        const auto item = std::find(items.begin(), items.end(), catalog);
        ASSERT_NE(item, items.end()) << testing::PrintToString(items);
        PickItem(found.languages, int(item - items.begin()));
      },
      russian[kTextInformation]);
  EXPECT_EQ(ReadFileBytes(settings + "preferences.ini"),
            "\xEF\xBB\xBFLanguage = " + catalog + "\r\nContextMenu = 1\r\n");
  // The verbs were entered again in the new language.
  EXPECT_EQ(ReadUserVerb(kEditVerbKey).menuText, russian[kTextEditVerb]);
  run(
      [&](const ConfigurationFound& found) {
        EXPECT_EQ(TextOf(found.insert), russian[kTextInsertVerbs]);
        const std::vector<std::string> items = ComboItems(found.languages);
        const int selected = ComboSelection(found.languages);
        ASSERT_GE(selected, 0);
        EXPECT_EQ(items[size_t(selected)], catalog);
      },
      "");
}

// "Already in place" and the preview's marks fold case as the file system does, for every script.
TEST_F(EveryScript, NamesFoldAsTheFileSystemComparesThem) {
  const NameCase& names = FileSystemNameCase();
  EXPECT_TRUE(names.Same("\xC3\x84/\xD0\x96\\\xCE\xA3", "\xC3\xA4\\\xD0\xB6/\xCF\x83"));  // Ä Ж Σ
  EXPECT_TRUE(names.Same("Dvo\xC5\x98\xC3\x81K", "dvo\xC5\x99\xC3\xA1k"));
  EXPECT_FALSE(names.Same("\xD0\x96", "\xD0\x97"));
  const std::string file = Tagged(source_, kMumiyTroll + ".mp3", Tags("Pop", kLzy, kJesien));
  std::string otherCase = source_.path() +
                          "\xD0\xBC\xD0\xA3\xD0\x9C\xD0\x98\xD0\x99 "
                          "\xD1\x82\xD0\xA0\xD0\x9E\xD0\x9B\xD0\x9B\xD0\xAC.MP3";
  EXPECT_EQ(TargetStateOf(file, otherCase), TargetState::kSameFile);
  EXPECT_EQ(TargetStateOf(file, file), TargetState::kSameFile);
  const std::string other = Tagged(source_, kJesien + ".mp3", Tags("Pop", kLzy, kJesien));
  EXPECT_EQ(TargetStateOf(file, other), TargetState::kExists);
}

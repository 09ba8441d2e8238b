// Tags from file names, driven from outside as a user would: fourteen files of two albums in
// Artist\Album\NN - Title folders, two of which do not fit, in one editor; "From name…" with the
// folder pattern, the preview read from its list, OK and Save; then each file holds the values of
// its own name and the two others are unchanged. The pattern is kept, also after the configuration
// window wrote the preferences. Then "Number tracks…" on an album of five formats. The files saved
// are read by mutagen as well, in scripts/check_name_saves.sh, which runs this test.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "base/wide_text_win.h"
#include "editor/name_window.h"
#include "editor/track_window.h"
#include "tests/support/configure_support.h"
#include "tests/support/editor_support.h"
#include "tests/support/sorter_support.h"
#include "tests/support/win_test_support.h"

using namespace testing_win;

namespace {
constexpr char kPattern[] = "%ARTIST%\\%ALBUM%\\%TRACK% - %TITLE%";

HWND Named(HWND window, NamesControl control) {
  return GetDlgItem(window, kFirstNamesControlId + int(control));
}
HWND Numbering(HWND window, TracksControl control) {
  return GetDlgItem(window, kFirstTracksControlId + int(control));
}

// The editor's "From name…" window, with the pattern typed; its preview's rows, column by column.
HWND OpenNames(const EditorWindowFound& editor, DWORD process) {
  Click(editor[kFromNameButton]);
  return WaitForWindow(process, nullptr, kNamesTitle, 10000);
}
}  // namespace

TEST(Names, FourteenFilesGetTheValuesOfTheirOwnNamesAndTheTwoThatDoNotFitStay) {
  TempDir dir, appData;
  // Each file is kept for mutagen as "<artist> <name>": the two albums' names are alike.
  std::vector<std::pair<std::string, std::string>> fitting;  // the file, its name for mutagen
  const std::pair<std::string, std::string> albums[] = {
      {"Alpha Band", "Morning"}, {"\xD0\x91\xD0\xB5\xD1\x82\xD0\xB0", "\xE5\xA4\x9C"}};  // Бета, 夜
  for (const auto& [artist, album] : albums) {
    CreateDirectoryW(Wide(dir / artist).c_str(), nullptr);
    CreateDirectoryW(Wide(dir / (artist + "\\" + album)).c_str(), nullptr);
    for (int n = 1; n <= 6; ++n) {
      const std::string name = "0" + std::to_string(n) + " - Song " + std::to_string(n) +
                               (n == 6 ? " - Reprise" : "") + ".mp3";
      fitting.push_back({dir.CopyFixture("tagged.mp3", artist + "\\" + album + "\\" + name),
                         artist + " " + name});
    }
  }
  const std::string bonus = dir.CopyFixture("tagged.mp3", "Alpha Band\\Morning\\07 bonus.mp3");
  const std::string intro = dir.CopyFixture("tagged.flac", "Alpha Band\\Morning\\Intro - x.flac");
  std::string names;
  for (const auto& [file, kept] : fitting) names += " " + Quoted(file);
  Process program(ProgramCommand("-edit" + names + " " + Quoted(bonus) + " " + Quoted(intro)),
                  appData.path());
  EditorWindowFound editor = WaitForEditor(program.id());
  ASSERT_TRUE(editor);

  HWND window = OpenNames(editor, program.id());
  ASSERT_NE(window, nullptr) << "no window \"Tags from file names\"";
  EXPECT_EQ(TextOf(Named(window, kNamePatternField)), "%ARTIST% - %TITLE%");
  SetText(Named(window, kNamePatternField), kPattern);
  HWND preview = Named(window, kNamePreview);
  // A column for the name and one per macro the pattern names.
  ASSERT_TRUE(WaitUntil([&] {
    return SendMessageW(HWND(SendMessageW(preview, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0) ==
           5;
  }));
  const std::vector<std::string> read = ListTexts(preview, 0), artists = ListTexts(preview, 1),
                                 tracks = ListTexts(preview, 3), titles = ListTexts(preview, 4);
  ASSERT_EQ(read.size(), 14u);
  EXPECT_EQ(read[5], "Alpha Band\\Morning\\06 - Song 6 - Reprise");
  EXPECT_EQ(artists[7], albums[1].first);
  EXPECT_EQ(tracks[5], "6");
  EXPECT_EQ(titles[5], "Song 6 - Reprise");
  EXPECT_EQ(artists[12], "Does not match: \" - \" not found");
  EXPECT_EQ(artists[13], "Does not match: no digits for %TRACK%");
  Click(Named(window, kNamesOk));
  ASSERT_TRUE(WaitUntilClosed(window));
  // The files differ in every field the pattern named.
  EXPECT_EQ(TextOf(editor[kTitleField]), "");
  EXPECT_EQ(TextOf(editor[kYearField]), "1999");  // not named: as the files hold it
  Click(editor[kSaveButton]);
  EXPECT_EQ(program.WaitForExit(), 0);

  // What each file holds now is read by mutagen (scripts/check_name_saves.sh).
  for (const auto& [file, kept] : fitting) KeepForReader(file, kept);
  for (const std::string& other : {bonus, intro}) KeepForReader(other);

  // The configuration window writes its settings and keeps the pattern: the next editor offers it.
  Process configuration(ProgramCommand(""), appData.path());
  ConfigurationFound found = WaitForConfiguration(configuration.id(), 10000);
  ASSERT_TRUE(found);
  RequestClose(found.window);
  EXPECT_EQ(configuration.WaitForExit(), 0);
  Process again(ProgramCommand("-edit " + Quoted(bonus)), appData.path());
  editor = WaitForEditor(again.id());
  ASSERT_TRUE(editor);
  window = OpenNames(editor, again.id());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(TextOf(Named(window, kNamePatternField)), kPattern);
  Click(Named(window, kNamesCancel));
  ASSERT_TRUE(WaitUntilClosed(window));
  Click(editor[kCancelButton]);
  EXPECT_EQ(again.WaitForExit(), 0);
}

// An album of five formats numbered 1 to 5 in Explorer's order with one row moved, the total
// written where the format keeps one; read back here and, by mutagen, in check_name_saves.sh.
TEST(Names, NumberTracksNumbersAnAlbumInTheOrderShownWithItsTotal) {
  TempDir dir, appData;
  CreateDirectoryW(Wide(dir / "Second").c_str(), nullptr);
  const std::string files[] = {dir.CopyFixture("rich-v23.mp3", "Second\\Song 1.mp3"),
                               dir.CopyFixture("rich.flac", "Second\\Song 2.flac"),
                               dir.CopyFixture("rich.m4a", "Second\\Song 3.m4a"),
                               dir.CopyFixture("rich.ogg", "Second\\Song 10.ogg"),
                               dir.CopyFixture("fmt.wma", "Second\\Song 4.wma")};
  std::string names;
  for (const std::string& file : files) names += " " + Quoted(file);
  Process program(ProgramCommand("-edit" + names), appData.path());
  EditorWindowFound editor = WaitForEditor(program.id());
  ASSERT_TRUE(editor);
  ASSERT_TRUE(IsWindowEnabled(editor[kNumberTracksButton]));
  Click(editor[kNumberTracksButton]);
  HWND window = WaitForWindow(program.id(), nullptr, kTracksTitle, 10000);
  ASSERT_NE(window, nullptr) << "no window \"Number tracks\"";
  EXPECT_EQ(TextOf(Numbering(window, kTrackStartField)), "1");
  HWND list = Numbering(window, kTrackList);
  EXPECT_EQ(
      ListTexts(list, 0),
      (std::vector<std::string>{"Second\\Song 1.mp3", "Second\\Song 2.flac", "Second\\Song 3.m4a",
                                "Second\\Song 4.wma", "Second\\Song 10.ogg"}));
  // "Song 10" moves up before "Song 4"; the total is asked for, and the WMA file keeps none.
  // Tab to the list, End to its last row, as the keyboard does.
  for (int tab = 0; tab < 3; ++tab) PressKey(window, VK_TAB);
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(window) == list; }));
  PressKey(window, VK_END);
  ASSERT_TRUE(WaitUntil([&] { return ListView_GetNextItem(list, -1, LVNI_SELECTED) == 4; }));
  Click(Numbering(window, kTrackUpButton));
  Click(Numbering(window, kTrackTotalBox));
  ASSERT_TRUE(WaitUntil([&] { return ListTexts(list, 2)[0] == "5"; }));
  EXPECT_EQ(ListTexts(list, 0)[3], "Second\\Song 10.ogg");
  EXPECT_EQ(ListTexts(list, 1), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
  EXPECT_EQ(ListTexts(list, 2)[4], "not kept in this format");
  Click(Numbering(window, kTracksOk));
  ASSERT_TRUE(WaitUntilClosed(window));
  EXPECT_EQ(TextOf(editor[kTrackField]), "");  // the files differ: the field shows its hint
  Click(editor[kSaveButton]);
  EXPECT_EQ(program.WaitForExit(), 0);
  for (const std::string& file : files) KeepForReader(file);
}

// DA3Zur.exe -edit over real files, driven from outside as a user would: several files in one
// editor, typed into and saved, one of them read-only, one written meanwhile by another program, a
// save stopped by Cancel; the same files one by one, with what was typed for all of them, where an
// MP3 is saved, a FLAC too and an Ogg cancelled; then TagLib reads what reached the disk.
#include <windows.h>

#include <gtest/gtest.h>
#include <taglib/fileref.h>
#include <taglib/tag_c.h>
#include <taglib/tpropertymap.h>

#include "base/wide_text_win.h"
#include "tags/taglib.h"
#include "tests/support/editor_support.h"
#include "tests/support/raw_tag_support.h"
#include "tests/support/win_test_support.h"

using namespace testing_win;

TEST(EditRun, OneByOneEditsSavesAndCancelsOneFileAfterTheOther) {
  TempDir dir, appData;
  const std::string mp3 = dir.CopyFixture("tagged.mp3", "first song.mp3");
  const std::string unreadable = dir / "notes.txt";
  WriteFileBytes(unreadable, "not an audio file");
  const std::string flac = dir.CopyFixture("tagged.flac", "second.flac");
  const std::string ogg = dir.CopyFixture("tagged.ogg", "third.ogg");
  const std::string oggBefore = ReadFileBytes(ogg);
  ASSERT_FALSE(oggBefore.empty());

  Process program(ProgramCommand("-edit " + Quoted(mp3) + " " + Quoted(unreadable) + " " +
                                 Quoted(flac) + " " + Quoted(" " + ogg + " ")),
                  appData.path());
  ASSERT_TRUE(program.started());

  HWND box = WaitForMessageBox(program.id(), "Error");
  ASSERT_NE(box, nullptr) << "no box for the file that cannot be read";
  EXPECT_EQ(MessageBoxText(box), "Couldn't read ID3 Tags of\r\n" + unreadable);
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));

  // The three readable files come in one editor first; the user asks for them one by one.
  EditorWindowFound editor = WaitForEditor(program.id());
  ASSERT_TRUE(editor);
  EXPECT_EQ(TextOf(editor[kStatusBar]), "3 files: first song.mp3, second.flac, third.ogg");
  // What is typed there goes on into each file's own editor, not yet saved.
  Retype(editor[kAlbumField], "Carried Album");
  Click(editor[kOneByOneButton]);
  ASSERT_TRUE(WaitUntilClosed(editor.window));

  editor = WaitForEditor(program.id());
  ASSERT_TRUE(editor);
  EXPECT_EQ(TextOf(editor[kStatusBar]), "first song.mp3");
  EXPECT_EQ(TextOf(editor[kTitleField]), "Tagged Title");
  EXPECT_EQ(TextOf(editor[kAlbumField]), "Carried Album");
  EXPECT_EQ(TextOf(editor[kYearField]), "1999");
  EXPECT_EQ(TextOf(editor[kSampleRateField]), "44100");
  EXPECT_EQ(TextOf(editor[kChannelsField]), "2");
  EXPECT_EQ(TextOf(editor[kLengthField]), "00:00:01");
  EXPECT_EQ(SelectedGenre(editor[kGenreList]), 17);
  Retype(editor[kTitleField], "Caf\xC3\xA9 ");
  Retype(editor[kYearField], "");
  Retype(editor[kTrackField], "");
  Click(editor[kSaveButton]);
  ASSERT_TRUE(WaitUntilClosed(editor.window)) << "Save left the first editor open";

  editor = WaitForEditor(program.id());
  ASSERT_TRUE(editor);
  EXPECT_EQ(TextOf(editor[kStatusBar]), "second.flac");
  EXPECT_EQ(TextOf(editor[kTitleField]), "Tagged Title");  // not the first file's edits
  EXPECT_EQ(TextOf(editor[kYearField]), "1999");
  Retype(editor[kArtistField], "Second Artist");
  PickGenre(editor[kGenreList], 8);
  Click(editor[kSaveButton]);
  ASSERT_TRUE(WaitUntilClosed(editor.window)) << "Save left the second editor open";

  editor = WaitForEditor(program.id());
  ASSERT_TRUE(editor);
  EXPECT_EQ(TextOf(editor[kStatusBar]), "third.ogg");
  Retype(editor[kTitleField], "never saved");
  Click(editor[kCancelButton]);
  EXPECT_EQ(program.WaitForExit(), 0) << "the edit run did not end after the last file";

  RawTag first = ReadRaw(mp3);
  EXPECT_EQ(first.title, "Caf\xC3\xA9 ");  // e with acute as UTF-8, the typed space kept
  EXPECT_EQ(first.year, 0u);
  EXPECT_EQ(first.track, 0u);
  EXPECT_EQ(first.artist, "Tagged Artist");
  EXPECT_EQ(first.album, "Carried Album");
  EXPECT_EQ(first.comment, "A comment");
  EXPECT_EQ(first.genre, "Rock");
  EXPECT_EQ(first.sampleRate, 44100);

  RawTag second = ReadRaw(flac);
  EXPECT_EQ(second.title, "Tagged Title");
  EXPECT_EQ(second.artist, "Second Artist");
  EXPECT_EQ(second.genre, "Jazz");
  EXPECT_EQ(second.album, "Carried Album");
  EXPECT_EQ(second.year, 1999u);
  EXPECT_EQ(second.track, 7u);

  EXPECT_EQ(ReadFileBytes(ogg), oggBefore) << "the cancelled file was written";
}

// Three files of two formats in one editor: what they share shows, what differs is empty; the
// album typed goes into every file and nothing else changes; the read-only file is named in the
// box and left as it was.
TEST(EditRun, SeveralFilesInOneEditorGetOnlyTheTypedField) {
  TempDir dir, appData;
  const std::string mp3 =
      dir.CopyFixture("rich-v24.mp3", "01 \xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F.mp3");
  const std::string flac = dir.CopyFixture("rich.flac", "02 \xE6\xAD\x8C.flac");
  const std::string locked = dir.CopyFixture("tagged.mp3", "03 locked.mp3");
  ASSERT_TRUE(SetFileAttributesW(Wide(locked).c_str(), FILE_ATTRIBUTE_READONLY));
  const std::string files = Quoted(mp3) + " " + Quoted(flac) + " " + Quoted(locked);
  const RawTag mp3Before = ReadRaw(mp3), flacBefore = ReadRaw(flac);
  const std::string lockedBefore = ReadFileBytes(locked);

  Process program(ProgramCommand("-edit " + files), appData.path());
  EditorWindowFound editor = WaitForEditor(program.id());
  ASSERT_TRUE(editor);
  EXPECT_EQ(TextOf(editor[kTitleField]), "");  // "Old Title" twice, "Tagged Title" once
  const std::string album =
      "\xD0\x9D\xD0\xBE\xD0\xB2\xD1\x8B\xD0\xB9 \xE5\x94\xB1\xE7\x89\x87 Album";
  Type(editor[kAlbumField], album);
  Click(editor[kSaveButton]);
  HWND box = WaitForMessageBox(program.id(), "Error");
  ASSERT_NE(box, nullptr) << "no box for the read-only file";
  const std::string text = MessageBoxText(box);
  EXPECT_NE(text.find(locked), std::string::npos) << text;
  EXPECT_EQ(text.find(mp3), std::string::npos) << text;
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  EXPECT_EQ(program.WaitForExit(), 0);

  for (const auto& [path, before] : {std::pair{mp3, mp3Before}, {flac, flacBefore}}) {
    RawTag expected = before;
    expected.album = album;
    EXPECT_TRUE(ReadRaw(path) == expected) << path << ": more than the album changed";
  }
  EXPECT_EQ(ReadFileBytes(locked), lockedBefore);
  SetFileAttributesW(Wide(locked).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(EditRun, AFileThatVanishesBeforeSaveGetsTheWriteFailureBoxWithItsReason) {
  TempDir dir, appData;
  const std::string mp3 = dir.CopyFixture("tagged.mp3", "vanishing.mp3");
  Process program(ProgramCommand("-edit " + Quoted(mp3)), appData.path());
  ASSERT_TRUE(program.started());
  EditorWindowFound editor = WaitForEditor(program.id());
  ASSERT_TRUE(editor);
  ASSERT_TRUE(DeleteFileA(mp3.c_str()));
  Retype(editor[kTitleField], "into nothing");
  Click(editor[kSaveButton]);
  HWND box = WaitForMessageBox(program.id(), "Error");
  ASSERT_NE(box, nullptr) << "no box for the file that could not be written";
  EXPECT_EQ(MessageBoxText(box),
            "Couldn't write ID3 Tags into\r\n" + mp3 + "\r\nThe file is no longer there");
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  EXPECT_EQ(program.WaitForExit(), 0);
  EXPECT_FALSE(FileExists(mp3));
}

TEST(EditRun, TenThousandCharacterAndControlTextsInAFileShowAndSave) {
  TempDir dir, appData;
  const std::string flac = dir.CopyFixture("tagged.flac", "long.flac");
  std::string longTitle;
  for (int i = 0; i < 1000; ++i) longTitle += "t\xC3\xADtulo lar";  // 10 characters, 11 bytes
  const std::string controls =
      "tab\tbell\x07"
      "esc\x1B"
      "end";
  {
    const taglib::File file(taglib_file_new(flac.c_str()));
    ASSERT_NE(file.get(), nullptr);
    taglib_tag_set_title(taglib_file_tag(file.get()), longTitle.c_str());
    taglib_tag_set_comment(taglib_file_tag(file.get()), controls.c_str());
    ASSERT_TRUE(taglib_file_save(file.get()));
  }
  Process program(ProgramCommand("-edit " + Quoted(flac)), appData.path());
  ASSERT_TRUE(program.started());
  EditorWindowFound editor = WaitForEditor(program.id());
  ASSERT_TRUE(editor);
  EXPECT_EQ(TextOf(editor[kTitleField]), longTitle);  // every character, read wide
  Type(editor[kArtistField], " too");
  Click(editor[kSaveButton]);
  EXPECT_EQ(program.WaitForExit(), 0);
  RawTag saved = ReadRaw(flac);
  EXPECT_EQ(saved.title, longTitle);
  EXPECT_EQ(saved.artist, "Tagged Artist too");
  EXPECT_EQ(saved.comment, controls);
}

// Another program writes a file of an album while the album is open in one editor: it fixes the
// title, writes a comment and adds a second artist. The album the user types then goes into every
// file, and that program's values stay.
TEST(EditRun, ASaveKeepsWhatAnotherProgramWroteWhileTheEditorWasOpen) {
  TempDir dir, appData;
  const std::string changed = dir.CopyFixture("tagged.flac", "01 \xE6\xAD\x8C.flac");
  const std::string mp3 = dir.CopyFixture("rich-v24.mp3", "02 two artists.mp3");
  Process program(ProgramCommand("-edit " + Quoted(changed) + " " + Quoted(mp3)), appData.path());
  EditorWindowFound editor = WaitForEditor(program.id());
  ASSERT_TRUE(editor);
  // The other program's save, made by mutagen into a file of the same song.
  WriteFileBytes(changed, ReadFileBytes(dir.CopyFixture("tagged-changed.flac", "other.flac")));
  Type(editor[kAlbumField], "New Album");
  Click(editor[kSaveButton]);
  EXPECT_EQ(program.WaitForExit(), 0);

  EXPECT_EQ(PropertyValues(changed, "ALBUM"), "New Album");
  EXPECT_EQ(PropertyValues(changed, "TITLE"), "Fixed Title");
  EXPECT_EQ(PropertyValues(changed, "COMMENT"), "Their words");
  EXPECT_EQ(PropertyValues(changed, "ARTIST"), "Tagged Artist|Guest");
  EXPECT_EQ(PropertyValues(mp3, "ALBUM"), "New Album");
}

// Cancel during the save of many files: one box says how many were saved, and exactly that many
// files hold the typed album.
TEST(EditRun, ASaveStoppedByCancelSaysHowManyFilesWereSaved) {
  TempDir dir, appData;
  std::vector<std::string> files;
  std::string command = "-edit";
  for (int i = 0; i < 150; ++i) {
    files.push_back(dir.CopyFixture("tagged.mp3", "track " + std::to_string(i) + ".mp3"));
    command += " " + Quoted(files.back());
  }
  Process program(ProgramCommand(command), appData.path());
  EditorWindowFound editor = WaitForEditor(program.id(), 30000);
  ASSERT_TRUE(editor);
  Type(editor[kAlbumField], " 2");
  Click(editor[kSaveButton]);
  Click(editor[kCancelButton]);
  HWND box = WaitForMessageBox(program.id(), "Error");
  ASSERT_NE(box, nullptr) << "no box for the stopped save";
  const std::string text = MessageBoxText(box);
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  EXPECT_EQ(program.WaitForExit(), 0);
  size_t saved = 0;
  for (const std::string& file : files) saved += ReadRaw(file).album == "Tagged Album 2";
  EXPECT_EQ(text.rfind("The save was stopped: " + std::to_string(saved) +
                           " of 150 files were "
                           "saved. These are unchanged:",
                       0),
            0u)
      << text;
  EXPECT_LT(saved, files.size());
}

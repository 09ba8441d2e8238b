// The editor's cover column driven from outside as a user would: a PNG added through the open
// dialog to an ID3v2.3 MP3, a FLAC, an Ogg Vorbis file and an M4A in one editor and saved; an
// album of two covers where only the title is typed; a cover saved out and removed; a text file
// named like a picture. What reached the disk is read with TagLib's own classes here, and with
// mutagen by scripts/check_cover_saves.sh, which runs this test with DA3_KEEP_FOLDER set: the files
// saved are copied there.
#include <windows.h>

#include <gtest/gtest.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/vorbisfile.h>

#include "base/path_parts.h"
#include "base/wide_text_win.h"
#include "tests/support/editor_support.h"
#include "tests/support/raw_tag_support.h"
#include "tests/support/win_test_support.h"

using namespace testing_win;

namespace {
std::string Bytes(const TagLib::ByteVector& bytes) { return {bytes.data(), bytes.size()}; }
TagLib::FileName Name(const std::string& path) {
  static std::wstring wide;
  wide = Wide(path);
  return wide.c_str();
}

// Every picture of a file as "type:bytes", in the file's order.
std::vector<std::string> PicturesOf(const std::string& path) {
  std::vector<std::string> pictures;
  auto add = [&](int type, const TagLib::ByteVector& data) {
    pictures.push_back(std::to_string(type) + ":" + Bytes(data));
  };
  auto addFlac = [&](const TagLib::List<TagLib::FLAC::Picture*>& list) {
    for (const TagLib::FLAC::Picture* picture : list) add(picture->type(), picture->data());
  };
  if (path.ends_with(".mp3")) {
    TagLib::MPEG::File file(Name(path));
    if (file.hasID3v2Tag()) {
      pictures.push_back("v2." + std::to_string(file.ID3v2Tag()->header()->majorVersion()));
      for (auto* frame : file.ID3v2Tag()->frameList("APIC"))
        if (auto* apic = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame))
          add(apic->type(), apic->picture());
    }
  } else if (path.ends_with(".flac")) {
    TagLib::FLAC::File file(Name(path));
    addFlac(file.pictureList());
  } else if (path.ends_with(".ogg")) {
    TagLib::Ogg::Vorbis::File file(Name(path));
    addFlac(file.tag()->pictureList());
  } else if (path.ends_with(".m4a")) {
    TagLib::MP4::File file(Name(path));
    if (file.tag()->contains("covr"))
      for (const TagLib::MP4::CoverArt& art : file.tag()->item("covr").toCoverArtList())
        add(-1, art.data());
  }
  return pictures;
}

// Answers the program's open or save dialog with a path, typed into its name field.
void AnswerFileDialog(DWORD process, const std::string& path) {
  HWND dialog = WaitForWindow(process, "#32770", nullptr, 10000);
  ASSERT_NE(dialog, nullptr) << "no file dialog";
  HWND field = nullptr;
  EnumChildWindows(
      dialog,
      [](HWND child, LPARAM found) {
        if (ClassOf(child) != "Edit" || !IsWindowVisible(child)) return TRUE;
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
      },
      LPARAM(&field));
  ASSERT_NE(field, nullptr) << "the dialog has no name field";
  SetText(field, path);
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitUntilClosed(dialog, 10000));
}
}  // namespace

TEST(Cover, APngAddedToFourFormatsInOneEditorIsSavedAsItsBytesAndNothingElseChanges) {
  TempDir dir, appData;
  const std::string png = dir.CopyFixture("cover-red.png", "cover.png");
  const std::vector<std::string> files = {
      dir.CopyFixture("rich-v23.mp3", "a.mp3"), dir.CopyFixture("tagged.flac", "b.flac"),
      dir.CopyFixture("tagged.ogg", "c.ogg"), dir.CopyFixture("rich.m4a", "d.m4a")};
  std::vector<std::string> titles;
  std::string names;
  for (const std::string& file : files) {
    titles.push_back(PropertyValues(file, "TITLE"));
    names += " " + Quoted(file);
  }
  Process program(ProgramCommand("-edit" + names), appData.path());
  EditorWindowFound editor = WaitForEditor(program.id());
  ASSERT_TRUE(editor);
  EXPECT_EQ(TextOf(editor[kCoverBox]), DefaultText(kTextNoCover));
  EXPECT_FALSE(IsWindowEnabled(editor[kCoverSaveAsButton]));

  // A text file named like a picture gets a box and changes nothing.
  Click(editor[kCoverAddButton]);
  AnswerFileDialog(program.id(), dir.CopyFixture("not-a-picture.png", "words.png"));
  HWND box = WaitForMessageBox(program.id(), "Error");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), DefaultText(kTextNotAnImage));
  AnswerMessageBox(box, IDOK);
  EXPECT_EQ(TextOf(editor[kCoverAddButton]), DefaultText(kTextCoverAdd));

  // A picture on the clipboard, pasted into the box with Ctrl+V, goes in as a PNG; a file added
  // through the open dialog then replaces it.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  const COLORREF pixels[12] = {};
  SetClipboardData(CF_BITMAP, CreateBitmap(4, 3, 1, 32, pixels));
  CloseClipboard();
  PostMessageW(editor[kCoverBox], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(editor[kCoverBox], WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(editor.window) == editor[kCoverBox]; }));
  EXPECT_TRUE(PressKeyHolding(editor.window, VK_CONTROL, 'V', [&] {
    return TextOf(editor[kCoverLine]) == "4 \xC3\x97 3, 1 KB, PNG";
  })) << TextOf(editor[kCoverLine]);

  Click(editor[kCoverAddButton]);
  AnswerFileDialog(program.id(), png);
  EXPECT_TRUE(
      WaitUntil([&] { return TextOf(editor[kCoverLine]) == "60 \xC3\x97 40, 1 KB, PNG"; }, 5000))
      << TextOf(editor[kCoverLine]);
  EXPECT_EQ(TextOf(editor[kCoverBox]), "");
  EXPECT_EQ(TextOf(editor[kCoverAddButton]), DefaultText(kTextCoverReplace));
  Click(editor[kSaveButton]);
  EXPECT_EQ(program.WaitForExit(), 0);

  const std::string bytes = ReadFileBytes(png);
  EXPECT_EQ(PicturesOf(files[0]), (std::vector<std::string>{"v2.3", "3:" + bytes}));
  EXPECT_EQ(PicturesOf(files[1]), (std::vector<std::string>{"3:" + bytes}));
  EXPECT_EQ(PicturesOf(files[2]), (std::vector<std::string>{"3:" + bytes}));
  EXPECT_EQ(PicturesOf(files[3]), (std::vector<std::string>{"-1:" + bytes}));
  for (size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(PropertyValues(files[i], "TITLE"), titles[i]);
    KeepForReader(files[i]);
  }
}

TEST(Cover, DifferentCoversStayWhenOnlyTheTitleIsTypedAndOneIsSavedOutThenRemoved) {
  TempDir dir, appData;
  const std::string red = dir.CopyFixture("covered-red.flac", "01 red.flac");
  const std::string blue = dir.CopyFixture("covered-blue.flac", "02 blue.flac");
  const std::vector<std::string> redBefore = PicturesOf(red), blueBefore = PicturesOf(blue);
  ASSERT_EQ(redBefore.size(), 2u);

  Process album(ProgramCommand("-edit " + Quoted(red) + " " + Quoted(blue)), appData.path());
  EditorWindowFound editor = WaitForEditor(album.id());
  ASSERT_TRUE(editor);
  EXPECT_TRUE(WaitUntil(
      [&] { return TextOf(editor[kCoverBox]) == DefaultText(kTextDifferentCovers); }, 5000));
  EXPECT_FALSE(IsWindowEnabled(editor[kCoverSaveAsButton]));
  Retype(editor[kTitleField], "Same Title");
  Click(editor[kSaveButton]);
  EXPECT_EQ(album.WaitForExit(), 0);
  EXPECT_EQ(PropertyValues(red, "TITLE"), "Same Title");
  EXPECT_EQ(PicturesOf(red), redBefore);
  EXPECT_EQ(PicturesOf(blue), blueBefore);

  // One file: its front cover shows with the count of its pictures; "Save as" writes its bytes,
  // "Remove" takes the front cover away on Save and leaves the back cover.
  Process one(ProgramCommand("-edit " + Quoted(red)), appData.path());
  editor = WaitForEditor(one.id());
  ASSERT_TRUE(editor);
  EXPECT_TRUE(WaitUntil(
      [&] { return TextOf(editor[kCoverLine]) == "60 \xC3\x97 40, 1 KB, PNG, 2 pictures"; }, 5000))
      << TextOf(editor[kCoverLine]);
  Click(editor[kCoverSaveAsButton]);
  const std::string savedOut = dir / "saved out.png";
  AnswerFileDialog(one.id(), savedOut);
  EXPECT_EQ(ReadFileBytes(savedOut), ReadFileBytes(dir.CopyFixture("cover-red.png", "x.png")));
  Click(editor[kCoverRemoveButton]);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(editor[kCoverRemoveButton]); }, 5000));
  Click(editor[kSaveButton]);
  EXPECT_EQ(one.WaitForExit(), 0);
  EXPECT_EQ(PicturesOf(red), (std::vector<std::string>{redBefore[1]}));
  for (const std::string& file : {red, blue, savedOut}) KeepForReader(file);
}

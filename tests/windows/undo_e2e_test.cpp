// A sort taken back as the user does it: a run in a sorter process, then "Undo the last sort" in
// the configuration window of another, and what is on the disk afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "base/file_system_win.h"
#include "base/path_parts.h"
#include "base/text_util.h"
#include "tags/save_copy_name.h"
#include "tags/tag_bridge.h"
#include "tests/support/configure_support.h"
#include "tests/support/editor_support.h"
#include "tests/support/sorter_support.h"
#include "tests/support/win_test_support.h"

using namespace testing_win;

namespace {
const std::string kTail = "%GENRE%\\%ARTIST%\\%ALBUM%\\*.$";

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class Undo : public ::testing::Test {
 protected:
  // A copy of a tagged fixture with the given genre and artist, album "Live".
  std::string Song(const std::string& name, const std::string& genre, const std::string& artist) {
    const std::string path =
        source_.CopyFixture("tagged." + name.substr(name.rfind('.') + 1), name);
    TagInfo tags;
    EXPECT_EQ(ReadTags(path, &tags), 1);
    tags.genre = genre;
    tags.artist = artist;
    tags.album = "Live";
    EXPECT_EQ(WriteTags(path, &tags), 1) << name;
    return path;
  }

  // Sorts the files by the pattern, started in the given folder, answering the delete question;
  // the album's other files go along, as the window starts. Once the preview has read every row,
  // it shows the given number of album files (pictures and cue sheets, selected or not) going with
  // their album, and a row that gives the reason they stay, when one is given.
  void Sort(const std::vector<std::string>& files, const std::string& pattern, bool move,
            const std::string& folder = "", size_t albumFiles = 0,
            const std::string& stayReason = "") {
    std::string args = "-sort";
    for (const std::string& file : files) args += " " + Quoted(file);
    Process sorter(ProgramCommand(args), appData_.path(), folder);
    SorterControls s = WaitForSorter(sorter.id(), 10000);
    ASSERT_TRUE(s) << "the sorter window never appeared";
    EXPECT_EQ(TextOf(s.album), "Take the album's other files along (cover, cue, log, playlists)");
    EXPECT_EQ(SendMessageW(s.album, BM_GETCHECK, 0, 0), BST_CHECKED);
    SetText(s.pattern, pattern);
    std::string shown;
    EXPECT_TRUE(WaitUntil([&] {
      const std::vector<std::string> names = ListTexts(s.files), targets = ListTexts(s.files, 1);
      size_t going = 0;
      shown.clear();
      for (size_t row = 0; row < names.size(); ++row) {
        shown += "\n" + names[row] + ": " + targets[row];
        const std::string extension = ExtensionPart(names[row]);
        if (EqualsIgnoringAsciiCase(extension, "jpg") || extension == "cue")
          going += targets[row].rfind("goes with the album: ", 0) == 0;
      }
      return going == albumFiles && (stayReason.empty() || std::find(targets.begin(), targets.end(),
                                                                     stayReason) != targets.end());
    })) << "the preview shows"
        << shown;
    ASSERT_TRUE(StartSort(s, sorter.id(), move)) << "the delete question never appeared";
    EXPECT_EQ(sorter.WaitForExit(60000), 0) << "the sorter did not end after the run";
  }

  // The configuration window of a process of its own, closed at the end.
  class Configuration {
   public:
    explicit Configuration(const std::string& appData) : process_(ProgramCommand(""), appData) {
      found_ = WaitForConfiguration(process_.id(), 10000);
      EXPECT_TRUE(found_) << "no configuration window";
    }
    ~Configuration() {
      RequestClose(found_.window);
      EXPECT_EQ(process_.WaitForExit(10000), 0);
    }

    // Presses Undo: gives the question ("" when none came) and the text of the box after it,
    // answering Yes, and pressing the progress window's Cancel when told to.
    std::pair<std::string, std::string> PressUndo(bool cancel = false) {
      const DWORD id = process_.id();
      Click(found_.undo);
      HWND question = nullptr, information = nullptr;
      WaitUntil([&] {
        question = WaitForMessageBox(id, "Question", 0);
        information = WaitForMessageBox(id, "Information", 0);
        return question || information;
      });
      if (information) return {"", Answered(information)};
      if (!question) return {"(no question)", ""};
      const std::string asked = MessageBoxText(question);
      EXPECT_TRUE(AnswerMessageBox(question, IDYES));
      if (cancel) {
        HWND progress = WaitForMessageBox(id, "Undo the last sort", 10000);
        EXPECT_TRUE(progress && AnswerMessageBox(progress, IDCANCEL)) << "no progress window";
      }
      HWND report = WaitForMessageBox(id, "Undo finished", 60000);
      return {asked, report ? Answered(report) : "(no box after the undo)"};
    }

   private:
    static std::string Answered(HWND box) {
      const std::string text = MessageBoxText(box);
      EXPECT_TRUE(AnswerMessageBox(box, IDOK));
      return text;
    }
    Process process_;
    ConfigurationFound found_;
  };

  // Presses Undo in the configuration window and answers Yes; gives the question and the text of
  // the box that says how it went. A second press must find nothing to undo.
  std::pair<std::string, std::string> UndoInConfiguration() {
    Configuration configuration(appData_.path());
    const auto shown = configuration.PressUndo();
    EXPECT_EQ(configuration.PressUndo().second, "The last sort was undone already.");
    return shown;
  }

  TempDir source_, target_, appData_;
};

}  // namespace

// The move takes the album's cover (selected with the tracks) and cue sheet (not selected) along,
// which empties the album folder (Thumbs.db set aside) and its parent, and they are removed; undo
// puts every file back under its name as it was, makes those folders again, puts the Thumbs.db
// back and removes the folders the move made.
TEST_F(Undo, AMoveWithItsAlbumGoesBackAndTheFoldersItEmptiedAreThereAgain) {
  ASSERT_TRUE(CreateDirectoryA((source_ / "In").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((source_ / "In\\Album").c_str(), nullptr));
  const std::vector<std::string> songs = {
      Song("In\\Album\\01.mp3", "Rock", "Band"), Song("In\\Album\\02.ogg", "Rock", "Band"),
      source_ / "In\\Album\\Cover.JPG", source_ / "In\\Album\\album.cue"};
  WriteFileBytes(songs[2], "picture");
  WriteFileBytes(songs[3], "FILE \"01.mp3\" MP3");
  std::vector<std::string> bytes;
  for (const std::string& song : songs) bytes.push_back(ReadFileBytes(song));
  WriteFileBytes(source_ / "In\\Album\\Thumbs.db", "thumbs");
  Sort({songs[0], songs[1], songs[2]}, target_.path() + kTail, true, source_ / "In", 2);
  for (size_t i = 0; i < songs.size(); ++i)
    EXPECT_EQ(ReadFileBytes(target_ / ("Rock\\Band\\Live\\" + FilePart(songs[i]))), bytes[i]);
  EXPECT_FALSE(IsFolder(source_ / "In\\Album")) << "the emptied album folder is still there";
  EXPECT_FALSE(IsFolder(source_ / "In")) << "the emptied folder the sort started in is still there";
  // Its leftover kept under its own name in the run's hidden folder above the folders that went.
  const std::vector<std::string> aside = NamesMatching(source_ / "~DA3Zur-*");
  ASSERT_EQ(aside.size(), 1u) << "the leftover was not set aside";
  EXPECT_TRUE(GetFileAttributesA((source_ / aside[0]).c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(ReadFileBytes(source_ / (aside[0] + "\\In\\Album\\Thumbs.db")), "thumbs");

  const auto [question, report] = UndoInConfiguration();
  EXPECT_EQ(question.rfind("Undo the sort of ", 0), 0u) << question;
  EXPECT_TRUE(EndsWith(question, "? It moved 4 files.")) << question;
  EXPECT_EQ(report, "4 of 4 files were put back.");
  for (size_t i = 0; i < songs.size(); ++i) EXPECT_EQ(ReadFileBytes(songs[i]), bytes[i]);
  // Every name as it was, its case too, and the leftover back beside them.
  std::vector<std::string> names = NamesMatching(source_ / "In\\Album\\*.*");
  std::erase_if(names, [](const std::string& name) { return name == "." || name == ".."; });
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names,
            (std::vector<std::string>{"01.mp3", "02.ogg", "Cover.JPG", "Thumbs.db", "album.cue"}));
  EXPECT_EQ(ReadFileBytes(source_ / "In\\Album\\Thumbs.db"), "thumbs");
  EXPECT_EQ(NamesMatching(source_ / "~DA3Zur-*"), std::vector<std::string>{});
  EXPECT_FALSE(IsFolder(target_ / "Rock")) << "a folder the move made is left";
}

// A copy run that replaced a file: undo removes the copies that are as the run left them (a
// read-only one too), keeps the one changed since and says so, and puts the replaced file back as
// it was.
TEST_F(Undo, ACopyGoesButAChangedOneStaysAndTheReplacedFileComesBack) {
  const std::string a = Song("a.mp3", "Rock", "Band"), b = Song("b.flac", "Jazz", "Trio");
  const std::string copyOfA = target_ / "Rock\\Band\\Live\\a.mp3";
  const std::string older = target_ / "Jazz\\Trio\\Live\\b.flac";
  for (const char* folder : {"Jazz", "Jazz\\Trio", "Jazz\\Trio\\Live"})
    ASSERT_TRUE(CreateDirectoryA((target_ / folder).c_str(), nullptr));
  WriteFileBytes(older, "older b");
  // A read-only original gives a read-only copy, which undo removes too.
  ASSERT_TRUE(SetFileAttributesA(b.c_str(), FILE_ATTRIBUTE_READONLY));
  Sort({a, b}, target_.path() + kTail, false);
  EXPECT_EQ(ReadFileBytes(older), ReadFileBytes(b));
  EXPECT_TRUE(GetFileAttributesA(older.c_str()) & FILE_ATTRIBUTE_READONLY);
  const std::vector<std::string> aside = NamesMatching(target_ / "Jazz\\Trio\\Live\\~DA3Zur-*");
  ASSERT_EQ(aside.size(), 1u) << "the replaced file was not kept aside";
  WriteFileBytes(copyOfA, "changed after the sort");

  const auto [question, report] = UndoInConfiguration();
  EXPECT_TRUE(EndsWith(question, "? It copied 2 files.")) << question;
  EXPECT_EQ(report, "1 of 2 files were put back.\r\n\r\n" + copyOfA +
                        "\r\n    The copy was changed after the sort");
  EXPECT_EQ(ReadFileBytes(copyOfA), "changed after the sort");
  EXPECT_EQ(ReadFileBytes(older), "older b");
  EXPECT_FALSE(GetFileAttributesA(older.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(FileCount(target_ / "Jazz\\Trio\\Live\\"), 1u) << "the kept file is left beside it";
  EXPECT_TRUE(FileExists(a) && FileExists(b));
}

// A file a copy replaced is kept aside for that run's undo only: the next run sends it to the
// Recycle Bin, which Wine keeps as the desktop's trash (there once its folders exist).
TEST_F(Undo, TheNextRunSendsTheFileACopyReplacedToTheRecycleBinUnderItsOwnName) {
  // Wine gives the Unix home as \\??\\Z:\\...; the trash is the desktop's, under it.
  char wineHome[MAX_PATH] = {};
  ASSERT_GT(GetEnvironmentVariableA("WINEHOMEDIR", wineHome, MAX_PATH), 4u) << "not under Wine";
  std::string trash = std::string(wineHome + 4);
  for (const char* level : {"\\.local", "\\share", "\\Trash", "\\files"})
    CreateDirectoryA((trash += level).c_str(), nullptr);
  trash.resize(trash.size() - 5);  // back to the trash folder, with its backslash
  CreateDirectoryA((trash + "info").c_str(), nullptr);
  const std::string song = Song("b.flac", "Jazz", "Trio");
  const std::string folder = target_ / "Jazz\\Trio\\Live\\";
  for (const char* level : {"Jazz", "Jazz\\Trio", "Jazz\\Trio\\Live"})
    ASSERT_TRUE(CreateDirectoryA((target_ / level).c_str(), nullptr));
  WriteFileBytes(folder + "b.flac", "older b");
  Sort({song}, target_.path() + kTail, false);
  // Kept under its own name in the run's hidden folder beside it.
  const std::vector<std::string> aside = NamesMatching(folder + "~DA3Zur-*");
  ASSERT_EQ(aside.size(), 1u) << "the replaced file was not kept aside";
  EXPECT_TRUE(GetFileAttributesA((folder + aside[0]).c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(ReadFileBytes(folder + aside[0] + "\\b.flac"), "older b");
  Sort({Song("c.mp3", "Pop", "Duo")}, target_.path() + kTail, false);
  EXPECT_EQ(NamesMatching(folder + "~DA3Zur-*"), std::vector<std::string>{});
  // In the bin as b.flac (Wine's trash adds a tag to a name it holds already: earlier undos'
  // copies).
  bool inBin = false;
  for (const std::string& name : NamesMatching(trash + "files\\b.flac*")) {
    if (ReadFileBytes(trash + "files\\" + name) != "older b") continue;
    inBin = true;
    DeleteFileA((trash + "files\\" + name).c_str());
    for (const std::string& info : NamesMatching(trash + "info\\" + name + "*"))
      DeleteFileA((trash + "info\\" + info).c_str());
  }
  EXPECT_TRUE(inBin) << "the replaced file is not in the Recycle Bin under its own name";
}

// A run ended by force while a large file goes to another drive: the large file never left. Undo
// takes back what the run did, and removes the copy that was being made beside its target.
TEST_F(Undo, ARunEndedByForceIsTakenBackAsFarAsItGot) {
  TestDiskDir other(TestDiskDir::kOtherDrive, "undo");
  if (other.path().empty()) GTEST_SKIP() << "no other drive mounted";
  const std::string& drive = other.path();
  const std::string small = Song("small.mp3", "Rock", "Band");
  const std::string smallBytes = ReadFileBytes(small);
  constexpr LONGLONG kLarge = 3LL << 30;  // seconds to copy
  const std::string big = source_.CopyFixture("tagged.flac", "big.flac");
  MakeSparseFile(big, kLarge);
  {
    Process sorter(ProgramCommand("-sort " + Quoted(small) + " " + Quoted(big)), appData_.path());
    SorterControls s = WaitForSorter(sorter.id(), 10000);
    ASSERT_TRUE(s) << "the sorter window never appeared";
    SetText(s.pattern, drive + "*.$");
    ASSERT_TRUE(StartSort(s, sorter.id(), true)) << "the delete question never appeared";
    ASSERT_TRUE(WaitUntil([&] { return FileCount(drive) == 2; }, 10000))
        << "the large file never began to go";
  }  // ended by force
  ASSERT_FALSE(FileExists(small));
  EXPECT_EQ(FileSize(big).value_or(0), std::uint64_t(kLarge));
  const std::vector<std::string> left = NamesMatching(drive + "*.flac");
  ASSERT_EQ(left.size(), 1u);
  EXPECT_TRUE(SortCopyProcess(left[0])) << left[0] << " is not the copy beside the target";

  // Only the small file was done; the large file's half-made copy goes with the undo.
  const auto [question, report] = UndoInConfiguration();
  EXPECT_TRUE(EndsWith(question, "? It moved 1 file.")) << question;
  EXPECT_EQ(report, "1 of 1 file was put back.");
  EXPECT_EQ(ReadFileBytes(small), smallBytes);
  EXPECT_EQ(FileSize(big).value_or(0), std::uint64_t(kLarge));
  EXPECT_FALSE(FileExists(drive + "small.mp3"));
  EXPECT_EQ(NamesMatching(drive + "*.flac"), std::vector<std::string>{}) << "the copy is left";
}

// An album already where the pattern puts it, copied in place (Enter answers copy): the run did
// nothing, so there is nothing to undo, and every file is there as it was.
TEST_F(Undo, AnAlbumCopiedInPlaceHasNothingToUndoAndKeepsEveryFile) {
  const std::string folder = target_ / "Rock\\Band\\Live\\";
  for (const char* level : {"Rock", "Rock\\Band", "Rock\\Band\\Live"})
    ASSERT_TRUE(CreateDirectoryA((target_ / level).c_str(), nullptr));
  std::vector<std::string> files = {Song("01.mp3", "Rock", "Band"), Song("02.ogg", "Rock", "Band")};
  for (std::string& file : files) {
    ASSERT_TRUE(MoveFileA(file.c_str(), (folder + FilePart(file)).c_str()));
    file = folder + FilePart(file);
  }
  files.push_back(folder + "cover.jpg");
  WriteFileBytes(files.back(), "picture");
  std::vector<std::string> bytes;
  for (const std::string& file : files) bytes.push_back(ReadFileBytes(file));
  Sort(files, target_.path() + kTail, false, folder, 1);
  EXPECT_EQ(Configuration(appData_.path()).PressUndo().second, "There is no sort to undo.");
  for (size_t i = 0; i < files.size(); ++i) EXPECT_EQ(ReadFileBytes(files[i]), bytes[i]) << i;
  EXPECT_EQ(FileCount(folder), files.size());
}

// Tracks moved out of a folder that holds other audio files too: the folder is no album's, so
// its picture and booklet stay, and the preview says why before the run.
TEST_F(Undo, TheOtherFilesOfAFolderThatIsNoAlbumStayWhereTheyAre) {
  ASSERT_TRUE(CreateDirectoryA((source_ / "Mixed").c_str(), nullptr));
  const std::string song = Song("Mixed\\01.mp3", "Rock", "Band");
  const std::string other = Song("Mixed\\Другое.mp3", "Jazz", "Trio");
  const std::string cover = source_ / "Mixed\\cover.jpg", booklet = source_ / "Mixed\\notes.pdf";
  WriteFileBytes(cover, "picture");
  WriteFileBytes(booklet, "booklet");
  Sort({song}, target_.path() + kTail, true, source_ / "Mixed", 0,
       "Other audio files of its folder are not in this sort");
  EXPECT_TRUE(FileExists(target_ / "Rock\\Band\\Live\\01.mp3"));
  EXPECT_EQ(ReadFileBytes(cover), "picture");
  EXPECT_EQ(ReadFileBytes(booklet), "booklet");
  EXPECT_TRUE(FileExists(other));
  EXPECT_EQ(FileCount(target_ / "Rock\\Band\\Live\\"), 1u);
}

// An undo that can't go on now is finished later: while a sorter still writes the record (held
// here as the sorter holds it) undo refuses and says why; once it is free, the undo of a large
// move from another drive shows its progress, and Cancel stops it with the file where the sort put
// it, whole; the next undo finishes it.
TEST_F(Undo, AnUndoRefusedOrStoppedByCancelIsFinishedByTheNext) {
  TestDiskDir other(TestDiskDir::kOtherDrive, "undo-cancel");
  if (other.path().empty()) GTEST_SKIP() << "no other drive mounted";
  constexpr LONGLONG kLarge = 1LL << 30;
  const std::string big = source_.CopyFixture("tagged.flac", "big.flac");
  const std::string placed = other.path() + "big.flac";
  MakeSparseFile(big, kLarge);
  Sort({big}, other.path() + "*.$", true);
  ASSERT_EQ(FileSize(placed).value_or(0), std::uint64_t(kLarge));

  Configuration configuration(appData_.path());
  const std::string record = appData_ / "Veltan's DA3Zur Tools\\sort-1.txt";
  HANDLE writing = CreateFileA(record.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writing, INVALID_HANDLE_VALUE) << "no record at " << record;
  EXPECT_EQ(configuration.PressUndo().second,
            "A sort still writes this record; undo it once that sort has ended.");
  CloseHandle(writing);
  // Stopped before the file began to go, or while it went (then it is listed with the reason).
  const std::string stopped = configuration.PressUndo(true).second;
  EXPECT_EQ(stopped.rfind("0 of 1 file was put back.\r\nThe undo was cut short; start it again to "
                          "finish it.",
                          0),
            0u)
      << stopped;
  EXPECT_EQ(FileSize(placed).value_or(0), std::uint64_t(kLarge));
  EXPECT_FALSE(FileExists(big));
  EXPECT_EQ(configuration.PressUndo().second, "1 of 1 file was put back.");
  EXPECT_EQ(FileSize(big).value_or(0), std::uint64_t(kLarge));
  EXPECT_FALSE(FileExists(placed));
}

// Undo steps back run by run. A file the first run moved and the editor then saved (a save makes
// it a new file) still goes back with that run; a copy of the second run that the user deleted is
// named as not found, not counted as put back.
TEST_F(Undo, StepsBackRunByRunAndFindsAFileTheEditorSavedSince) {
  const std::string moved = Song("a.mp3", "Rock", "Band"), copied = Song("b.flac", "Jazz", "Trio");
  const std::string placed = target_ / "Rock\\Band\\Live\\a.mp3";
  const std::string copy = target_ / "Jazz\\Trio\\Live\\b.flac";
  Sort({moved}, target_.path() + kTail, true);
  ASSERT_TRUE(FileExists(placed));
  {
    Process editor(ProgramCommand("-edit " + Quoted(placed)), appData_.path());
    EditorWindowFound window = WaitForEditor(editor.id());
    ASSERT_TRUE(window);
    Retype(window[kCommentField], "Saved after the sort");
    Click(window[kSaveButton]);
    EXPECT_EQ(editor.WaitForExit(), 0);
  }
  Sort({copied}, target_.path() + kTail, false);
  ASSERT_TRUE(DeleteFileA(copy.c_str()));

  Configuration configuration(appData_.path());
  const auto [second, notFound] = configuration.PressUndo();
  EXPECT_TRUE(EndsWith(second, "? It copied 1 file.")) << second;
  EXPECT_EQ(notFound,
            "0 of 1 file was put back.\r\n\r\n" + copy + "\r\n    Not found; nothing removed");
  const auto [first, back] = configuration.PressUndo();
  EXPECT_TRUE(EndsWith(first, "? It moved 1 file.")) << first;
  EXPECT_EQ(back, "1 of 1 file was put back.");
  TagInfo tags;
  ASSERT_EQ(ReadTags(moved, &tags), 1) << "the saved file is not back";
  EXPECT_EQ(tags.comment, "Saved after the sort");
  EXPECT_FALSE(FileExists(placed));
  EXPECT_TRUE(FileExists(copied));
  EXPECT_EQ(configuration.PressUndo().second, "The last sort was undone already.");
}

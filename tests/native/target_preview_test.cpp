#include "sorter/target_preview.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>
#include "tests/native/default_texts.h"

namespace {

TagInfo Artist(std::string artist) {
  TagInfo tags;
  tags.artist = std::move(artist);
  return tags;
}

// Does every task the preview asks for, from tags and a disk given as data; counts the readings.
struct FakeDisk {
  std::map<std::string, TagInfo> tagged;                    // a source missing here can't be read
  std::set<std::string> existing;                           // targets on disk
  std::map<std::string, std::vector<std::string>> folders;  // the files of a folder
  std::map<size_t, int> tagReads;
  size_t checks = 0;

  // Works through the tasks until the preview has none; at most limit of them.
  size_t Work(TargetPreview& preview, size_t first, size_t last, size_t limit = SIZE_MAX) {
    size_t done = 0;
    for (; done < limit; ++done) {
      auto task = preview.NextTask(first, last);
      if (!task) break;
      if (task->kind == PreviewTask::kReadTags) {
        ++tagReads[task->row];
        auto it = tagged.find(preview.Source(task->row));
        preview.SetTags(task->row, it == tagged.end() ? std::nullopt : std::optional(it->second));
      } else if (task->kind == PreviewTask::kListFolder) {
        const std::string& source = preview.Source(task->row);
        preview.SetFolderFiles(task->row, folders[source.substr(0, source.rfind('\\') + 1)]);
      } else if (task->kind == PreviewTask::kCheckAlbumTarget) {
        preview.SetAlbumTargetState(task->row, existing.count(*preview.AlbumTarget(task->row))
                                                   ? TargetState::kExists
                                                   : TargetState::kMissing);
      } else {
        ++checks;
        preview.SetTargetState(task->row, existing.count(*preview.Target(task->row))
                                              ? TargetState::kExists
                                              : TargetState::kMissing);
      }
    }
    return done;
  }
};
}  // namespace

TEST(TargetPreview, ShowsTargetsAndMarksWhatStandsInTheWay) {
  const NameCase names;
  TargetPreview preview(names);
  FakeDisk disk;
  for (std::string name : {"a", "b", "c", "d", "e"}) {
    preview.AddRow("S:\\" + name + ".mp3");
    disk.tagged["S:\\" + name + ".mp3"] = Artist("Band");
  }
  disk.tagged.erase("S:\\c.mp3");
  disk.tagged["S:\\d.mp3"] = Artist(std::string(260, 'x'));
  preview.AddRow("S:\\x\\A.MP3");  // the same target as row 0, as Windows compares names
  disk.tagged["S:\\x\\A.MP3"] = Artist("BAND");
  disk.existing = {"T:\\Band\\b.mp3"};
  preview.SetPattern({"T:\\%ARTIST%\\*.$"});
  disk.Work(preview, 0, 10);

  EXPECT_EQ(preview.Text(Texts(), 0), "T:\\Band\\a.mp3");
  EXPECT_FALSE(preview.Marked(0));
  EXPECT_EQ(preview.Text(Texts(), 1), "The target exists: T:\\Band\\b.mp3");
  EXPECT_EQ(preview.Text(Texts(), 2), "Tags can't be read");
  EXPECT_TRUE(preview.Marked(2));
  EXPECT_EQ(preview.Text(Texts(), 3).rfind("The path is too long: T:\\xxx", 0), 0u);
  EXPECT_EQ(preview.Text(Texts(), 4), "T:\\Band\\e.mp3");
  EXPECT_EQ(preview.Text(Texts(), 5), "Same target as an earlier file: T:\\BAND\\A.MP3");
  for (size_t row : {1, 3, 5}) EXPECT_TRUE(preview.Marked(row)) << row;
}

// A target that is another row's file is marked before anything else that stands in its way
// (it is on disk, too), also when that row joins the list after the target was worked out; a
// file already at its own target is not.
TEST(TargetPreview, MarksATargetThatIsAnotherRowsFile) {
  const NameCase names;
  TargetPreview preview(names);
  FakeDisk disk;
  preview.AddRow("S:\\a.mp3");
  preview.AddRow("S:\\x\\BAND\\a.mp3");
  preview.AddRow("S:\\x\\Band\\c.mp3");
  disk.tagged = {{"S:\\a.mp3", Artist("Band")},
                 {"S:\\x\\BAND\\a.mp3", Artist("Other")},
                 {"S:\\x\\Band\\c.mp3", Artist("Band")},
                 {"S:\\c.mp3", Artist("Band")}};
  disk.existing = {"S:\\x\\Band\\a.mp3", "S:\\x\\Band\\c.mp3"};
  preview.SetPattern({"S:\\x\\%ARTIST%\\*.$"});
  disk.Work(preview, 0, 10);
  EXPECT_EQ(preview.Text(Texts(), 0), "The target is a file of this sort: S:\\x\\Band\\a.mp3");
  EXPECT_EQ(preview.Text(Texts(), 1), "S:\\x\\Other\\a.mp3");
  EXPECT_NE(preview.Text(Texts(), 2).rfind("The target is a file", 0), 0u);  // its own place

  preview.AddRow("S:\\c.mp3");
  disk.Work(preview, 0, 10);
  EXPECT_EQ(preview.Text(Texts(), 3), "The target is a file of this sort: S:\\x\\Band\\c.mp3");
  preview.AddRow("S:\\x\\other\\A.MP3");  // row 1's target, as Windows compares names
  EXPECT_TRUE(preview.Marked(1));
}

TEST(TargetPreview, RowsOnScreenComeFirstAndTagsAreReadOnce) {
  const NameCase names;
  TargetPreview preview(names);
  FakeDisk disk;
  for (int i = 0; i < 100; ++i) {
    preview.AddRow("S:\\" + std::to_string(i) + ".mp3");
    disk.tagged[preview.Source(size_t(i))] = Artist(i < 50 ? "One" : "Two");
  }
  preview.SetPattern({"T:\\%ARTIST%\\x.mp3"});
  // The screen shows rows 60 to 69: their tags and targets come first.
  disk.Work(preview, 60, 69, 20);
  EXPECT_EQ(disk.tagReads.size(), 10u);
  EXPECT_EQ(disk.tagReads.begin()->first, 60u);
  EXPECT_EQ(preview.Text(Texts(), 61), "T:\\Two\\x.mp3");
  EXPECT_EQ(preview.Text(Texts(), 0), "");  // not read yet
  // An earlier row with the same target is found once the rows before are known.
  disk.Work(preview, 60, 69);
  EXPECT_FALSE(preview.Marked(0));
  EXPECT_TRUE(preview.Marked(1));
  EXPECT_FALSE(preview.Marked(50));
  EXPECT_TRUE(preview.Marked(61));

  // A new pattern works the targets out again from the tags already read.
  preview.SetPattern({"T:\\%ARTIST%\\*.mp3"});
  disk.checks = 0;
  disk.Work(preview, 0, 9);
  EXPECT_EQ(disk.checks, 100u);
  for (const auto& [row, reads] : disk.tagReads) EXPECT_EQ(reads, 1) << row;
  EXPECT_EQ(preview.Text(Texts(), 61), "T:\\Two\\61.mp3");
  EXPECT_FALSE(preview.Marked(61));

  // A row added later joins the comparison.
  preview.AddRow("S:\\x\\61.mp3");
  disk.tagged["S:\\x\\61.mp3"] = Artist("Two");
  disk.Work(preview, 0, 9);
  EXPECT_TRUE(preview.Marked(100));
  EXPECT_FALSE(preview.NextTask(0, 9));
}

TEST(TargetPreview, SameTargetFoldsCaseAsTheTableSaysAndUnreadableNamesSayWhy) {
  const NameCase names = NameCase::WithPairs({{u'ж', u'Ж'}, {u'σ', u'Σ'}, {u'ä', u'Ä'}});
  TargetPreview preview(names);
  FakeDisk disk;
  const std::string artists[] = {"\xD0\x96\xD0\xB0\xD1\x80",
                                 "\xD0\xB6\xD0\xB0\xD1\x80",  // Жар жар
                                 "\xCE\xA3",
                                 "\xCF\x83",  // Σ σ
                                 "\xC3\x84",
                                 "\xC3\xA4",
                                 "\xC3\x81",
                                 "\xC3\xA1"};  // Ä ä Á á
  for (size_t i = 0; i < std::size(artists); ++i) {
    preview.AddRow("S:\\" + std::to_string(i) + "\\a.mp3");
    disk.tagged[preview.Source(i)] = Artist(artists[i]);
  }
  preview.AddRow("S:\\\xED\xA0\xBD.mp3");  // a name with an unpaired surrogate
  preview.SetPattern({"T:\\%ARTIST%\\*.$"});
  disk.Work(preview, 0, 20);
  for (size_t row : {1, 3, 5}) EXPECT_TRUE(preview.Marked(row)) << row;
  for (size_t row : {0, 2, 4, 6, 7})
    EXPECT_FALSE(preview.Marked(row)) << row;  // á: not in this table
  EXPECT_EQ(preview.Text(Texts(), 1),
            "Same target as an earlier file: T:\\\xD0\xB6\xD0\xB0\xD1\x80\\a.mp3");
  EXPECT_EQ(preview.Text(Texts(), 8), "The name holds a character that can't be read");
  EXPECT_TRUE(preview.Marked(8));
  EXPECT_EQ(disk.tagReads.count(8), 0u);  // never read
}

// With the album's other files going along, a picture whose folder's tracks all go to one folder
// shows where it goes with them, once every row is read; one whose folder's tracks split, or that
// has no tracks beside it, says why it stays.
TEST(TargetPreview, AnAlbumsFilesShowWhereTheyGoWithItsTracks) {
  const NameCase names;
  TargetPreview preview(names);
  FakeDisk disk;
  for (const char* row : {"S:\\A\\1.mp3", "S:\\A\\cover.jpg", "S:\\A\\2.mp3", "S:\\B\\1.mp3",
                          "S:\\B\\2.mp3", "S:\\B\\front.png", "S:\\C\\scan.pdf", "S:\\D\\1.mp3"})
    preview.AddRow(row);
  for (const char* track : {"S:\\A\\1.mp3", "S:\\A\\2.mp3", "S:\\B\\1.mp3"})
    disk.tagged[track] = Artist("Band");
  disk.tagged["S:\\D\\1.mp3"] = Artist("Solo");
  disk.existing = {"T:\\Band\\disc.cue"};  // an album file never replaces a file
  disk.tagged["S:\\B\\2.mp3"] = Artist("Duo");
  // Beside the rows, each track's folder holds album files that are no rows, listed once.
  disk.folders["S:\\A\\"] = {"S:\\A\\1.mp3", "S:\\A\\Cover.JPG", "S:\\A\\disc.cue",
                             "S:\\A\\~DA3Zur-7-1.sorting.jpg", "S:\\A\\notes.doc"};
  disk.folders["S:\\B\\"] = {"S:\\B\\rip.log"};
  // A folder with audio files that are no rows is no album's.
  disk.folders["S:\\D\\"] = {"S:\\D\\1.mp3", "S:\\D\\other.MP3", "S:\\D\\art.jpg"};
  preview.SetAlbum(true);
  preview.SetPattern({"T:\\%ARTIST%\\*.$"});
  disk.Work(preview, 0, 1, 2);
  EXPECT_EQ(preview.Text(Texts(), 1), "") << "shown before every row was read";
  disk.Work(preview, 0, 10);
  ASSERT_EQ(preview.Shown(), 11u) << "the rows, then disc.cue, rip.log and art.jpg";
  EXPECT_EQ(preview.AlbumFileRow("S:\\a\\DISC.CUE"), 8u);
  const std::vector<std::tuple<size_t, std::string, bool>> shown = {
      {1, "goes with the album: T:\\Band\\cover.jpg", false},
      {5, "The album's tracks don't all go to one folder", true},
      {6, "Tags can't be read", true},
      {8, "The target exists", true},
      {9, "The album's tracks don't all go to one folder", true},
      {10, "Other audio files of its folder are not in this sort", true}};
  for (const auto& [row, text, marked] : shown) {
    EXPECT_EQ(preview.Text(Texts(), row), text) << row;
    EXPECT_EQ(preview.Marked(row), marked) << row;
  }
  preview.SetPattern({"U:\\%ARTIST%\\*.$"});
  disk.Work(preview, 0, 10);
  EXPECT_EQ(preview.Text(Texts(), 8), "goes with the album: U:\\Band\\disc.cue");
  preview.SetAlbum(false);
  EXPECT_EQ(preview.Shown(), 8u);
  EXPECT_EQ(preview.Text(Texts(), 1), "Tags can't be read");
  EXPECT_TRUE(preview.Marked(1));
}

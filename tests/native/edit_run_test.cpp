#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/mode_runs.h"
#include "tags/save_copy_name.h"

namespace {
// Stand-ins for the file and window steps that record what the run asked of them.
struct FakeSteps {
  std::map<std::string, TagInfo> files;  // readable files and their tags
  std::set<std::string> cancelled, unwritable;
  std::vector<std::string> log;

  EditRunSteps Steps() {
    return {.read =
                [this](const std::string& path, TagInfo& record) {
                  log.push_back("read " + path);
                  auto it = files.find(path);
                  if (it == files.end()) return 0;
                  // A file without a tag leaves the fields as they are, as TagLib reading does.
                  if (!it->second.title.empty()) record.title = it->second.title;
                  return 1;
                },
            .edit =
                [this](TagInfo& record, const std::string& path) {
                  log.push_back("edit " + path + " [" + record.title + "]");
                  return cancelled.count(path) ? 0 : 1;
                },
            .write =
                [this](const std::string& path, const TagInfo&, std::string& reason) {
                  log.push_back("write " + path);
                  if (!unwritable.count(path)) return 1;
                  if (path == "e.mp3") reason = "There is not enough space on the disk.";
                  return 0;
                },
            .message =
                [this](const std::string& title, const std::string& text) {
                  log.push_back("box " + title + ": " + text);
                }};
  }
};
}  // namespace

TEST(RunEditMode, GoesOnAfterFailuresWithOneBoxEach) {
  TextTable texts;
  FillDefaultTexts(texts);
  FakeSteps fake;
  fake.files["a.mp3"].title = "A";
  fake.files["c.mp3"].title = "C";
  fake.files["d.mp3"].title = "D";
  fake.cancelled = {"c.mp3"};
  fake.files["e.mp3"].title = "E";
  fake.unwritable = {"d.mp3", "e.mp3"};
  RunEditMode(Arguments(R"(p -edit " a.mp3 " "" b.mp3 c.mp3 d.mp3 e.mp3)"), texts, fake.Steps());
  EXPECT_EQ(fake.log, (std::vector<std::string>{
                          "read a.mp3", "edit a.mp3 [A]", "write a.mp3", "read b.mp3",
                          "box Error: Couldn't read ID3 Tags of\r\nb.mp3", "read c.mp3",
                          "edit c.mp3 [C]", "read d.mp3", "edit d.mp3 [D]", "write d.mp3",
                          "box Error: Couldn't write ID3 Tags into\r\nd.mp3", "read e.mp3",
                          "edit e.mp3 [E]", "write e.mp3",
                          "box Error: Couldn't write ID3 Tags into\r\ne.mp3\r\n"
                          "There is not enough space on the disk."}));
}

TEST(RunEditMode, AFileWithoutTagDoesNotInheritThePreviousFilesTags) {
  TextTable texts;
  FillDefaultTexts(texts);
  FakeSteps fake;
  fake.files["tagged.mp3"].title = "Kept apart";
  fake.files["bare.mp3"];  // opens, but has no tag
  RunEditMode(Arguments("p -edit tagged.mp3 bare.mp3"), texts, fake.Steps());
  EXPECT_EQ(fake.log[4], "edit bare.mp3 []");
}

TEST(RunEditMode, NoFilesDoesNothing) {
  TextTable texts;
  FakeSteps fake;
  RunEditMode(Arguments("p -edit"), texts, fake.Steps());
  EXPECT_TRUE(fake.log.empty());
}

// A save's leftover copy (one another program held open) is neither edited nor sorted; names that
// only resemble it are ordinary files.
TEST(SaveCopies, AreSkippedByTheEditAndSortRunsAndOnlyTheyAre) {
  const std::string copy = SaveCopyName("C:\\Music\\Song.Live.mp3", 4021, 3);
  EXPECT_EQ(copy, "C:\\Music\\~DA3Zur-4021-3.saving.mp3");
  EXPECT_EQ(SaveCopyName("noext", 1, 0), "~DA3Zur-1-0.saving");
  for (const std::string& name :
       {copy, std::string("~DA3Zur-1-0.saving"), std::string("x/~DA3Zur-7-99.saving.flac")})
    EXPECT_TRUE(IsSaveCopyName(name)) << name;
  for (const char* name : {"~DA3Zur-.saving.mp3", "~DA3Zur-1.saving.mp3", "~DA3Zur-1-x.saving.mp3",
                           "~DA3Zur-1-2.saving.a.mp3", "DA3Zur-1-2.saving.mp3",
                           "~DA3Zur-1-2.savings.mp3", "~DA3Zur-1-2.saving.mp3\\song.mp3"})
    EXPECT_FALSE(IsSaveCopyName(name)) << name;
  // A sort's copy beside its target is skipped too, and names the process that wrote it.
  const std::string sortCopy = SortCopyName("D:\\Rock\\Song.mp3", 4021, 0);
  EXPECT_EQ(sortCopy, "D:\\Rock\\~DA3Zur-4021-0.sorting.mp3");
  EXPECT_TRUE(IsSaveCopyName(sortCopy));
  EXPECT_EQ(SortCopyProcess(sortCopy), 4021u);
  EXPECT_EQ(SortCopyProcess(copy), std::nullopt);
  EXPECT_EQ(SortCopyProcess("~DA3Zur-7-1.sorting.a.mp3"), std::nullopt);

  TextTable texts;
  FillDefaultTexts(texts);
  FakeSteps fake;
  fake.files["a.mp3"].title = "A";
  RunEditMode(Arguments("p -edit \"" + copy + "\" a.mp3"), texts, fake.Steps());
  EXPECT_EQ(fake.log.front(), "read a.mp3");
  EXPECT_EQ(CollectSortFiles(Arguments("p -sort \"" + copy + "\" a.mp3"),
                             [](const std::string&) { return true; }),
            std::vector<std::string>{"a.mp3"});
}

// A name that holds an unpaired surrogate names no file the program can reach: the edit run says
// so and why, the sort keeps it so that its list shows it; names in any script are kept as given.
TEST(UnreadableNames, AreReportedWithTheReasonNotDropped) {
  TextTable texts;
  FillDefaultTexts(texts);
  FakeSteps fake;
  const std::string lost = "C:\\\xED\xA0\xBD.mp3";
  const std::string cyrillic =
      "C:\\\xD0\x9C\xD1\x83\xD0\xBC\xD0\xB8\xD0\xB9 \xE2\x80\x93 \xE2\x80\x99"
      "99.flac";
  fake.files[cyrillic].title = "\xD0\x94";
  RunEditMode(Arguments("p -edit \"" + lost + "\" \"" + cyrillic + "\""), texts, fake.Steps());
  EXPECT_EQ(fake.log,
            (std::vector<std::string>{"box Error: Couldn't read ID3 Tags of\r\n" + lost +
                                          "\r\nThe name holds a character that can't be read",
                                      "read " + cyrillic, "edit " + cyrillic + " [\xD0\x94]",
                                      "write " + cyrillic}));
  EXPECT_EQ(CollectSortFiles(Arguments("p -sort \"" + lost + "\" missing.mp3 \"" + cyrillic + "\""),
                             [&](const std::string& path) { return path == cyrillic; }),
            (std::vector<std::string>{lost, cyrillic}));
}

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
  EditorEnd together = EditorEnd::kSaved;  // how the editor for several files ends
  size_t stopAfter = SIZE_MAX;             // the files it saves before Cancel stops it
  bool ownValues = false;                  // it gives each file values of its own
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
                [this](const TagInfo& record, const std::string& path, const EditedFields* typed) {
                  log.push_back("edit " + path + " [" + record.title + "]" +
                                (typed ? " typed " + typed->album : ""));
                  return EditorResult{
                      cancelled.count(path) ? EditorEnd::kCancelled : EditorEnd::kSaved, {}};
                },
            .editTogether =
                [this](const std::vector<TagInfo>& records, const std::vector<std::string>& paths,
                       const WriteTypedFields& write) {
                  std::string line = "together";
                  for (size_t i = 0; i < paths.size(); ++i)
                    line += " " + paths[i] + " [" + records[i].title + "]";
                  log.push_back(line);
                  EditedFields typed;
                  typed.album = "Typed";
                  if (together == EditorEnd::kSaved)
                    for (size_t i = 0; i < records.size() && i < stopAfter; ++i) write(i, typed);
                  EditorResult result{together, typed};
                  if (ownValues)  // values of each file's own, as names give them
                    for (size_t i = 0; i < records.size(); ++i) {
                      result.perFile.push_back(typed);
                      result.perFile.back().album = "Own " + std::to_string(i);
                    }
                  return result;
                },
            .write =
                [this](const std::string& path, const EditedFields&, std::string& reason) {
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

// Every file is read first; those that can't be get one box, the rest one editor, and the files
// that can't be saved one box after it, or one box each on the one-by-one road.
TEST(RunEditMode, ReadsAllThenEditsTogetherOrOneByOneWithOneBoxPerFailure) {
  TextTable texts;
  FillDefaultTexts(texts);
  const std::string readBox = "box Error: Couldn't read ID3 Tags of\r\nb.mp3";
  const std::string together = "together a.mp3 [A] c.mp3 [C] d.mp3 [D] e.mp3 []";
  struct Case {
    EditorEnd end;
    std::vector<std::string> log;
    size_t stopAfter = SIZE_MAX;
  } cases[] = {
      {EditorEnd::kSaved,
       {together, "write a.mp3", "write c.mp3", "write d.mp3", "write e.mp3",
        "box Error: Couldn't write ID3 Tags into\r\nd.mp3\r\n"
        "e.mp3: There is not enough space on the disk."}},
      {EditorEnd::kCancelled, {together}},
      {EditorEnd::kOneByOne,
       {together, "edit a.mp3 [A] typed Typed", "write a.mp3", "edit c.mp3 [C] typed Typed",
        "edit d.mp3 [D] typed Typed", "write d.mp3",
        "box Error: Couldn't write ID3 Tags into\r\nd.mp3", "edit e.mp3 [] typed Typed",
        "write e.mp3",
        "box Error: Couldn't write ID3 Tags into\r\ne.mp3\r\n"
        "There is not enough space on the disk."}},
      // Cancel during the save: one box counts the files saved and lists the others, the failed
      // ones with their reasons.
      {EditorEnd::kSaved,
       {together, "write a.mp3", "write c.mp3", "write d.mp3",
        "box Error: The save was stopped: 2 of 4 files were saved. These are unchanged:\r\n"
        "d.mp3\r\ne.mp3"},
       3},
  };
  for (const Case& c : cases) {
    FakeSteps fake;
    fake.files["a.mp3"].title = "A";
    fake.files["c.mp3"].title = "C";
    fake.files["d.mp3"].title = "D";
    fake.files["e.mp3"];  // opens, but has no tag: it shows no other file's title
    fake.cancelled = {"c.mp3"};
    fake.unwritable = {"d.mp3", "e.mp3"};
    fake.together = c.end;
    fake.stopAfter = c.stopAfter;
    RunEditMode(Arguments(R"(p -edit " a.mp3 " "" b.mp3 c.mp3 d.mp3 e.mp3)"), texts, fake.Steps());
    std::vector<std::string> log = {"read a.mp3", "read b.mp3", "read c.mp3",
                                    "read d.mp3", "read e.mp3", readBox};
    log.insert(log.end(), c.log.begin(), c.log.end());
    EXPECT_EQ(fake.log, log) << int(c.end);
  }
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
            (std::vector<std::string>{"read " + cyrillic,
                                      "box Error: Couldn't read ID3 Tags of\r\n" + lost +
                                          "\r\nThe name holds a character that can't be read",
                                      "edit " + cyrillic + " [\xD0\x94]", "write " + cyrillic}));
  EXPECT_EQ(CollectSortFiles(Arguments("p -sort \"" + lost + "\" missing.mp3 \"" + cyrillic + "\""),
                             [&](const std::string& path) { return path == cyrillic; }),
            (std::vector<std::string>{lost, cyrillic}));
}

// Files read on several threads at once still reach the editor, and the box, in the order given,
// each with its own reading.
TEST(ReadersAtOnce, KeepTheFilesOrderAndTheirOwnReadings) {
  TextTable texts;
  FillDefaultTexts(texts);
  FakeSteps fake;
  std::vector<std::string> paths;
  std::string together = "together", box = "box Error: Couldn't read ID3 Tags of";
  for (int i = 0; i < 60; ++i) {
    paths.push_back(std::to_string(i) + ".mp3");
    if (i % 7 == 3) {
      box += "\r\n" + paths.back();
      continue;
    }
    fake.files[paths.back()].title = "T" + std::to_string(i);
    together += " " + paths.back() + " [T" + std::to_string(i) + "]";
  }
  EditRunSteps steps = fake.Steps();
  steps.readers = 4;
  steps.read = [&](const std::string& path, TagInfo& record) {  // the map is only read
    auto it = fake.files.find(path);
    if (it == fake.files.end()) return 0;
    record.title = it->second.title;
    return 1;
  };
  fake.together = EditorEnd::kCancelled;
  RunEditFiles(paths, texts, steps);
  EXPECT_EQ(fake.log, (std::vector<std::string>{box, together}));
}

// After "One by one", a file whose values are its own (read from its name) starts its editor with
// them, not with another file's.
TEST(OneByOne, EachFileStartsWithTheValuesOfItsOwn) {
  TextTable texts;
  FillDefaultTexts(texts);
  FakeSteps fake;
  fake.files["a.mp3"], fake.files["b.mp3"];
  fake.together = EditorEnd::kOneByOne;
  fake.ownValues = true;
  RunEditMode(Arguments("p -edit a.mp3 b.mp3"), texts, fake.Steps());
  EXPECT_EQ(fake.log,
            (std::vector<std::string>{"read a.mp3", "read b.mp3", "together a.mp3 [] b.mp3 []",
                                      "edit a.mp3 [] typed Own 0", "write a.mp3",
                                      "edit b.mp3 [] typed Own 1", "write b.mp3"}));
}

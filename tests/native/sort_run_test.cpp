#include "sorter/sort_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

namespace {
// A file list and file system that record what the run asked of them. Answers are taken in order;
// a box may add rows, as a hand-over while a box is open does.
struct FakeSorter {
  std::vector<std::string> rows;
  std::map<std::string, TagInfo> tagged;  // readable files; a missing entry cannot be read
  std::vector<bool> answers;
  std::map<size_t, std::string> addWhileBox;  // box number -> row that arrives while it is open
  std::map<size_t, std::string> addBetween;   // files done -> row that arrives after them
  std::string pattern = "T:\\%GENRE%\\%ARTIST%\\*.$";
  std::vector<std::string> log;
  size_t boxes = 0, done = 0;

  SortRunSteps Steps() {
    return {[this](const std::string& title, const std::string& text) {
              log.push_back("ask " + title + ": " + text);
              if (addWhileBox.count(boxes)) rows.push_back(addWhileBox[boxes]);
              return bool(answers.at(boxes++));
            },
            [this] {
              log.push_back("pattern");
              return pattern;
            },
            [this] { return rows.size(); }, [this](size_t i) { return rows.at(i); },
            [this](const std::string& path, TagInfo& tags) {
              auto it = tagged.find(path);
              if (it == tagged.end()) return 0;
              // A file without a tag leaves the record as it is, as TagLib reading does.
              if (!it->second.genre.empty()) tags = it->second;
              return 1;
            },
            [this](const std::string& folder) { log.push_back("folders " + folder); },
            [this](const std::string& source, const std::string& target) {
              log.push_back("copy " + source + " > " + target);
            },
            [this](const std::string& source, const std::string& target) {
              log.push_back("move " + source + " > " + target);
            },
            [this] {
              if (addBetween.count(++done)) rows.push_back(addBetween[done]);
            }};
  }
};

TagInfo Tagged(std::string genre, std::string artist) {
  TagInfo tags;
  tags.genre = std::move(genre);
  tags.artist = std::move(artist);
  return tags;
}

const TextTable& Texts() {
  static TextTable texts = [] {
    TextTable t;
    FillDefaultTexts(t);
    return t;
  }();
  return texts;
}
const std::string kQuestion = "ask Question: Should I delete the original files after copying?";
}  // namespace

TEST(SortRun, CopiesEveryRowAndClearsTheTagsBetweenFiles) {
  FakeSorter fake;
  fake.rows = {"S:\\a.mp3", "S:\\b.ogg", "S:\\c.flac"};
  fake.tagged = {{"S:\\a.mp3", Tagged("Rock", "Band")},
                 {"S:\\b.ogg", TagInfo{}},  // opens, but has no tag
                 {"S:\\c.flac", Tagged("Jazz", "AC/DC")}};
  fake.answers = {false};
  SortRun(Texts(), fake.Steps());
  EXPECT_EQ(fake.log, (std::vector<std::string>{
                          kQuestion, "pattern", "folders T:\\Rock\\Band\\",
                          "copy S:\\a.mp3 > T:\\Rock\\Band\\a.mp3", "folders T:\\",
                          "copy S:\\b.ogg > T:\\b.ogg", "folders T:\\Jazz\\AC/DC\\",
                          "copy S:\\c.flac > T:\\Jazz\\AC/DC\\c.flac"}));
}

TEST(SortRun, AsksFirstEvenForAnEmptyList) {
  FakeSorter fake;
  fake.answers = {true};
  SortRun(Texts(), fake.Steps());
  EXPECT_EQ(fake.log, (std::vector<std::string>{kQuestion, "pattern"}));
}

TEST(SortRun, UnreadableFilesAskWhetherToGoOn) {
  FakeSorter fake;
  fake.rows = {"S:\\bad1.mp3", "S:\\a.mp3", "S:\\bad2.mp3", "S:\\b.mp3"};
  fake.tagged = {{"S:\\a.mp3", Tagged("Rock", "")}, {"S:\\b.mp3", Tagged("Pop", "")}};
  fake.answers = {true, true, false};  // move; go on after bad1; stop at bad2
  SortRun(Texts(), fake.Steps());
  EXPECT_EQ(fake.log,
            (std::vector<std::string>{
                kQuestion, "pattern",
                "ask Error: Couldn't read ID3 Tags of\r\nS:\\bad1.mp3\r\nDo you want to continue?",
                "folders T:\\Rock\\", "move S:\\a.mp3 > T:\\Rock\\a.mp3",
                "ask Error: Couldn't read ID3 Tags of\r\nS:\\bad2.mp3\r\nDo you want to continue?"}));
}

TEST(SortRun, RowsArrivingDuringTheRunJoinIt) {
  FakeSorter fake;
  fake.rows = {"S:\\bad.mp3"};
  fake.tagged = {{"S:\\late.mp3", Tagged("Rock", "")}, {"S:\\later.mp3", Tagged("Pop", "")},
                 {"S:\\last.mp3", Tagged("Ska", "")}};
  fake.answers = {false, true};
  fake.addWhileBox = {{0, "S:\\late.mp3"}, {1, "S:\\later.mp3"}};
  fake.addBetween = {{3, "S:\\last.mp3"}};
  SortRun(Texts(), fake.Steps());
  ASSERT_EQ(fake.log.size(), 9u);
  EXPECT_EQ(fake.log[4], "copy S:\\late.mp3 > T:\\Rock\\late.mp3");
  EXPECT_EQ(fake.log[6], "copy S:\\later.mp3 > T:\\Pop\\later.mp3");
  EXPECT_EQ(fake.log[8], "copy S:\\last.mp3 > T:\\Ska\\last.mp3");
}

TEST(SortRun, ReadsThePatternOnceAfterTheQuestion) {
  FakeSorter fake;
  fake.rows = {"S:\\a.mp3", "S:\\b.mp3"};
  fake.tagged = {{"S:\\a.mp3", Tagged("Rock", "")}, {"S:\\b.mp3", Tagged("Pop", "")}};
  fake.answers = {false};
  SortRunSteps steps = fake.Steps();
  auto copy = steps.copy;
  steps.copy = [&](const std::string& source, const std::string& target) {
    fake.pattern = "changed";
    copy(source, target);
  };
  SortRun(Texts(), steps);
  EXPECT_EQ(fake.log.back(), "copy S:\\b.mp3 > T:\\Pop\\b.mp3");
  EXPECT_EQ(std::count(fake.log.begin(), fake.log.end(), "pattern"), 1);
}

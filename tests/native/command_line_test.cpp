#include "app/command_line.h"

#include <gtest/gtest.h>

#include "app/mode_runs.h"

using Words = std::vector<std::string>;

TEST(SplitCommandLine, QuotesSpacesAndTabs) {
  EXPECT_EQ(SplitCommandLine(R"("C:\Program Files\DA3Zur.exe" -edit "D:\My Music\a.mp3")"),
            (Words{R"(C:\Program Files\DA3Zur.exe)", "-edit", R"(D:\My Music\a.mp3)"}));
  // Only character 32 separates; a tab belongs to the argument.
  EXPECT_EQ(SplitCommandLine("prog  a\tb   c  "), (Words{"prog", "a\tb", "c"}));
  // An empty pair of quotes is an empty argument.
  EXPECT_EQ(SplitCommandLine(R"(prog "" x)"), (Words{"prog", "", "x"}));
  // A closing quote ends the argument; what follows starts the next one without a space.
  EXPECT_EQ(SplitCommandLine(R"(prog "a b"c d)"), (Words{"prog", "a b", "c", "d"}));
  // Quotes inside an unquoted argument are ordinary characters; an open quote runs to the end.
  EXPECT_EQ(SplitCommandLine(R"(prog a"b "c d)"), (Words{"prog", "a\"b", "c d"}));
  EXPECT_EQ(SplitCommandLine(""), Words{});
  EXPECT_EQ(SplitCommandLine("   "), Words{});
}

TEST(Arguments, CountsAfterTheProgramPathAndGivesEmptyBeyond) {
  Arguments args(R"("prog.exe" -sort "x")");
  ASSERT_EQ(args.Count(), 2u);
  EXPECT_EQ(args[0], "-sort");
  EXPECT_EQ(args[1], "x");
  EXPECT_EQ(args[2], "");
  EXPECT_EQ(Arguments("prog").Count(), 0u);
}

TEST(ChooseMode, OnlyTheExactSwitchesSelectAMode) {
  EXPECT_EQ(ChooseMode(Arguments("p")), Mode::Configure);
  EXPECT_EQ(ChooseMode(Arguments("p -edit")), Mode::Edit);
  EXPECT_EQ(ChooseMode(Arguments("p -sort a b")), Mode::Sort);
  // COM starts a local server with either spelling of the switch.
  for (const char* line : {"p -Embedding", "p /Embedding", "p -embedding", "\"p\" -EMBEDDING"})
    EXPECT_EQ(ChooseMode(Arguments(line)), Mode::Verb) << line;
  for (const char* line : {"p -Edit", "p edit", "p -SORT", R"(p "-edit ")", "p C:\\a.mp3", "p \"\"",
                           "p Embedding", "p -Embedding2", "p C:\\-Embedding"})
    EXPECT_EQ(ChooseMode(Arguments(line)), Mode::Configure) << line;
}

TEST(ModePaths, TrimsSpacesAndSkipsEmptyArguments) {
  Arguments args(R"(p -edit "  D:\a b.mp3  " "" "   " "	tab" last)");
  EXPECT_EQ(ModePaths(args), (Words{R"(D:\a b.mp3)", "\ttab", "last"}));
}

TEST(CollectSortFiles, KeepsExistingFilesInOrderWithDuplicates) {
  Arguments args(R"(p -sort missing.mp3 a.mp3 folder a.mp3 " ")");
  auto isFile = [](const std::string& path) { return path == "a.mp3"; };
  EXPECT_EQ(CollectSortFiles(args, isFile), (Words{"a.mp3", "a.mp3"}));
}

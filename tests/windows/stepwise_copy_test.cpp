// Copying and moving in steps on the real (Wine) file system: the calling thread is served while
// a large file goes, a stop leaves no target, and a move within one volume stays a rename.
#include "file_steps/stepwise_copy_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "base/file_system_win.h"
#include "base/wide_text_win.h"
#include "base/win_handles.h"
#include "tests/support/win_test_support.h"

using namespace testing_win;

namespace {
constexpr LONGLONG kLarge = 1LL << 30;  // 1 GiB: far longer to copy than one look at the window
}  // namespace

TEST(StepwiseCopy, TheCallerIsServedWhileALargeFileGoesAndAStopLeavesNoTarget) {
  TempDir dir;
  const std::string source = dir / "large.bin", target = dir / "copy.bin";
  MakeSparseFile(source, kLarge);
  int looks = 0;
  const std::uint32_t error =
      CopyInSteps(source, target, [&](bool moving, std::uint64_t done, std::uint64_t total) {
        EXPECT_FALSE(moving);
        EXPECT_LE(done, total);
        EXPECT_FALSE(FileExists(target)) << "a cut copy bears the target's name";
        return ++looks < 3;  // Cancel at the third look
      });
  EXPECT_EQ(error, kErrorRequestAborted);
  EXPECT_GE(looks, 3) << "the calling thread waited for the whole file";
  EXPECT_FALSE(FileExists(target)) << "the stopped copy left a target";
  EXPECT_EQ(FileSize(source).value_or(0), std::uint64_t(kLarge));
}

// A copy goes whole into its place, and tells the placed file's state as a fresh look gives it; a
// file at the target is replaced only by being set aside.
TEST(StepwiseCopy, ACopyGoesWholeAndReplacesOnlyWhenTold) {
  TempDir dir;
  const std::string source = dir / "a.bin", target = dir / "b.bin", aside = dir / "aside.bin";
  WriteFileBytes(source, std::string(300000, 'a'));
  auto goOn = [](bool, std::uint64_t, std::uint64_t) { return true; };
  std::optional<FileState> placed;
  EXPECT_EQ(CopyInSteps(source, target, goOn, "", &placed), 0u);
  EXPECT_EQ(ReadFileBytes(target), ReadFileBytes(source));
  EXPECT_EQ(placed, FileStateOf(target));
  EXPECT_FALSE(placed->identity.empty());
  WriteFileBytes(target, "older");
  EXPECT_TRUE(IsExistsError(CopyInSteps(source, target, goOn)));
  EXPECT_EQ(NamesIn(dir.path(), "*").value_or(std::vector<std::string>{}).size(), 2u)
      << "the refused copy was left beside the target";
  EXPECT_EQ(ReadFileBytes(target), "older");
  EXPECT_EQ(CopyInSteps(source, target, goOn, aside), 0u);
  EXPECT_EQ(ReadFileBytes(target), ReadFileBytes(source));
  EXPECT_EQ(ReadFileBytes(aside), "older");
  // A copy that fails on its source (held by another program) leaves the file at the target.
  {
    const FileHandle held(CreateFileW(Wide(source).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    WriteFileBytes(target, "older");
    EXPECT_NE(CopyInSteps(source, target, goOn, dir / "aside2.bin"), 0u);
    EXPECT_EQ(ReadFileBytes(target), "older");
  }
  // In a folder of 240 characters the hidden copy's path is beyond MAX_PATH, and still goes.
  const std::string deep = dir / std::string(240 - dir.path().size(), 'd') + "\\";
  ASSERT_TRUE(CreateDirectoryW(Wide(deep).c_str(), nullptr));
  WriteFileBytes(deep + "b.bin", "older");
  EXPECT_EQ(CopyInSteps(source, deep + "b.bin", goOn, deep + "a.bin"), 0u);
  EXPECT_EQ(ReadFileBytes(deep + "b.bin"), ReadFileBytes(source));
  EXPECT_EQ(NamesIn(deep, "*").value_or(std::vector<std::string>{}).size(), 2u);
  // Without a window to serve, the copy runs on the caller's thread.
  EXPECT_EQ(CopyInSteps(source, dir / "c.bin", {}), 0u);
  EXPECT_EQ(ReadFileBytes(dir / "c.bin"), ReadFileBytes(source));
}

TEST(StepwiseMove, WithinOneVolumeARenameThatNeverReplaces) {
  TempDir dir;
  const std::string source = dir / "a.bin", target = dir / "moved.bin", other = dir / "other.bin";
  WriteFileBytes(source, "source");
  WriteFileBytes(other, "other");
  // The sort reads its sources' identities from one listing of their folder: they are the ones a
  // handle gives, which undo later compares, and a rename keeps.
  CreateDirectoryW(Wide(dir / "sub").c_str(), nullptr);
  const auto listed = FileStatesIn(dir.path());
  ASSERT_TRUE(listed);
  ASSERT_EQ(listed->size(), 2u) << "a folder was listed as a file";
  for (const auto& [name, state] : *listed) {
    EXPECT_EQ(state, FileStateOf(dir / name)) << name;
    EXPECT_FALSE(state.identity.empty()) << name;
  }
  const FileState before = *FileStateOf(source);
  int looks = 0;
  auto count = [&](bool, std::uint64_t, std::uint64_t) { return ++looks > 0; };
  bool renamed = false;
  EXPECT_EQ(MoveInSteps(source, target, count, &renamed), 0u);
  EXPECT_TRUE(renamed);
  EXPECT_EQ(FileStateOf(target), before);
  EXPECT_EQ(looks, 0) << "a rename went through the copy";
  EXPECT_FALSE(FileExists(source));
  EXPECT_EQ(ReadFileBytes(target), "source");
  const std::uint32_t error = MoveInSteps(target, other, count);
  EXPECT_TRUE(error == kErrorFileExists || error == kErrorAlreadyExists) << error;
  EXPECT_EQ(ReadFileBytes(target), "source");
  EXPECT_EQ(ReadFileBytes(other), "other");
}

// A run makes a folder again when a file finds it gone, by this code.
TEST(StepwiseCopy, IntoAFolderThatIsNotThereNoPathIsFound) {
  TempDir dir;
  const std::string source = dir / "a.bin", target = dir / "gone\\a.bin";
  WriteFileBytes(source, "source");
  auto goOn = [](bool, std::uint64_t, std::uint64_t) { return true; };
  EXPECT_EQ(CopyInSteps(source, target, goOn), kErrorPathNotFound);
  EXPECT_EQ(MoveInSteps(source, target, goOn), kErrorPathNotFound);
  EXPECT_EQ(ReadFileBytes(source), "source");
}

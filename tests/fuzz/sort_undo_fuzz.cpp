// Random sort runs (copy and move, albums, collisions, files already in place), the user's own
// steps between them (make, edit, delete, rename a file, empty the Recycle Bin), faults (a path
// that fails, a record that can't be written, a process killed after any line of its record) and
// undo at any point, on a file system in memory. After every step: every content the user had is
// still in a file or in the Recycle Bin unless the user changed or emptied it away, and an undo
// that says it put everything back did.
#include <cstdint>
#include <cstdlib>
#include <set>

#include "tests/native/default_texts.h"
#include "tests/native/memory_disk.h"

namespace {
void Check(bool holds) {
  if (!holds) std::abort();
}

const char* const kFolders[] = {"C:\\In\\", "C:\\In\\Two\\", "C:\\Downloads\\", "D:\\Music\\a\\",
                                "D:\\Music\\b\\"};
const char* const kNames[] = {"a1.mp3", "a2.flac", "b1.ogg", "cover.jpg", "rip.log", "b2.mp3"};

class Play {
 public:
  Play(const uint8_t* data, size_t size) : data_(data), size_(size) {
    disk_.folders.insert({"C:\\In\\", "C:\\In\\Two\\", "C:\\Downloads\\"});
  }

  bool More() const { return at_ < size_; }
  uint8_t Next() { return at_ < size_ ? data_[at_++] : 0; }

  void Step() {
    switch (Next() % 7) {
      case 0: {
        const std::string path = std::string(kFolders[Next() % 5]) + kNames[Next() % 6];
        if (disk_.folders.count(FolderPart(path)) && !disk_.Exists(path)) {
          disk_.Make(path);
          owned_.insert(disk_.next - 1);
        }
        return;
      }
      case 1:
        if (auto* file = UsersFile()) {  // an edit: new content
          const std::uint64_t before = file->second.mark.lastWrite;
          file->second.mark.lastWrite = disk_.next++;
          owned_.insert(file->second.mark.lastWrite);
          if (!Held(before)) owned_.erase(before);
        }
        return;
      case 2:
        if (auto* file = UsersFile()) {
          disk_.bin.push_back(file->second);
          disk_.files.erase(file->first);
        }
        return;
      case 3:
        if (auto* file = UsersFile()) {
          const std::string to = FolderPart(file->first) + kNames[Next() % 6];
          disk_.Rename(file->first, to);
        }
        return;
      case 4:
        disk_.bin.clear();
        for (auto content = owned_.begin(); content != owned_.end();)
          content = Held(*content) ? std::next(content) : owned_.erase(content);
        return;
      case 5:
        return Sort();
      case 6:
        return Undo();
    }
  }

  // Every content the user has is in a file or in the Recycle Bin.
  void CheckNothingLost() const {
    for (std::uint64_t content : owned_) Check(Held(content));
  }

 private:
  bool Held(std::uint64_t content) const {
    for (const auto& [path, file] : disk_.files)
      if (file.mark.lastWrite == content) return true;
    for (const MemoryDisk::File& file : disk_.bin)
      if (file.mark.lastWrite == content) return true;
    return false;
  }

  // One of the user's files (not one the program set aside), or none.
  std::pair<const std::string, MemoryDisk::File>* UsersFile() {
    std::vector<std::pair<const std::string, MemoryDisk::File>*> users;
    for (auto& file : disk_.files)
      if (!IsSaveCopyName(file.first)) users.push_back(&file);
    if (users.empty()) return nullptr;
    return users[Next() % users.size()];
  }

  // A fault for the next run or undo: a failing path, a record that can't be written, or a kill.
  void Faults() {
    const uint8_t fault = Next();
    if (fault % 4 == 1 && !disk_.files.empty()) {
      auto file = disk_.files.begin();
      std::advance(file, Next() % disk_.files.size());
      disk_.failing[file->first] = 32;
    }
    if (fault % 4 == 2) disk_.killAfter = Next() % 16;
    if (fault % 8 == 3) disk_.recordFails = true;
  }
  void ClearFaults() {
    disk_.failing.clear();
    disk_.killAfter = SIZE_MAX;
    disk_.recordFails = false;
  }

  void Sort() {
    const uint8_t how = Next(), pick = Next();
    std::vector<std::string> rows;
    size_t i = 0;
    for (const auto& [path, file] : disk_.files)
      if (!IsSaveCopyName(path) && (pick >> (i++ % 8) & 1)) rows.push_back(path);
    Faults();
    try {
      disk_.Sort(Texts(), rows, how & 1, how & 2);
    } catch (const Killed&) {
    }
    ClearFaults();
  }

  void Undo() {
    Faults();
    const auto before = disk_.LastSort(disk_.records.size());
    try {
      const std::optional<UndoSummary> summary = disk_.UndoLast(Texts());
      if (summary) Check(summary->undone <= summary->files);
      // Said to have put back every file: each moved file is at its old place, and no copy as
      // the run made it is left.
      if (summary && before && !summary->endedEarly && summary->notUndone.empty())
        for (const RecordStep& step : before->second.steps) {
          if (!step.done || step.back) continue;
          if (step.kind == RecordStep::kMove) Check(disk_.files.count(step.from) > 0);
          if (step.kind == RecordStep::kCopy) {
            const std::optional<FileState> at = disk_.State(step.to);
            Check(!at || at->identity != step.done->identity);
          }
        }
    } catch (const Killed&) {
    }
    ClearFaults();
  }

  const uint8_t* data_;
  size_t size_, at_ = 0;
  MemoryDisk disk_;
  std::set<std::uint64_t> owned_;  // the contents the user has
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Play play(data, size);
  for (int steps = 0; play.More() && steps < 64; ++steps) {
    play.Step();
    play.CheckNothingLost();
  }
  return 0;
}

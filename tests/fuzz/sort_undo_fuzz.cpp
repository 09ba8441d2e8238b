// Random sort runs (copy and move, albums, collisions, files already in place, onto a FAT stick,
// emptied folders with their leftovers), the user's own steps between them (make, edit, delete,
// rename a file in any case, a save in the program's editor, a tagger that keeps the file's time,
// empty the Recycle Bin), faults (a path that fails, a record that can't be written, a process
// killed after any line of its record or between a copy's steps), undo at any point and a sort
// started while an undo goes, on a file system in memory, through the program's own sort, record,
// release and undo. After every step, every content the user had is where the user can find it:
// in a file at a place of its own, in a set-aside folder of a run whose undo can still put it
// back, or in the Recycle Bin by the user's consent (the disk's log says),
// unless the user changed or emptied it away; and an undo that says it put everything back did.
#include <cstdint>
#include <cstdlib>
#include <set>

#include "tests/native/default_texts.h"
#include "tests/native/memory_disk.h"

namespace {
void Check(bool holds) {
  if (!holds) std::abort();
}

const char* const kFolders[] = {"C:\\In\\",       "C:\\In\\Two\\",  "C:\\Downloads\\",
                                "D:\\Music\\a\\", "D:\\Music\\b\\", "F:\\Stick\\"};
const char* const kNames[] = {"a1.mp3",  "A2.flac", "b1.ogg",    "cover.jpg",
                              "rip.log", "b2.MP3",  "Thumbs.db", "desktop.ini"};
constexpr size_t kFolderCount = std::size(kFolders), kNameCount = std::size(kNames);

bool IsLeftover(const std::string& path) {
  const std::string name = Folded(FilePart(path));
  return name == "thumbs.db" || name == "desktop.ini";
}

class Play {
 public:
  Play(const uint8_t* data, size_t size) : data_(data), size_(size) {
    disk_.noBin = {'F'};  // a stick: no Recycle Bin
  }

  bool More() const { return at_ < size_; }
  uint8_t Next() { return at_ < size_ ? data_[at_++] : 0; }

  void Step() {
    switch (Next() % 10) {
      case 0: {
        const std::string path =
            std::string(kFolders[Next() % kFolderCount]) + kNames[Next() % kNameCount];
        if (!disk_.Exists(path)) {
          for (const FolderLevel& level : FolderChain(FolderPart(path)))
            disk_.folders.insert(level.prefix);
          disk_.Make(path);
          owned_.insert(disk_.next - 1);
        }
        return;
      }
      case 1:  // an edit by another program: new content and time
        if (auto* file = UsersFile()) {
          Changed(*file);
          file->second.mark.lastWrite = file->second.bytes;
        }
        return;
      case 2:
        if (auto* file = UsersFile()) {
          disk_.bin.push_back({file->second, true});
          disk_.files.erase(file->first);
        }
        return;
      case 3:
        if (auto* file = UsersFile()) {
          std::string to = FolderPart(file->first) + kNames[Next() % kNameCount];
          if (Next() & 1) to = Folded(file->first);  // the same name in other letters
          disk_.Rename(file->first, to);
        }
        return;
      case 4:
        disk_.bin.clear();
        Forget();
        return;
      case 5:
        return Sort();
      case 6:
        return Undo();
      case 7:  // a save in the program's editor: a new file in the old one's place
        if (auto* file = UsersFile()) {
          const std::uint64_t before = file->second.bytes;
          disk_.SavedByEditor(file->first);
          owned_.insert(disk_.next - 1);
          if (!Held(before)) owned_.erase(before);
        }
        return;
      case 8:  // a tagger that keeps the file's time: new content, the same mark
        if (auto* file = UsersFile()) Changed(*file);
        return;
      case 9:  // a sort started while an undo goes
        disk_.duringUndo = [this] {
          disk_.duringUndo = {};
          Sort();
        };
        Undo();
        disk_.duringUndo = {};
        return;
    }
  }

  // Every content the user has is where the user can find it.
  void CheckNothingLost() const {
    for (std::uint64_t content : owned_) Check(Held(content));
  }

 private:
  using Entry = std::pair<const std::string, MemoryDisk::File>;

  bool Held(std::uint64_t content) const {
    for (const auto& [path, file] : disk_.files) {
      if (file.bytes != content) continue;
      if (!IsSaveCopyName(path)) return true;
      // Set aside by a run whose undo has not ended: undo finds it.
      if (!SetAsideFolderOf(path).empty() && !disk_.undone.count(file.asideBy)) return true;
    }
    // In the Recycle Bin, or deleted for good on a drive without one, as the user agreed.
    for (const auto* gone : {&disk_.bin, &disk_.deleted})
      for (const MemoryDisk::Gone& file : *gone)
        if (file.file.bytes == content && file.agreed) return true;
    return false;
  }

  // The user emptied the Recycle Bin: what was only there is given up.
  void Forget() {
    for (auto content = owned_.begin(); content != owned_.end();)
      content = Held(*content) ? std::next(content) : owned_.erase(content);
  }

  // The file's content was changed by the user: the old one is given up where nothing else holds
  // it.
  void Changed(Entry& file) {
    const std::uint64_t before = file.second.bytes;
    file.second.bytes = disk_.next++;
    owned_.insert(file.second.bytes);
    if (!Held(before)) owned_.erase(before);
  }

  // One of the user's files (not one the program made or set aside), or none.
  Entry* UsersFile() {
    std::vector<Entry*> users;
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
    if (fault % 4 == 2) disk_.killAfter = Next() % 8;
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
      if (!IsSaveCopyName(path) && !IsLeftover(path) && (pick >> (i++ % 8) & 1))
        rows.push_back(path);
    disk_.replaceWithoutBin = how & 4;
    Faults();
    try {
      disk_.Sort(Texts(), rows, how & 1, how & 2, how & 8 ? "F:\\Music\\" : "D:\\Music\\");
    } catch (const Killed&) {
    }
    ClearFaults();
  }

  void Undo() {
    const bool alone = !disk_.duringUndo;  // no sort moves files meanwhile
    Faults();
    const auto before = disk_.LastSort(disk_.records.size());
    try {
      const std::optional<UndoSummary> summary = disk_.UndoLast(Texts());
      if (summary) Check(summary->undone <= summary->files);
      // Said to have put back every file: each moved file is at its old place, and no copy as
      // the run made it is left.
      if (alone && summary && before && !summary->endedEarly && summary->notUndone.empty())
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

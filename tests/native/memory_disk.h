// A file system in memory for the sort's file steps, its record, the release and undo, as hard as
// Windows: names compared in any case, files with identities, marks and bytes on three volumes (C:
// and D:, and F:, a FAT stick that gives a renamed file a new index), folders, a Recycle Bin,
// drives without one, the records of runs, and faults on demand (a path that fails, a record that
// can't be written, a process killed after a line or between a copy's steps). It keeps a log of
// what it deleted for good and what went to the Recycle Bin, and whether the user agreed to it.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/path_parts.h"
#include "file_steps/file_errors.h"
#include "file_steps/recorded_steps.h"
#include "file_steps/undo_run.h"
#include "sorter/album_files.h"
#include "sorter/empty_folders.h"
#include "sorter/sort_run.h"
#include "tags/save_copy_name.h"

// Thrown where the process is to end, as a forced end would.
struct Killed {};

inline std::string Folded(std::string name) {
  for (char& c : name)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return name;
}
// Names in any case are one name; the map keeps the spelling the file was given.
struct FoldedLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return Folded(a) < Folded(b);
  }
};

struct MemoryDisk {
  struct File {
    std::uint64_t identity;
    FileMark mark;              // a copy keeps it, an edit changes it, a tagger may keep it
    std::uint64_t bytes = 0;    // what the file holds
    size_t asideBy = SIZE_MAX;  // the run that set it aside, while it is set aside
    bool operator==(const File& other) const {
      return identity == other.identity && mark == other.mark && bytes == other.bytes;
    }
  };
  // A file that went to the Recycle Bin or was deleted for good, and whether the user agreed.
  struct Gone {
    File file;
    bool agreed;
  };
  std::map<std::string, File, FoldedLess> files;
  std::set<std::string, FoldedLess> folders = {"C:\\", "D:\\", "F:\\"};
  std::vector<Gone> bin, deleted;                // the Recycle Bin; what was deleted for good
  std::vector<std::string> records;              // the runs' records, oldest first
  std::vector<bool> agreedNoBin;                 // each run's answer to the question
  std::set<size_t> undoing;                      // runs whose undo changed the disk and did not end
  size_t undoNow = SIZE_MAX;                     // the run an undo holds now
  std::set<size_t> undone;                       // runs whose undo ended
  size_t writing = 0;                            // the record being written
  std::map<std::string, std::uint32_t> failing;  // a step on this path gives the code
  size_t killAfter = SIZE_MAX;     // record lines and copy steps still done before the end
  bool recordFails = false;        // the record can't be written
  bool killed = false;             // the process was ended: it writes nothing more
  std::set<char> noBin;            // drives without a Recycle Bin
  std::set<char> fat = {'F'};      // volumes that give a renamed file a new index
  bool replaceWithoutBin = false;  // the answer to the question about them
  bool identities = true;          // false: a volume that gives no file index (some shares)
  std::uint64_t next = 1;          // the next identity and content
  // Called once while an undo goes (after its first step), as a sort started meanwhile.
  std::function<void()> duringUndo;

  bool Exists(const std::string& path) const {
    return files.count(path) || folders.count(path) || folders.count(path + "\\");
  }
  static char Volume(const std::string& path) { return path.empty() ? 0 : path[0]; }
  // The code a step on either path gives, 0 when neither fails.
  std::uint32_t Fault(const std::string& path, const std::string& other = "") const {
    for (const std::string& p : {path, other})
      if (const auto fault = failing.find(p); fault != failing.end()) return fault->second;
    return 0;
  }
  static std::string SystemMessage(std::uint32_t error) {
    return "system " + std::to_string(error);
  }
  std::u16string Key(const std::string& name) const {
    const std::string folded = Folded(name);
    if (const auto file = files.find(name); file != files.end() && identities)
      return u"\1" + std::u16string(1, char16_t(file->second.identity));
    return {folded.begin(), folded.end()};
  }
  // A new file of the user's, with content of its own.
  void Make(const std::string& path, std::uint64_t size = 100) {
    files[path] = {next, {size, next}, next};
    ++next;
  }
  std::optional<FileState> State(const std::string& path) const {
    const auto file = files.find(path);
    if (file == files.end()) return std::nullopt;
    return FileState{identities ? std::to_string(file->second.identity) : "", file->second.mark};
  }
  // A point where the process may be ended: after a record's line, between a copy's steps.
  void Point() {
    if (killed) throw Killed{};
    if (killAfter == 0) {
      killed = true;
      throw Killed{};
    }
    --killAfter;
  }
  bool Append(const std::string& text) {
    if (recordFails || killed) return false;
    Point();
    records[writing] += text;
    return true;
  }
  std::uint32_t Rename(const std::string& from, const std::string& to) {
    if (!files.count(from)) return 2;
    if (Exists(to) && Folded(from) != Folded(to)) return kErrorAlreadyExists;
    if (!folders.count(FolderPart(to))) return kErrorPathNotFound;
    File file = files.at(from);
    // A copy on the other volume, or a FAT volume's new entry.
    if (Volume(from) != Volume(to) || fat.count(Volume(to))) file.identity = next++;
    file.asideBy = IsSaveCopyName(to) ? file.asideBy : SIZE_MAX;
    files.erase(from);
    files[to] = file;
    return 0;
  }
  // A file the program's editor saved: a new file in its place, of another identity; the records
  // whose moves left it there are told, as the editor tells them, but one an undo holds.
  void SavedByEditor(const std::string path) {
    const FileState before = *State(path);
    files.erase(path);
    Make(path);
    const FileState after = *State(path);
    for (size_t r = 0; r < records.size(); ++r) {
      const std::optional<RunRecord> record = ParseRecord(records[r]);
      if (!record || undoing.count(r)) continue;
      for (size_t n = 0; n < record->steps.size(); ++n)
        if (Folded(record->steps[n].to) == Folded(path) && record->steps[n].Left(before))
          records[r] += SavedLine(n, after);
    }
  }
  // The hidden copies a forced end left beside targets in the folder.
  void RemoveLeftoverCopies(const std::string& folder) {
    for (auto file = files.begin(); file != files.end();)
      file = FolderPart(file->first) == folder && SortCopyProcess(file->first) ? files.erase(file)
                                                                               : std::next(file);
  }
  // Copies source beside the target under a hidden name, then, given an aside path, moves the
  // file at the target there, then renames the copy into the target's name; a forced end may
  // come between any two.
  std::uint32_t CopyInSteps(const std::string& source, const std::string& target,
                            const std::string& aside) {
    if (std::uint32_t error = Fault(source, target)) return error;
    if (!files.count(source)) return 2;
    if (!folders.count(FolderPart(target))) return kErrorPathNotFound;
    if (aside.empty() && Exists(target)) return kErrorFileExists;
    const std::string copy = SortCopyName(target, 1, 0);
    files[copy] = {next++, files.at(source).mark, files.at(source).bytes};
    Point();
    if (!aside.empty() && Exists(target)) {
      if (std::uint32_t error = Rename(target, aside)) return files.erase(copy), error;
      files.at(aside).asideBy = writing;
      Point();
    }
    return Rename(copy, target);
  }
  // Where a set-aside file goes: to the Recycle Bin, or, on a drive without one, for good; agreed
  // to where no undo of its run is under way, and on a drive without a bin the run's question
  // got Yes.
  void Release(const std::string& path) {
    const File file = files.at(path);
    const size_t run = file.asideBy;
    const bool free = run < records.size() && !undoing.count(run);
    if (noBin.count(Volume(path)))
      deleted.push_back({file, free && agreedNoBin[run]});
    else
      bin.push_back({file, free});
    files.erase(path);
  }
  bool IsEmptyFolder(const std::string& folder) const {
    if (!folders.count(folder)) return false;
    for (const auto& [file, content] : files)
      if (Folded(file).starts_with(Folded(folder))) return false;
    for (const std::string& other : folders)
      if (Folded(other) != Folded(folder) && Folded(other).starts_with(Folded(folder)))
        return false;
    return true;
  }
  std::uint32_t RemoveFolder(const std::string& folder) {
    if (std::uint32_t error = Fault(folder)) return error;
    if (!IsEmptyFolder(folder)) return 145;  // not empty
    folders.erase(folder);
    return 0;
  }
  // The names of the files and folders right in a folder.
  std::vector<std::string> NamesIn(const std::string& folder) const {
    std::vector<std::string> names;
    for (const auto& [path, file] : files)
      if (Folded(FolderPart(path)) == Folded(folder)) names.push_back(FilePart(path));
    for (const std::string& other : folders)
      if (other.size() > folder.size() &&
          Folded(FolderPart(other.substr(0, other.size() - 1))) == Folded(folder))
        names.push_back(other.substr(folder.size(), other.size() - folder.size() - 1));
    return names;
  }

  PlainSteps Plain() {
    return {
        .mark = [this](const std::string& path) -> std::optional<FileMark> {
          if (auto state = State(path)) return state->mark;
          return std::nullopt;
        },
        .state = [this](const std::string& path) { return State(path); },
        .copy =
            [this](const std::string& source, const std::string& target, const std::string& aside,
                   std::optional<FileState>& placed) {
              const std::uint32_t error = CopyInSteps(source, target, aside);
              if (error == 0) placed = State(target);
              return error;
            },
        .move = [this](const std::string& source, const std::string& target, bool& renamed,
                       std::optional<FileState>& placed) -> std::uint32_t {
          if (std::uint32_t error = Fault(source, target)) return error;
          if (Volume(source) == Volume(target)) {
            const std::uint32_t error = Rename(source, target);
            renamed = error == 0;
            if (renamed && fat.count(Volume(target))) placed = State(target);
            return error;
          }
          if (std::uint32_t error = CopyInSteps(source, target, "")) return error;
          placed = State(target);
          files.erase(source);
          return 0;
        },
        .asideFolder = [this, made = std::make_shared<std::map<std::string, std::string>>()](
                           const std::string& folder) -> std::string {
          if (made->count(Folded(folder))) return made->at(Folded(folder));
          for (int attempt = 0; attempt < 100; ++attempt)
            if (std::string aside = folder + SetAsideFolderName(1, attempt); !Exists(aside)) {
              folders.insert(aside);
              return (*made)[Folded(folder)] = aside;
            }
          return "";
        },
        .rename = [this](const std::string& from, const std::string& to) -> std::uint32_t {
          if (std::uint32_t error = Fault(from, to)) return error;
          for (const FolderLevel& level : FolderChain(FolderPart(to)))
            if (level.prefix.size() > SetAsideFolderOf(to).size()) folders.insert(level.prefix);
          const std::uint32_t error = Rename(from, to);
          if (error == 0 && IsSaveCopyName(to)) files.at(to).asideBy = writing;
          return error;
        },
        .wholePath = [](const std::string& path) { return path; },
        .append = [this](const std::string& text) { return Append(text); },
        .firstDone =
            [this] {
              std::vector<EarlierRun> runs;
              for (size_t i = 0; i < writing; ++i)
                runs.push_back({ParseRecord(records[i]), i == undoNow});
              ReleaseEarlierRuns(runs, Releasing());
            },
    };
  }

  ReleaseFiles Releasing() {
    return {
        .state = [this](const std::string& path) { return State(path); },
        .release = [this](const std::string& path) { Release(path); },
        .moveFile = [this](const std::string& from,
                           const std::string& to) { return Rename(from, to); },
        .isEmptyFolder = [this](const std::string& folder) { return IsEmptyFolder(folder); },
        .removeFolder = [this](const std::string& folder) { return RemoveFolder(folder); },
    };
  }

  // The file steps of a sort run: every file's tags are its name's first letter as the artist.
  SortFileSteps Steps(std::shared_ptr<RecordedSteps> recorded) {
    return {
        .begin = {},
        .readTags = [this](const std::string& path, TagInfo& tags) -> int {
          if (!files.count(path) || IsAlbumFile(path)) return 0;
          tags.artist = Folded(FilePart(path).substr(0, 1));
          return 1;
        },
        .readNext = {},
        .targetState =
            [this](const std::string& source, const std::string& target) {
              if (!Exists(target)) return TargetState::kMissing;
              return Key(source) == Key(target) ? TargetState::kSameFile : TargetState::kExists;
            },
        .createFolders =
            [this, recorded](const std::string& folder) {
              if (folders.count(folder)) return RemoveLeftoverCopies(folder);
              for (const FolderLevel& level : FolderChain(folder))
                if (!folders.count(level.prefix))
                  recorded->Folder(RecordStep::kMakeFolder, level.prefix, [&] {
                    folders.insert(level.prefix);
                    return 0u;
                  });
            },
        .copyFile = [recorded](const std::string& source, const std::string& target,
                               bool replace) { return recorded->Copy(source, target, replace); },
        .moveFile = [recorded](
                        const std::string& source,
                        const std::string& target) { return recorded->Move(source, target); },
        .folderFiles =
            [this](const std::string& folder) {
              std::vector<std::string> in;
              for (const auto& [path, file] : files)
                if (Folded(FolderPart(path)) == Folded(folder)) in.push_back(path);
              return in;
            },
        .userFolder = [](const std::string& folder) { return Folded(folder) == "c:\\downloads\\"; },
        .hasRecycleBin = [this](const std::string& path) { return !noBin.count(Volume(path)); },
        .systemMessage = SystemMessage,
        .foldedName =
            [](const std::string& name) {
              const std::string folded = Folded(name);
              return std::u16string(folded.begin(), folded.end());
            },
        .fileKey = [this](const std::string& name) { return Key(name); },
    };
  }

  // Sorts the rows into <root><first letter>\, as the sorter does: copying, or moving when
  // `move` (then removing the folders it emptied), taking the albums' other files along when
  // `album`.
  SortSummary Sort(const TextTable& texts, const std::vector<std::string>& rows, bool move,
                   bool album = true, const std::string& root = "D:\\Music\\") {
    records.push_back(RecordHeader("now", move));
    agreedNoBin.push_back(false);
    const size_t before = writing;
    writing = records.size() - 1;
    killed = false;
    auto recorded = std::make_shared<RecordedSteps>(Plain());
    SortRunSteps steps{
        .ask = [this, move, &texts](const std::string&, const std::string& text,
                                    bool presetNo) -> bool {
          if (text == texts[kTextNoBinQuestion]) return agreedNoBin[writing] = replaceWithoutBin;
          return presetNo ? move : true;
        },
        .pattern =
            [&root] {
              return TargetPattern{root + "%ARTIST%\\*.$", root.size()};
            },
        .rowCount = [&] { return rows.size(); },
        .row = [&](size_t i) { return rows[i]; },
        .showOutcome = [](size_t, const RowOutcome&) {},
        .showAlbumOutcome = {},
        .takeAlbum = [album] { return album; },
        .goOn = [] { return true; },
        .files = Steps(recorded),
    };
    SortSummary summary = SortRun(texts, steps);
    std::vector<std::pair<std::string, std::string>> moved;
    for (const std::string& source : summary.moved) moved.emplace_back(source, FolderPart(source));
    const FolderRemoval removal{
        .walk = {.names = [this](const std::string& folder) { return NamesIn(folder); },
                 .folded = steps.files.foldedName,
                 .keep = steps.files.userFolder},
        .hasRecycleBin = steps.files.hasRecycleBin,
        .removeFolder = [this](const std::string& folder) { return RemoveFolder(folder); },
    };
    summary.foldersRemoved = RemoveEmptiedFolders(moved, summary.targets,
                                                  summary.mayDeleteWithoutBin, *recorded, removal);
    writing = before;
    return summary;
  }

  // Undoes the newest record that copied or moved a file and was not undone, as the
  // configuration window does; nothing when there is none.
  std::optional<UndoSummary> UndoLast(const TextTable& texts) {
    const auto last = LastSort(records.size());
    if (!last) return std::nullopt;
    writing = last->first;
    killed = false;
    undoNow = writing;
    struct Ends {
      size_t& now;
      ~Ends() { now = SIZE_MAX; }
    } ends{undoNow};
    if (!Append(UndoingLine("later")))
      return UndoSummary{.endedEarly = true, .unrecorded = true, .notUndone = {}};
    UndoSummary summary = UndoRun(texts, last->second, Undo());
    if (!summary.endedEarly) Append(UndoneLine("later"));
    if (!summary.endedEarly) {
      undoing.erase(last->first);
      undone.insert(last->first);
    }
    return summary;
  }

  // Among the records before `end`, the newest that copied or moved a file and was not undone,
  // and where it is.
  std::optional<std::pair<size_t, RunRecord>> LastSort(size_t end) const {
    for (size_t i = end; i-- > 0;)
      if (std::optional<RunRecord> record = ParseRecord(records[i]);
          record && record->Undoable() && !record->undone)
        return std::pair{i, std::move(*record)};
    return std::nullopt;
  }

  UndoFiles Undo() {
    return {
        .state = [this](const std::string& path) { return State(path); },
        .exists = [this](const std::string& path) { return Exists(path); },
        .isEmptyFolder = [this](const std::string& folder) { return IsEmptyFolder(folder); },
        .moveFile = [this](const std::string& from, const std::string& to) -> std::uint32_t {
          if (std::uint32_t error = Fault(from, to)) return error;
          const std::uint32_t error = Rename(from, to);
          if (error == 0) undoing.insert(undoNow);  // the undo changed the disk
          return error;
        },
        .discardCopy = [this](const std::string& copy,
                              const std::string& original) -> std::uint32_t {
          if (std::uint32_t error = Fault(copy)) return error;
          if (!files.count(copy)) return 2;
          if (!noBin.count(Volume(copy)))
            bin.push_back({files.at(copy), true});
          else if (!files.count(original) || files.at(original).bytes != files.at(copy).bytes)
            return kErrorCopyDiffers;
          else
            deleted.push_back({files.at(copy), true});  // its bytes are in the original
          files.erase(copy);
          undoing.insert(undoNow);
          return 0;
        },
        .makeFolder = [this](const std::string& folder) -> std::uint32_t {
          if (std::uint32_t error = Fault(folder)) return error;
          folders.insert(folder);
          return 0;
        },
        .removeFolder = [this](const std::string& folder) { return RemoveFolder(folder); },
        .removeLeftovers = [this](const std::string& folder) { RemoveLeftoverCopies(folder); },
        .markBack = [this](size_t n) { return Append(BackLine(n)); },
        .goOn =
            [this](size_t done, size_t) {
              if (done == 1 && duringUndo) {
                const size_t undoWriting = writing;
                const bool undoKilled = killed;
                duringUndo();
                writing = undoWriting;
                killed = undoKilled;
              }
              return true;
            },
        .systemMessage = SystemMessage,
    };
  }
};

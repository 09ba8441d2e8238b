// A file system in memory for the sort's file steps, its record and undo: files with identities
// and marks on two volumes (C: and D:), folders, a Recycle Bin, the records of runs, and faults on
// demand (a path that fails, a record that can't be written, a process killed after a line).
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
#include "sorter/sort_run.h"
#include "tags/save_copy_name.h"

// Thrown from a record's write when the process is to end there, as a forced end would.
struct Killed {};

struct MemoryDisk {
  struct File {
    std::uint64_t identity;
    FileMark mark;  // the last write stands for the content: a copy keeps it, an edit changes it
    bool operator==(const File&) const = default;
  };
  std::map<std::string, File> files;
  std::set<std::string> folders = {"C:\\", "D:\\"};
  std::vector<File> bin;                         // the Recycle Bin
  std::vector<std::string> records;              // the runs' records, oldest first
  size_t writing = 0;                            // the record being written
  std::map<std::string, std::uint32_t> failing;  // a step on this path gives the code
  size_t killAfter = SIZE_MAX;     // record lines still written before the process ends
  bool recordFails = false;        // the record can't be written
  bool killed = false;             // the process was ended: it writes nothing more
  std::set<char> noBin;            // drives without a Recycle Bin
  bool replaceWithoutBin = false;  // the answer to the question about them
  bool identities = true;          // false: a volume that gives no file index (some shares)
  std::uint64_t next = 1;          // the next identity and content

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
  static std::u16string Key(const std::string& name) { return {name.begin(), name.end()}; }
  // A new file of the user's, with content of its own.
  void Make(const std::string& path, std::uint64_t size = 100) {
    files[path] = {next, {size, next}};
    ++next;
  }
  std::optional<FileState> State(const std::string& path) const {
    const auto file = files.find(path);
    if (file == files.end()) return std::nullopt;
    return FileState{identities ? std::to_string(file->second.identity) : "", file->second.mark};
  }
  bool Append(const std::string& text) {
    if (recordFails || killed) return false;
    if (killAfter == 0) {
      killed = true;
      throw Killed{};
    }
    --killAfter;
    records[writing] += text;
    return true;
  }
  std::uint32_t Rename(const std::string& from, const std::string& to) {
    if (!files.count(from)) return 2;
    if (Exists(to)) return kErrorAlreadyExists;
    if (!folders.count(FolderPart(to))) return kErrorPathNotFound;
    File file = files.at(from);
    if (Volume(from) != Volume(to)) file.identity = next++;  // a copy on the other volume
    files.erase(from);
    files[to] = file;
    return 0;
  }

  PlainSteps Plain() {
    return {
        .mark = [this](const std::string& path) -> std::optional<FileMark> {
          if (auto state = State(path)) return state->mark;
          return std::nullopt;
        },
        .state = [this](const std::string& path) { return State(path); },
        .copy = [this](const std::string& source, const std::string& target,
                       const std::string& aside, std::optional<FileState>&) -> std::uint32_t {
          if (std::uint32_t error = Fault(source, target)) return error;
          if (!files.count(source)) return 2;
          if (!folders.count(FolderPart(target))) return kErrorPathNotFound;
          if (aside.empty() && Exists(target)) return kErrorFileExists;
          if (!aside.empty() && Exists(target))
            if (std::uint32_t error = Rename(target, aside)) return error;
          files[target] = {next++, files.at(source).mark};
          return 0;
        },
        .move = [this](const std::string& source, const std::string& target, bool&,
                       std::optional<FileState>& placed) -> std::uint32_t {
          if (std::uint32_t error = Fault(source, target)) return error;
          const std::uint32_t error = Rename(source, target);
          if (error == 0) placed = State(target);
          return error;
        },
        .asideName = [this](const std::string& target) -> std::string {
          for (int attempt = 0; attempt < 100; ++attempt)
            if (std::string name = SetAsideName(target, 1, attempt); !Exists(name)) return name;
          return "";
        },
        .wholePath = [](const std::string& path) { return path; },
        .append = [this](const std::string& text) { return Append(text); },
        .firstDone =
            [this] {
              // Every earlier record gives up the files it set aside, but one that an undo left
              // cut short.
              for (size_t i = 0; i + 1 < records.size(); ++i) {
                const std::optional<RunRecord> record = ParseRecord(records[i]);
                if (!record || record->UndoCutShort()) continue;
                for (const std::string& path : SetAsideToRelease(
                         *record, [this](const std::string& p) { return State(p); })) {
                  bin.push_back(files.at(path));
                  files.erase(path);
                }
              }
            },
    };
  }

  // The file steps of a sort run: every file's tags are its name's first letter as the artist.
  SortFileSteps Steps(std::shared_ptr<RecordedSteps> recorded) {
    return {
        .begin = {},
        .readTags = [this](const std::string& path, TagInfo& tags) -> int {
          if (!files.count(path) || IsAlbumFile(path)) return 0;
          tags.artist = FilePart(path).substr(0, 1);
          return 1;
        },
        .readNext = {},
        .targetState =
            [this](const std::string& source, const std::string& target) {
              if (!Exists(target)) return TargetState::kMissing;
              return source == target ? TargetState::kSameFile : TargetState::kExists;
            },
        .createFolders =
            [this, recorded](const std::string& folder) {
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
                if (FolderPart(path) == folder) in.push_back(path);
              return in;
            },
        .userFolder = [](const std::string& folder) { return folder == "C:\\Downloads\\"; },
        .hasRecycleBin = [this](const std::string& path) { return !noBin.count(Volume(path)); },
        .systemMessage = SystemMessage,
        .foldedName = Key,
        .fileKey = Key,
    };
  }

  // Sorts the rows into D:\Music\<first letter>\, as the sorter does: copying, or moving when
  // `move`, taking the albums' other files along when `album`.
  SortSummary Sort(const TextTable& texts, const std::vector<std::string>& rows, bool move,
                   bool album = true) {
    records.push_back(RecordHeader("now", move));
    writing = records.size() - 1;
    killed = false;
    auto recorded = std::make_shared<RecordedSteps>(Plain());
    SortRunSteps steps{
        .ask =
            [this, move, &texts](const std::string&, const std::string& text, bool presetNo) {
              if (text == texts[kTextNoBinQuestion]) return replaceWithoutBin;
              return presetNo ? move : true;
            },
        .pattern =
            [] {
              return TargetPattern{"D:\\Music\\%ARTIST%\\*.$", 9};
            },
        .rowCount = [&] { return rows.size(); },
        .row = [&](size_t i) { return rows[i]; },
        .showOutcome = [](size_t, const RowOutcome&) {},
        .showAlbumOutcome = {},
        .takeAlbum = [album] { return album; },
        .goOn = [] { return true; },
        .files = Steps(recorded),
    };
    return SortRun(texts, steps);
  }

  // Undoes the newest record that copied or moved a file and was not undone, as the
  // configuration window does; nothing when there is none.
  std::optional<UndoSummary> UndoLast(const TextTable& texts) {
    const auto last = LastSort(records.size());
    if (!last) return std::nullopt;
    writing = last->first;
    killed = false;
    UndoSummary summary = UndoRun(texts, last->second, Undo());
    if (!summary.endedEarly) Append(UndoneLine("later"));
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
        .isEmptyFolder =
            [this](const std::string& folder) {
              if (!folders.count(folder)) return false;
              for (const auto& [file, content] : files)
                if (file.starts_with(folder)) return false;
              for (const std::string& other : folders)
                if (other != folder && other.starts_with(folder)) return false;
              return true;
            },
        .moveFile = [this](const std::string& from, const std::string& to) -> std::uint32_t {
          if (std::uint32_t error = Fault(from, to)) return error;
          return Rename(from, to);
        },
        .discardCopy = [this](const std::string& copy,
                              const std::string& original) -> std::uint32_t {
          if (std::uint32_t error = Fault(copy)) return error;
          if (!files.count(copy)) return 2;
          if (!noBin.count(Volume(copy)))
            bin.push_back(files.at(copy));
          else if (!files.count(original) || files.at(original).mark != files.at(copy).mark)
            return kErrorCopyDiffers;  // the content (the last write) is what the bytes are
          files.erase(copy);
          return 0;
        },
        .makeFolder = [this](const std::string& folder) -> std::uint32_t {
          if (std::uint32_t error = Fault(folder)) return error;
          folders.insert(folder);
          return 0;
        },
        .removeFolder = [this](const std::string& folder) -> std::uint32_t {
          if (std::uint32_t error = Fault(folder)) return error;
          folders.erase(folder);
          return 0;
        },
        .removeLeftovers = [](const std::string&) {},
        .markBack = [this](size_t n) { return Append(BackLine(n)); },
        .goOn = {},
        .systemMessage = SystemMessage,
    };
  }
};

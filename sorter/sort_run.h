// The sort run over the sorter window's file list, through the steps the window and the file
// system provide, and what it tells the user afterwards.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "file_steps/file_errors.h"
#include "settings/text_table.h"
#include "sorter/target_path.h"
#include "tags/tag_info.h"

// What is at a file's target before it is placed there.
enum class TargetState { kMissing, kExists, kSameFile };

// What became of one row.
struct RowOutcome {
  enum Kind { kCopied, kMoved, kReplaced, kInPlace, kNotPlaced, kSkipped } kind;
  std::string reason;  // why a file was not placed or was skipped
  bool placed() const { return kind != kNotPlaced && kind != kSkipped; }
};

// What the run asks of the file system.
struct SortFileSteps {
  // Told whether the run moves (true) or copies, once the user has said; may be empty.
  std::function<void(bool move)> begin;
  std::function<int(const std::string& path, TagInfo& tags)> readTags;  // 1: the file opened
  // Told the file whose tags readTags will be asked for next, while the file before it is placed,
  // so that it may read them meanwhile; may be empty.
  std::function<void(const std::string& path)> readNext;
  std::function<TargetState(const std::string& source, const std::string& target)> targetState;
  std::function<void(const std::string& folder)> createFolders;
  // Copy replaces an existing target only when told to; move never does. Both give 0 or the
  // system's error code.
  std::function<std::uint32_t(const std::string& source, const std::string& target, bool replace)>
      copyFile;
  std::function<std::uint32_t(const std::string& source, const std::string& target)> moveFile;
  // The files (not folders) in a folder, as whole paths; asked only when albums go along.
  std::function<std::vector<std::string>(const std::string& folder)> folderFiles;
  // Whether a folder is one the system names for the user, whose files never go along with an
  // album; may be empty.
  std::function<bool(const std::string& folder)> userFolder;
  // Whether the drive of a path has a Recycle Bin, for the file a copy replaces there; may be
  // empty: every drive has one.
  std::function<bool(const std::string& path)> hasRecycleBin;
  std::function<std::string(std::uint32_t error)> systemMessage;
  // A name as the file system compares it: every script's capitals and small letters alike.
  std::function<std::u16string(const std::string& name)> foldedName;
  // What tells one file from another, however its name is spelt (a mapped drive or its network
  // name, a short name): the file's identity on its volume where the name holds a file, else the
  // folded whole name. Asked only where a file stands in a target's way.
  std::function<std::u16string(const std::string& name)> fileKey;
};

// What the run asks of the window, and the file system's steps.
struct SortRunSteps {
  // A Yes/No box; true for Yes. presetNo makes No the button that Enter presses.
  std::function<bool(const std::string& title, const std::string& text, bool presetNo)> ask;
  std::function<TargetPattern()> pattern;  // the pattern field's text and its literal folder
  std::function<size_t()> rowCount;        // the file list's current number of rows
  std::function<std::string(size_t)> row;  // the text of one row
  std::function<void(size_t row, const RowOutcome& outcome)> showOutcome;
  // What became of an album file that went along without being a row; may be empty.
  std::function<void(const std::string& file, const RowOutcome& outcome)> showAlbumOutcome;
  // Whether the album's other files go along (the window's check box); may be empty: they don't.
  std::function<bool()> takeAlbum;
  // Called after each row: lets the window handle what is waiting (paint, hand-overs, Cancel);
  // false ends the run.
  std::function<bool()> goOn;
  SortFileSteps files;
};

struct SortSummary {
  size_t rows = 0;          // rows in the list when the run ended, reached or not
  size_t placed = 0;        // rows whose file is at its target now
  bool endedEarly = false;  // Cancel, or No in an error box
  struct NotPlaced {
    std::string source, reason;
  };
  std::vector<NotPlaced> notPlaced;  // in row order
  std::vector<std::string> moved;    // the sources of the files moved, in row order
  std::vector<std::string> targets;  // where the files placed are now
  size_t foldersRemoved = 0;         // source folders the move emptied and removed afterwards
  size_t albumFiles = 0;             // files that went with their album without being rows
  // Yes to the question whether files on a drive without a Recycle Bin may be set aside, to be
  // deleted for good once another sort runs.
  bool mayDeleteWithoutBin = false;
};

// Asks whether the originals are to be deleted (Yes: move, No: copy; No, the safe answer, is what
// Enter gives), reads the pattern once, then
// places every row's file, the row count read again before each row so that rows added meanwhile
// join the run. An unreadable file gets a Yes/No box: Yes skips it, No ends the run. A name that
// holds an unpaired surrogate is not placed, with that reason, and no box. Each file's
// tags are read into a cleared record, so a file without a tag never takes the previous one's.
// Every row reached gets its outcome shown. When albums go along, a folder whose tracks all went
// to one folder sends its other files (IsAlbumFile) there too, by the same copy or move, after the
// rows; a row of such a file is not asked about, and is placed with its album or says why not.
SortSummary SortRun(const TextTable& texts, const SortRunSteps& steps);

// True when a target path is longer than Windows lets the program create: 259 UTF-16 units for
// the file, 247 for its folder (which must leave room for an 8.3 name).
bool TargetTooLong(const std::string& target);

// The word a row shows for its outcome, with the reason where there is one.
std::string OutcomeText(const TextTable& texts, const RowOutcome& outcome);

// The end-of-run box's text, or nothing when every file was placed and the run was not ended
// early: how many files of how many were placed, then the first files that were not, each with
// its reason, and how many more there are; then how many emptied folders went, and, when a file
// was placed, that the run can be undone.
std::string SortReportText(const TextTable& texts, const SortSummary& summary, size_t listed = 10);

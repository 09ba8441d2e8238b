// The record a sort run keeps of what it does, so that the run can be taken back. Each step's
// line is written before the step is tried; once the step has succeeded, a done line says so,
// with the file as it then stands at the step's target. Undo acts only on steps that were done,
// and marks each step it took back with a back line. The record is UTF-8 text with CR LF line
// ends, its fields separated by a tab, which no Windows name can hold:
//
//   DA3Zur sort record 2
//   started <TAB> 2026-12-09 14:03 <TAB> move
//   folder+ <TAB> D:\Music\Rock\ (a folder ends in its backslash)
//   done <TAB> 0 (step 0, the first step line, was done)
//   move <TAB> 4811234 <TAB> 133790000000000000 <TAB> C:\In\a.mp3 <TAB> D:\Music\Rock\a.mp3
//        <TAB> 2882400018:281474976715113 (the source's identity, empty where it has none)
//   done <TAB> 1 <TAB> 2882400018:281474976715113 <TAB> 4811234 <TAB> 133790000000000000
//   failed <TAB> 2 (step 2 was tried and did not happen)
//   saved <TAB> 1 <TAB> 2882400018:281474976715900 <TAB> 4811300 <TAB> 133790000100000000
//        (the program's editor saved the file step 1 left, which is now this file)
//   folder- <TAB> C:\In\ (made again by undo)
//   undoing <TAB> 2026-12-09 14:09 (an undo began)
//   back <TAB> 1 (undo took step 1 back)
//   undone <TAB> 2026-12-09 14:10
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_mark.h"

struct RecordStep {
  enum Kind { kMove, kCopy, kSetAside, kMakeFolder, kRemoveFolder } kind;
  // kMove, kCopy: the source and the target. kSetAside: the file a copy replaces, or an emptied
  // folder's leftover, and where it is kept in the run's set-aside folder (earlier versions: under
  // a hidden name beside it). Folders: the folder in `from`, `to` empty.
  std::string from{}, to{};
  // kMove, kCopy: the source as it was before the step; kSetAside: the file set aside; folders:
  // zero.
  FileMark mark{};
  // Set by the step's done line: the step succeeded, and left this file at `to` (folders: an
  // empty state).
  std::optional<FileState> done{};
  bool back = false;  // undo took the step back, or found it needed nothing
  // kMove, kCopy: the source's identity before the step, where it has one.
  std::string identity{};
  // kMove, kCopy: the step was tried and did not happen. A file step with neither this nor a done
  // line was cut short by the end of the process.
  bool failed = false;
  // kMove, kCopy: the file the step left, as the program's editor last saved it (a save replaces
  // the file with a new one, of another identity).
  std::optional<FileState> saved{};
  bool operator==(const RecordStep&) const = default;
  bool IsFileStep() const { return kind == kMove || kind == kCopy; }
  // A copy or move cut short by the end of the process: tried, and neither done nor failed.
  bool CutShort() const { return IsFileStep() && !done && !failed; }
  // Whether the step is a move, not taken back, whose file at its target was `before` when last
  // known: a save of that file by the program's editor is told to it (SavedLine).
  bool Left(const FileState& before) const {
    return kind == kMove && done && !back && (saved ? *saved : *done).identity == before.identity;
  }
};

struct RunRecord {
  std::string started;  // local date and time text as written, e.g. "2026-12-09 14:03"
  bool move = false;    // the run moved (true) or copied
  std::vector<RecordStep> steps;
  bool undone = false;     // an "undone" line follows the steps
  bool undoBegun = false;  // an "undoing" line: an undo began, and may have changed the disk
  // How many files the run copied or moved: a file tried again (a copy first refused, then
  // replacing) counts once. Steps that were never done count for nothing.
  size_t Files() const;
  // Whether a copy or move of the run not taken back yet was cut short. Only the disk can say
  // whether it placed its file (PlacedByStep).
  bool HasCutShortSteps() const;
  // Whether an undo was cut short: it began (or took steps back) and did not mark the run undone.
  bool UndoCutShort() const;
  // Whether there is anything to undo: a file copied or moved, or perhaps so.
  bool Undoable() const { return Files() > 0 || HasCutShortSteps(); }
};

// The first lines of a record: what it is, when the run started and whether it moved.
std::string RecordHeader(std::string_view started, bool move);
// One step's line with its CR LF. The paths hold no tab, CR or LF (no Windows name does).
std::string RecordLine(const RecordStep& step);
// The line that says the step numbered n (counting step lines from 0) was done and left `state`.
std::string DoneLine(size_t n, const FileState& state);
// The line that says the file step numbered n was tried and did not happen.
std::string FailedLine(size_t n);
// The line that says the file the step numbered n left was saved by the program's editor, and is
// `state` now.
std::string SavedLine(size_t n, const FileState& state);
// The line that says undo took back the step numbered n.
std::string BackLine(size_t n);
// The line that says the run was taken back, and when.
std::string UndoneLine(std::string_view when);
// The line an undo writes before its first step.
std::string UndoingLine(std::string_view when);

// The record in the text; nothing when the text does not begin with a record's header (after a
// byte-order mark, should an editor have added one). A line that can't be read is skipped, as is
// a done or back line that names no step before it, and a step's second done line: the text after
// the last line end is one a run was killed while writing. Lines may end in CR LF or in LF alone,
// as an editor may save them.
std::optional<RunRecord> ParseRecord(std::string_view text);

// The name of a record file: "sort-<n>.txt", n being the run's number, one more than the
// newest's, so that records are ordered whatever the clock says.
std::string RecordName(std::uint64_t n);
// The number the next record takes after the records among the names.
std::uint64_t NextRecordNumber(const std::vector<std::string>& names);
// Of the file names given, those of records beyond the newest `keep`, oldest first. Names that
// are not a record's are never among them.
std::vector<std::string> RecordsToRemove(const std::vector<std::string>& names, size_t keep);
// The record names among those given, newest first.
std::vector<std::string> RecordsNewestFirst(const std::vector<std::string>& names);

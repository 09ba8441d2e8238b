// The record a sort run keeps of what it does, so that the run can be taken back. Each step's
// line is written, and flushed, before the step is done: a run cut short leaves a record of
// everything it did, and at most one step more. The record is UTF-8 text with CR LF line ends,
// one line per step and its fields separated by a tab, which no Windows name can hold:
//
//   DA3Zur sort record 1
//   started <TAB> 2026-12-09 14:03 <TAB> move
//   folder+ <TAB> D:\Music\Rock\ (a folder ends in its backslash)
//   move <TAB> 4811234 <TAB> 133790000000000000 <TAB> C:\In\a.mp3 <TAB> D:\Music\Rock\a.mp3
//   folder- <TAB> C:\In\ (made again by undo)
//   undone <TAB> 2026-12-09 14:10
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What tells a file from the one that was there before: its size and last write time.
struct FileMark {
  std::uint64_t size = 0, lastWrite = 0;
  bool operator==(const FileMark&) const = default;
};

struct RecordStep {
  enum Kind { kMove, kCopy, kSetAside, kMakeFolder, kRemoveFolder } kind;
  // kMove, kCopy: the source and the target. kSetAside: the file a copy replaces and the hidden
  // name it was moved to. Folders: the folder in `from`, `to` empty.
  std::string from, to;
  // kMove, kCopy: the file as it will be at `to`; kSetAside: the set-aside file; folders: zero.
  FileMark mark;
  bool operator==(const RecordStep&) const = default;
};

struct RunRecord {
  std::string started;  // local date and time text as written, e.g. "2026-12-09 14:03"
  bool move = false;    // the run moved (true) or copied
  std::vector<RecordStep> steps;
  bool undone = false;  // an "undone" line follows the steps
  // How many files the run copied or moved, or tried to: a file tried again (a copy first refused,
  // then replacing; a move into a folder made again) has a step per try and counts once.
  size_t Files() const;
};

// The first lines of a record: what it is, when the run started and whether it moved.
std::string RecordHeader(std::string_view started, bool move);
// One step's line with its CR LF. The paths hold no tab, CR or LF (no Windows name does).
std::string RecordLine(const RecordStep& step);
// The line that says the run was taken back, and when.
std::string UndoneLine(std::string_view when);

// The record in the text; nothing when the text does not begin with a record's header (after a
// byte-order mark, should an editor have added one). A line that can't be read is skipped: the
// text after the last line end is one a run was killed while writing. Lines may end in CR LF or
// in LF alone, as an editor may save them.
std::optional<RunRecord> ParseRecord(std::string_view text);

// The name of a record file: "sort-<stamp>-<n>.txt", the stamp being "YYYYMMDD-HHMMSS" and n
// telling apart the records begun in one second.
std::string RecordName(std::string_view stamp, unsigned n);
// Of the file names given, those of records beyond the newest `keep`, oldest first. Names that
// are not a record's are never among them.
std::vector<std::string> RecordsToRemove(std::vector<std::string> names, size_t keep);
// The newest record's name among those given; nothing when none is a record's.
std::optional<std::string> NewestRecord(const std::vector<std::string>& names);

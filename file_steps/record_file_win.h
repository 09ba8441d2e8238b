// The records of sort runs in the settings folder: the running one written step by step, each
// step on the disk before it is tried and its done line after it succeeded, and the newest read
// back for undo.
#pragma once
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/win_handles.h"
#include "file_steps/sort_record.h"

// How many runs' records are kept; undo takes them back one after the other, newest first.
inline constexpr size_t kRecordsKept = 5;

// The record of the run under way. Nothing is written until the first step.
class RecordWriter {
 public:
  RecordWriter() = default;
  ~RecordWriter();
  RecordWriter(const RecordWriter&) = delete;
  RecordWriter& operator=(const RecordWriter&) = delete;

  // The run's mode, known once the user has answered the delete question.
  void Begin(bool move);
  // Adds lines to the record, opening it first; false when it can't be opened or written (no
  // settings folder, a full disk): the run then tries no further step.
  bool Append(const std::string& text);
  // After the run's first copy or move: the files that earlier runs set aside go to the Recycle
  // Bin, their undo being over, but for a run an undo holds or left cut short; then the records
  // beyond the newest kRecordsKept go, but for those.
  void FirstDone();

 private:
  bool Open();

  static constexpr DWORD kFlushEveryMs = 100;
  FileHandle file_;
  DWORD lastFlush_ = 0;
  bool move_ = false, opened_ = false;
  std::string path_;  // this run's record
};

// A record of a run, and where it is.
struct LastSort {
  std::string path;
  RunRecord record;
};
// The records of the runs that copied or moved a file, newest first.
std::vector<LastSort> ReadSorts();

// The record at the path, opened to add to it: the file's text, and the handle. Fails with
// ERROR_SHARING_VIOLATION while a sorter still writes it.
struct OpenRecord {
  FileHandle file;
  std::optional<RunRecord> record;
  DWORD error = 0;
};
OpenRecord OpenRecordToAdd(const std::string& path);
// Adds text to an open record after its last complete line, and has it on the disk itself when
// told to (the system keeps it for a forced end of the process either way); false when it could
// not be written.
bool AddToRecord(HANDLE file, const std::string& text, bool flush = true);

// Sends a file to the Recycle Bin of its drive. For a file beyond its size the shell asks first,
// as Explorer does, and the answer No keeps the file; on a drive without one the file is deleted.
// The shell's answer, which need not say what happened: ask the disk.
std::uint32_t ToRecycleBin(const std::string& path);

// The files kept records' runs moved into place, so that a save by the program's editor, which
// replaces a file with a new one of another identity, can tell those records: their undo then
// still takes the file back. The records are read once, at the first question.
class PlacedFiles {
 public:
  // Whether a kept record's run moved a file to the path, as the path is spelt in the record.
  bool Holds(const std::string& path);
  // The file at the path was saved: it was `before` and is `after` now. Each record whose step left
  // `before` there (or told of it in an earlier line) gets a line that says so; a file the user
  // put there instead is none of the run's, and its records hear nothing.
  void Saved(const std::string& path, const FileState& before, const FileState& after);

 private:
  void Read();
  bool read_ = false;
  std::vector<LastSort> records_;
  // By the folded target path: the record (its place in records_) and the step.
  std::unordered_map<std::u16string, std::vector<std::pair<size_t, size_t>>> moved_;
};

// The local time as a record shows it.
std::string RecordTime();

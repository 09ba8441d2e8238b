// The records of sort runs in the settings folder: the running one written step by step, each
// step on the disk before it is done, and the newest read back for undo.
#pragma once
#include <optional>
#include <string>

#include "base/win_handles.h"
#include "sorter/sort_record.h"

// How many runs' records are kept; undo takes back the newest.
inline constexpr size_t kRecordsKept = 5;

// The record of the run under way. Nothing is written until the first step: a run that placed
// nothing leaves no record. Without a settings folder to write in, the run keeps none.
class RecordWriter {
 public:
  RecordWriter() = default;
  ~RecordWriter();
  RecordWriter(const RecordWriter&) = delete;
  RecordWriter& operator=(const RecordWriter&) = delete;

  // The run's mode, known once the user has answered the delete question.
  void Begin(bool move);
  // Writes the step and has it on the disk before the caller does it.
  void Write(const RecordStep& step);

 private:
  void Open();

  static constexpr DWORD kFlushEveryMs = 100;
  FileHandle file_;
  DWORD lastFlush_ = 0;
  bool move_ = false, opened_ = false;
};

// The newest record of a run, and where it is; nothing when there is none.
struct LastSort {
  std::string path;
  RunRecord record;
};
std::optional<LastSort> ReadLastSort();

// The size and last-write time of a file as a record keeps them; nothing where no file is.
std::optional<FileMark> FileMarkOf(const std::string& path);

// Adds to the record that its run was undone, so it is not undone twice.
void MarkUndone(const std::string& path);

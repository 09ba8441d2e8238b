// Taking a sort run back from its record, through the file system's steps: the record read
// backward, each step undone only where the file system still shows what the run left, so that
// nothing made or changed since the run is ever replaced or deleted.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/text_table.h"
#include "sorter/sort_record.h"

// What undoing asks of the file system.
struct UndoFiles {
  // A file's size and last write; nothing when no file is there.
  std::function<std::optional<FileMark>(const std::string& path)> mark;
  std::function<bool(const std::string& path)> exists;  // a file or a folder is there
  std::function<bool(const std::string& folder)> isEmptyFolder;
  // Never replaces. This and the others give 0 or the system's error code.
  std::function<std::uint32_t(const std::string& from, const std::string& to)> moveFile;
  std::function<std::uint32_t(const std::string& path)> deleteFile;
  std::function<std::uint32_t(const std::string& folder)> makeFolder;
  std::function<std::uint32_t(const std::string& folder)> removeFolder;
  std::function<std::string(std::uint32_t error)> systemMessage;
};

struct UndoSummary {
  size_t files = 0;   // kMove and kCopy steps of the record
  size_t undone = 0;  // of them, taken back or found as they were before the run
  struct NotUndone {
    std::string path, reason;
  };
  // In the order undo met them: every file step not undone, where the file is now (the target),
  // and every replaced file that could not be put back, under its set-aside name.
  std::vector<NotUndone> notUndone;
};

// Takes the run back, its last step first:
// - a folder the run removed is made again when nothing is there;
// - a moved file that is at its target as the run left it goes back, unless something is at its
//   old place now; one still at its old place (the run ended before it went) needs nothing;
// - a copy as the run made it is deleted, a changed one stays; one that is not there needs
//   nothing;
// - a file a copy replaced goes back from its set-aside name once that copy is gone;
// - a folder the run made is removed when it is empty; one that holds anything stays.
// The run writes a folder's step before the files that go into it and its set-aside step before
// the copy, so that read backward each is met once what depends on it is undone.
UndoSummary UndoRun(const TextTable& texts, const RunRecord& record, const UndoFiles& files);

// The box's text after undoing: how many files of how many were put back, then the first files
// that were not, each with its reason, and how many more there are.
std::string UndoReportText(const TextTable& texts, const UndoSummary& summary, size_t listed = 10);

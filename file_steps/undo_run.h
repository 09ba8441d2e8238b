// Taking a sort run back from its record, through the file system's steps: the record read
// backward, and only the steps that were done taken back, each only where the file system still
// shows the file the step left, so that nothing made or changed since the run is ever replaced,
// and nothing is deleted that is not also elsewhere.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "file_steps/sort_record.h"
#include "settings/text_table.h"

// What undoing asks of the file system and of the record.
struct UndoFiles {
  // The file at a path; nothing when no file is there.
  std::function<std::optional<FileState>(const std::string& path)> state;
  std::function<bool(const std::string& path)> exists;  // a file or a folder is there
  std::function<bool(const std::string& folder)> isEmptyFolder;
  // Never replaces; to another volume by a whole copy put in place, then the source deleted.
  // This and the others give 0 or the system's error code.
  std::function<std::uint32_t(const std::string& from, const std::string& to)> moveFile;
  // Takes a copy the run made away (also a read-only one): to the Recycle Bin of its drive, or, on
  // a drive without one, deleted for good only while its bytes equal those of the original given,
  // kept otherwise (kErrorCopyDiffers).
  std::function<std::uint32_t(const std::string& copy, const std::string& original)> discardCopy;
  std::function<std::uint32_t(const std::string& folder)> makeFolder;
  std::function<std::uint32_t(const std::string& folder)> removeFolder;
  // Removes the copies half made beside targets in the folder by a sort that ended by force.
  std::function<void(const std::string& folder)> removeLeftovers;
  // Writes to the record that the step numbered n is taken back; false when it could not be
  // written, which ends the undo before its next step.
  std::function<bool(size_t n)> markBack;
  // Asked before each step: false (Cancel) ends the undo there; may be empty.
  std::function<bool(size_t done, size_t total)> goOn;
  std::function<std::string(std::uint32_t error)> systemMessage;
};

struct UndoSummary {
  size_t files = 0;         // files the run copied or moved that were not taken back before
  size_t undone = 0;        // of them, taken back now, or found as they were before the run
  bool endedEarly = false;  // Cancel, or the record could not be written: it can be finished later
  bool unrecorded = false;  // of those, the record could not be written
  struct NotUndone {
    std::string path, reason;
  };
  // In the order undo met them: every file not taken back, where the file is now (the target),
  // and every replaced file that could not be put back, under its set-aside name.
  std::vector<NotUndone> notUndone;
};

// Whether the file at a cut-short step's target is the one the step placed: it has the source's
// identity (a rename keeps it), or its size and last write (a copy keeps those).
bool PlacedByStep(const RecordStep& step, const std::optional<FileState>& atTarget);

// Takes the run back, its last step first; steps taken back before (an undo cut short) are passed:
// - a folder the run removed is made again when nothing is there;
// - a moved file goes back when the file at its target is the one the run placed there (by its
//   identity, changed or not), unless something is at its old place now;
// - a copy is taken away (to the Recycle Bin, see discardCopy) only when it is as the run made it
//   and its original is still at its place as it was; else it stays, with the reason; a copy no
//   longer at its target is named too, as not found, and counts as not put back;
// - a file a copy replaced goes back from its set-aside name once that copy is gone; where a later
//   run released it to the Recycle Bin, the copy stays, named with that reason; where its name is
//   taken (the copy was changed since, and stays), it goes beside it (BeforeSortName), shown;
// - a folder the run made is removed when it is empty; one that holds anything stays;
// - a copy or a move cut short by the end of the process (neither done nor failed) counts as done
//   where its target holds the file it placed (the source's identity, or its size and last
//   write): a move whose source is gone goes back, any other is taken back as a copy is;
// - a step that was never done changed nothing but, perhaps, a copy half made beside its target,
//   which goes.
// The run writes a folder's step before the files that go into it and its set-aside step before
// the copy, so that read backward each is met once what depends on it is undone.
UndoSummary UndoRun(const TextTable& texts, const RunRecord& record, const UndoFiles& files);

// The name a set-aside file takes beside its old one when that is taken: "song (before sort
// 2026-12-09).mp3" for "song.mp3" and the run's day.
std::string BeforeSortName(std::string_view path, std::string_view day);

// What releasing the files earlier runs set aside asks of the file system.
struct ReleaseFiles {
  std::function<std::optional<FileState>(const std::string& path)> state;
  // Sends a file to the Recycle Bin of its drive; on a drive without one it is deleted, as the
  // user agreed before the run set it aside. Whether it went, the disk says.
  std::function<void(const std::string& path)> release;
  std::function<std::uint32_t(const std::string& from, const std::string& to)> moveFile;
  std::function<bool(const std::string& folder)> isEmptyFolder;
  std::function<std::uint32_t(const std::string& folder)> removeFolder;
};

// An earlier run's record (nothing when it could not be read), and whether an undo holds it now.
struct EarlierRun {
  std::optional<RunRecord> record;
  bool held = false;
};

// Once a later run has done a step, the undo of earlier runs is over as far as the files they set
// aside go (those their copies replaced, their emptied folders' leftovers): each goes to the
// Recycle Bin from the set-aside folder, under its own name, and the set-aside folders emptied so
// go too. Only a file that is still the one the run set aside, in its set-aside folder (or under
// the hidden name earlier versions gave it beside its target), and none of a run that was undone
// (undo put back all it could; what is left it took out of hiding), nor of a run an undo holds or
// left cut short: its files wait for the next sort that finds it free. A file the Recycle Bin did
// not take (the user said No) comes out of hiding beside its old place (BeforeSortName). Gives,
// for each run, whether its record is to be kept however old it is: its files still wait.
std::vector<bool> ReleaseEarlierRuns(const std::vector<EarlierRun>& runs,
                                     const ReleaseFiles& files);

// The box's text after undoing: how many files of how many were put back, then the first files
// that were not, each with its reason, and how many more there are.
std::string UndoReportText(const TextTable& texts, const UndoSummary& summary, size_t listed = 10);

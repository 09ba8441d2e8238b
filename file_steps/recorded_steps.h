// The sort's file steps, each written to the run's record before it is tried and marked done,
// with the file it left, once it has succeeded. A step that could not be written is not tried.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "base/file_mark.h"
#include "file_steps/sort_record.h"

// What the steps ask of the file system and of the record.
struct PlainSteps {
  std::function<std::optional<FileMark>(const std::string& path)> mark;  // nothing: no file
  std::function<std::optional<FileState>(const std::string& path)> state;
  // The state of a file about to be copied or moved, which may come from a listing of its folder
  // made earlier in the run: it goes into the step's line. Empty: state.
  std::function<std::optional<FileState>(const std::string& path)> sourceState;
  // Copies source to target. Given an aside name, the file at the target is moved there just
  // before the copy takes its place; without one, a file at the target is never replaced. Gives 0
  // or the system's error code, as does move. Both may give the state of the file they placed,
  // as it stands at the target (a volume without lasting file indexes gives a moved file a new
  // one).
  std::function<std::uint32_t(const std::string& source, const std::string& target,
                              const std::string& aside, std::optional<FileState>& placed)>
      copy;
  // renamed: set when the move was a rename, which leaves the file's identity and mark as they
  // were unless the move gives placed.
  std::function<std::uint32_t(const std::string& source, const std::string& target, bool& renamed,
                              std::optional<FileState>& placed)>
      move;
  // The run's set-aside folder in a folder (SetAsideFolderName), made hidden when first asked for;
  // empty when it can't be made. A file a copy replaces is kept there under its own name.
  std::function<std::string(const std::string& folder)> asideFolder;
  // Renames a file within its volume, making the folders it lacks below a set-aside folder; never
  // replaces. Gives 0 or the system's error code.
  std::function<std::uint32_t(const std::string& from, const std::string& to)> rename;
  // The path made whole, as the record keeps it: undo runs from another current folder.
  std::function<std::string(const std::string& path)> wholePath;
  // Adds text to the record and has it kept; false when it could not be written.
  std::function<bool(const std::string& text)> append;
  // Called once, after the run's first copy or move was done; may be empty.
  std::function<void()> firstDone;
};

// A step's done line goes to the record in the call that ends the step; one that can't be written
// stops the run before its next step.
class RecordedSteps {
 public:
  explicit RecordedSteps(PlainSteps plain) : plain_(std::move(plain)) {}
  // Copy and move as PlainSteps does them; a copy told to replace keeps the file it replaces
  // aside. Give kErrorNotRecorded, trying nothing, once the record could not be written.
  std::uint32_t Copy(const std::string& source, const std::string& target, bool replace);
  std::uint32_t Move(const std::string& source, const std::string& target);
  // Sets a file aside (an emptied folder's leftover) in the run's set-aside folder of `above`, a
  // folder above it that stays, under its path below that folder; gives where it is kept, or
  // nothing when it was not set aside.
  std::optional<std::string> SetAside(const std::string& file, const std::string& above);
  // Puts a file SetAside kept back at once: its folder could not go after all.
  void PutBack(const std::string& aside, const std::string& file) { plain_.rename(aside, file); }
  // A folder made (kMakeFolder) or removed (kRemoveFolder) by `step`, which gives 0 when it was.
  std::uint32_t Folder(RecordStep::Kind kind, const std::string& folder,
                       const std::function<std::uint32_t()>& step);

 private:
  // Writes the step's line; its number, or nothing when the record could not be written.
  std::optional<size_t> Begin(const RecordStep& step);
  // Writes a copy's or a move's line, with the source as it stands before the step (before).
  std::optional<size_t> BeginFile(RecordStep::Kind kind, const std::string& from,
                                  const std::string& to, std::optional<FileState>& before);
  // The step numbered n left `state`; `file` for a copy or a move.
  void Done(size_t n, const FileState& state, bool file);
  // The file step numbered n was tried and did not happen, for the error it gives back.
  std::uint32_t Failed(size_t n, std::uint32_t error);

  PlainSteps plain_;
  size_t steps_ = 0;  // step lines written
  bool failed_ = false, fileDone_ = false;
};

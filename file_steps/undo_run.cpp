#include "file_steps/undo_run.h"

#include <set>

#include "base/path_parts.h"
#include "base/position.h"
#include "base/text_util.h"
#include "file_steps/file_errors.h"
#include "tags/save_copy_name.h"

bool PlacedByStep(const RecordStep& step, const std::optional<FileState>& atTarget) {
  if (!atTarget) return false;
  if (!step.identity.empty() && atTarget->identity == step.identity) return true;
  return step.mark != FileMark{} && atTarget->mark == step.mark;
}

std::string BeforeSortName(std::string_view path, std::string_view day) {
  const std::string extension = ExtensionPart(path);
  return FolderPart(path) + BaseNamePart(path) + " (before sort " + std::string(day) + ")" +
         (extension.empty() ? "" : "." + extension);
}

namespace {
// Whether the file found is the one a step left: the same identity where the volume gives one,
// else the same mark.
bool SameFile(const std::optional<FileState>& found, const FileState& left) {
  if (!found) return false;
  if (!left.identity.empty()) return found->identity == left.identity;
  return found->mark == left.mark;
}

// The folders of a set-aside file's path that are empty now, up to its run's set-aside folder.
void RemoveEmptyAsideFolders(const std::string& aside,
                             const std::function<bool(const std::string&)>& isEmptyFolder,
                             const std::function<std::uint32_t(const std::string&)>& remove) {
  const std::string root = SetAsideFolderOf(aside);
  for (std::string folder = FolderPart(aside);
       !root.empty() && folder.size() >= root.size() && isEmptyFolder(folder);
       folder = FolderPart(std::string_view(folder).substr(0, folder.size() - 1)))
    remove(folder);
}

class Undo {
 public:
  Undo(const TextTable& texts, const UndoFiles& files, UndoSummary& summary,
       std::string_view started)
      : texts_(texts), files_(files), summary_(summary), day_(started.substr(0, 10)) {}

  // Whether a file step was stopped by Cancel: the undo ends there.
  bool Stopped() const { return stopped_; }
  // Whether a set-aside file could not be taken out of hiding: the undo is not over until it is.
  bool LeftHidden() const { return leftHidden_; }

  // Takes the step back, or says why not; true when it is back (or needed nothing). setAside: the
  // step that set aside the file a copy replaced, where there is one.
  bool Step(const RecordStep& step, const RecordStep* setAside) {
    if (!step.done) {
      // Cut short by the end of the process: the disk says whether the file was placed.
      if (step.CutShort())
        if (std::optional<FileState> placed = Placed(step)) {
          RecordStep settled = step;
          settled.done = placed;
          ++summary_.files;
          if (step.kind == RecordStep::kMove && !files_.state(step.from))
            return Count(step.to, MoveBack(settled));
          return Count(step.to, RemoveCopy(settled, setAside));  // the source is there too
        }
      // Never done: nothing changed but, perhaps, a copy half made beside the target.
      if (step.IsFileStep()) files_.removeLeftovers(FolderPart(step.to));
      // A set-aside step not marked done: the run may have ended after the file was moved aside
      // and before the line was written.
      if (step.kind == RecordStep::kSetAside) return PutBack(step);
      return true;
    }
    switch (step.kind) {
      case RecordStep::kMove:
        return Count(step.to, MoveBack(step));
      case RecordStep::kCopy:
        return Count(step.to, RemoveCopy(step, setAside));
      case RecordStep::kSetAside:
        // The file a kept copy replaced was released: there is nothing to put back.
        return replacedInBin_.count(step.to) || PutBack(step);
      case RecordStep::kMakeFolder:
        // A folder that holds anything is the user's now; one that can't be removed stays too.
        if (files_.isEmptyFolder(step.from)) files_.removeFolder(step.from);
        return true;
      case RecordStep::kRemoveFolder:
        // The files that go back into it find no path should this fail, and say so.
        if (!files_.exists(step.from)) files_.makeFolder(step.from);
        return true;
    }
    return true;
  }

 private:
  // A file step's reason for not being undone, or nothing when it is.
  using Reason = std::optional<std::string>;

  bool Count(const std::string& path, const Reason& reason) {
    if (!reason) ++summary_.undone;
    return Keep(path, reason);
  }
  bool Keep(const std::string& path, const Reason& reason) {
    if (reason) summary_.notUndone.push_back({path, *reason});
    return !reason;
  }

  Reason Failure(std::uint32_t error) {
    // Something that came to the old place between looking and moving is never replaced.
    if (IsExistsError(error)) return texts_[kTextUndoOccupied];
    if (error == kErrorRequestAborted) {
      stopped_ = true;
      return texts_[kTextStopped];
    }
    return files_.systemMessage(error);
  }

  // Whether the file a step left at `to` is at `back` now: an undo ended between moving it back
  // and writing so. A move to another volume gives it another identity, never another mark.
  bool AlreadyBack(const std::string& back, const FileState& left) const {
    const std::optional<FileState> there = files_.state(back);
    return there && (there->mark == left.mark ||
                     (!left.identity.empty() && there->identity == left.identity));
  }

  // The file at a cut-short step's target, where it is the one the step placed.
  std::optional<FileState> Placed(const RecordStep& step) const {
    const std::optional<FileState> at = files_.state(step.to);
    return PlacedByStep(step, at) ? at : std::nullopt;
  }

  Reason MoveBack(const RecordStep& step) {
    STEP(Sorter);
    // The file the run placed, changed since or not (its tags may have been edited; a save in the
    // program's editor, which makes it a new file, told the record), goes back; the move itself
    // refuses a name that is taken.
    const FileState& left = step.saved ? *step.saved : *step.done;
    if (!SameFile(files_.state(step.to), left))
      return AlreadyBack(step.from, left) ? std::nullopt : Reason(texts_[kTextUndoMissing]);
    if (std::uint32_t error = files_.moveFile(step.to, step.from)) return Failure(error);
    return std::nullopt;
  }

  Reason RemoveCopy(const RecordStep& step, const RecordStep* setAside) {
    STEP(Sorter);
    const std::optional<FileState> copy = files_.state(step.to);
    // No copy at its target (deleted, renamed or moved away since): nothing was taken back.
    if (!copy) return texts_[kTextUndoCopyNotFound];
    if (!SameFile(copy, *step.done) || copy->mark != step.done->mark)
      return texts_[kTextUndoChanged];
    // The file it replaced is gone from its set-aside name (a later run released it to the
    // Recycle Bin): the copy keeps its place.
    if (setAside && setAside->done && !files_.state(setAside->to)) {
      replacedInBin_.insert(setAside->to);
      return texts_[kTextUndoReplacedInBin];
    }
    // The copy is taken away only while its original is there as it was.
    const std::optional<FileState> original = files_.state(step.from);
    if (!original || original->mark != step.mark) return texts_[kTextUndoOriginalGone];
    const std::uint32_t error = files_.discardCopy(step.to, step.from);
    if (error == kErrorCopyDiffers) return texts_[kTextUndoCopyDiffers];
    if (error) return files_.systemMessage(error);
    return std::nullopt;
  }

  // A set-aside file (one a copy replaced, an emptied folder's leftover) back to its place, or,
  // where its name is taken (a copy changed since stays there) or can't be had, beside it under a
  // name of its own (said, with where it is): never left hidden. Whatever is under the set-aside
  // name is the run's (nobody else writes there). The set-aside folders it leaves empty go; one it
  // could not leave keeps the undo unfinished.
  bool PutBack(const RecordStep& step) {
    STEP(Sorter);
    std::string at = step.to;  // where the file is now
    Reason reason;
    if (files_.state(step.to))
      reason = OutOfHiding(step, at);
    else if (step.done && !AlreadyBack(step.from, *step.done))
      reason = texts_[kTextUndoMissing];
    RemoveEmptyAsideFolders(step.to, files_.isEmptyFolder, files_.removeFolder);
    leftHidden_ = leftHidden_ || (at == step.to && files_.state(step.to));
    return Keep(at, reason);
  }

  Reason OutOfHiding(const RecordStep& step, std::string& at) {
    std::uint32_t error = files_.moveFile(step.to, step.from);
    if (error == 0 || error == kErrorRequestAborted) return error ? Failure(error) : std::nullopt;
    // Its name is taken, or can't be had now (the file there is held open): beside it, then.
    const std::string beside = BeforeSortName(step.from, day_);
    if ((error = files_.moveFile(step.to, beside))) return Failure(error);
    at = beside;
    return texts_[kTextUndoBesideTarget];
  }

  const TextTable& texts_;
  const UndoFiles& files_;
  UndoSummary& summary_;
  bool stopped_ = false, leftHidden_ = false;
  std::set<std::string> replacedInBin_;  // set-aside names whose copy stayed for that
  std::string day_;                      // the run's day, as its record gives it
};

}  // namespace

UndoSummary UndoRun(const TextTable& texts, const RunRecord& record, const UndoFiles& files) {
  STEP(Sorter);
  UndoSummary summary;
  for (const RecordStep& step : record.steps)
    if (step.IsFileStep() && step.done && !step.back) ++summary.files;
  Undo undo(texts, files, summary, record.started);
  size_t passed = 0;
  for (size_t n = record.steps.size(); n-- > 0;) {
    STEP(Sorter);
    const RecordStep& step = record.steps[n];
    if (step.back) continue;
    if (files.goOn && !files.goOn(passed++, record.steps.size())) {
      summary.endedEarly = true;
      break;
    }
    // A copy that replaced a file follows the step that set that file aside.
    const RecordStep* setAside = n > 0 && record.steps[n - 1].kind == RecordStep::kSetAside &&
                                         record.steps[n - 1].from == step.to
                                     ? &record.steps[n - 1]
                                     : nullptr;
    if (undo.Step(step, setAside) && !files.markBack(n)) {
      summary.endedEarly = summary.unrecorded = true;
      break;
    }
    if (undo.Stopped()) {
      summary.endedEarly = true;
      break;
    }
  }
  summary.endedEarly = summary.endedEarly || undo.LeftHidden();
  return summary;
}

std::vector<bool> ReleaseEarlierRuns(const std::vector<EarlierRun>& runs,
                                     const ReleaseFiles& files) {
  STEP(Sorter);
  std::vector<bool> kept;
  for (const EarlierRun& run : runs) {
    STEP(Sorter);
    kept.push_back(run.held || (run.record && run.record->UndoCutShort()));
    if (kept.back() || !run.record || run.record->undone) continue;
    for (const RecordStep& step : run.record->steps) {
      STEP(Sorter);
      if (step.kind != RecordStep::kSetAside || !step.done || step.back) continue;
      const bool ownFolder = !SetAsideFolderOf(step.to).empty();
      const bool hiddenBeside =
          IsSetAsideName(step.to) && FolderPart(step.to) == FolderPart(step.from);
      if (!(ownFolder || hiddenBeside) || files.state(step.to) != step.done) continue;
      files.release(step.to);
      if (files.state(step.to))
        files.moveFile(step.to, BeforeSortName(step.from, run.record->started.substr(0, 10)));
      RemoveEmptyAsideFolders(step.to, files.isEmptyFolder, files.removeFolder);
    }
  }
  return kept;
}

std::string UndoReportText(const TextTable& texts, const UndoSummary& summary, size_t listed) {
  STEP(Sorter);
  std::string text =
      summary.files == 1
          ? FillIn(texts[kTextUndoneOne], "%1", summary.undone)
          : FillIn(FillIn(texts[kTextUndoneCount], "%1", summary.undone), "%2", summary.files);
  if (summary.endedEarly)
    text += "\r\n" + texts[summary.unrecorded ? kTextUndoRecordUnwritable : kTextUndoCutShort];
  return text + ReasonLines(summary.notUndone, &UndoSummary::NotUndone::path, listed,
                            texts[kTextMoreNotPlaced]);
}

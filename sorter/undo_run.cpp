#include "sorter/undo_run.h"

#include <set>

#include "base/position.h"
#include "base/text_util.h"
#include "sorter/sort_run.h"

namespace {
class Undo {
 public:
  Undo(const TextTable& texts, const UndoFiles& files, UndoSummary& summary)
      : texts_(texts), files_(files), summary_(summary) {}

  void Step(const RecordStep& step) {
    switch (step.kind) {
      case RecordStep::kMove:
        return Count(step.to, MoveBack(step));
      case RecordStep::kCopy:
        return Count(step.to, RemoveCopy(step));
      case RecordStep::kSetAside:
        if (auto reason = PutBack(step)) summary_.notUndone.push_back({step.to, *reason});
        return;
      case RecordStep::kMakeFolder:
        // A folder that holds anything is the user's now; one that can't be removed stays too.
        if (files_.isEmptyFolder(step.from)) files_.removeFolder(step.from);
        return;
      case RecordStep::kRemoveFolder:
        // The files that go back into it find no path should this fail, and say so.
        if (!files_.exists(step.from)) files_.makeFolder(step.from);
        return;
    }
  }

 private:
  // A file step's reason for not being undone, or nothing when it is.
  using Reason = std::optional<std::string>;

  void Count(const std::string& path, const Reason& reason) {
    if (reason)
      summary_.notUndone.push_back({path, *reason});
    else
      ++summary_.undone;
  }

  Reason Failure(std::uint32_t error) const {
    // Something that came to the old place between looking and moving is never replaced.
    if (error == kErrorFileExists || error == kErrorAlreadyExists) return texts_[kTextUndoOccupied];
    return files_.systemMessage(error);
  }

  // Moves the file at `at`, found with the mark `found`, to `back` when it has the recorded mark;
  // the move itself refuses a name that is taken (asking first would cost a look per file).
  Reason MoveIfThere(const std::optional<FileMark>& found, const std::string& at,
                     const std::string& back, const FileMark& mark) {
    if (found != mark) return texts_[kTextUndoMissing];
    if (std::uint32_t error = files_.moveFile(at, back)) return Failure(error);
    return std::nullopt;
  }

  Reason MoveBack(const RecordStep& step) {
    STEP(Sorter);
    // The step was written before the move: a file still at its source as it was, and not at the
    // target, was never moved (the run ended, or the target was taken, and a move never replaces).
    const std::optional<FileMark> moved = files_.mark(step.to);
    if (moved != step.mark && files_.mark(step.from) == step.mark) return std::nullopt;
    return MoveIfThere(moved, step.to, step.from, step.mark);
  }

  Reason RemoveCopy(const RecordStep& step) {
    STEP(Sorter);
    const std::optional<FileMark> copy = files_.mark(step.to);
    // No copy: gone since, or never made; either way the target is as it was before.
    if (!copy) return std::nullopt;
    if (*copy != step.mark) return texts_[kTextUndoChanged];
    if (std::uint32_t error = files_.deleteFile(step.to)) return files_.systemMessage(error);
    return std::nullopt;
  }

  Reason PutBack(const RecordStep& step) {
    STEP(Sorter);
    // Nothing set aside while the replaced file is in its place: the run ended before it was
    // moved aside. Counted with no file: its copy's step says what became of the target.
    const std::optional<FileMark> aside = files_.mark(step.to);
    if (!aside && files_.exists(step.from)) return std::nullopt;
    return MoveIfThere(aside, step.to, step.from, step.mark);
  }

  const TextTable& texts_;
  const UndoFiles& files_;
  UndoSummary& summary_;
};

}  // namespace

UndoSummary UndoRun(const TextTable& texts, const RunRecord& record, const UndoFiles& files) {
  STEP(Sorter);
  UndoSummary summary;
  summary.files = record.Files();
  Undo undo(texts, files, summary);
  // A file tried more than once is taken back as its last try left it.
  std::set<std::pair<std::string, std::string>> tried;
  for (auto step = record.steps.rbegin(); step != record.steps.rend(); ++step)
    if ((step->kind != RecordStep::kMove && step->kind != RecordStep::kCopy) ||
        tried.emplace(step->from, step->to).second)
      undo.Step(*step);
  return summary;
}

std::string UndoReportText(const TextTable& texts, const UndoSummary& summary, size_t listed) {
  STEP(Sorter);
  std::string text =
      FillIn(FillIn(texts[kTextUndoneCount], "%1", summary.undone), "%2", summary.files);
  if (!summary.notUndone.empty()) text += "\r\n";
  for (size_t i = 0; i < summary.notUndone.size() && i < listed; ++i)
    text += "\r\n" + summary.notUndone[i].path + "\r\n    " + summary.notUndone[i].reason;
  if (summary.notUndone.size() > listed)
    text += "\r\n" + FillIn(texts[kTextMoreNotPlaced], "%1", summary.notUndone.size() - listed);
  return text;
}

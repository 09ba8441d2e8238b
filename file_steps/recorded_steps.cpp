#include "file_steps/recorded_steps.h"

#include "base/path_parts.h"
#include "base/position.h"
#include "file_steps/file_errors.h"

std::optional<size_t> RecordedSteps::Begin(const RecordStep& step) {
  // A done line that can't be written leaves a step that undo will not take back: the run stops
  // before its next step, as it does when that step's own line can't be written.
  if (failed_ || !plain_.append(RecordLine(step))) {
    failed_ = true;
    return std::nullopt;
  }
  return steps_++;
}

std::uint32_t RecordedSteps::Failed(size_t n, std::uint32_t error) {
  // Should the line not be written, undo finds the step cut short, and asks the disk.
  if (!plain_.append(FailedLine(n))) failed_ = true;
  return error;
}

void RecordedSteps::Done(size_t n, const FileState& state, bool file) {
  // Written at once, before the run waits on anything (the next row's tags, a question): a run
  // ended there has its step on record as done.
  if (!plain_.append(DoneLine(n, state))) failed_ = true;
  if (file && !fileDone_ && plain_.firstDone) plain_.firstDone();
  fileDone_ = fileDone_ || file;
}

std::optional<size_t> RecordedSteps::BeginFile(RecordStep::Kind kind, const std::string& from,
                                               const std::string& to,
                                               std::optional<FileState>& before) {
  before = plain_.sourceState ? plain_.sourceState(from) : plain_.state(from);
  return Begin({.kind = kind,
                .from = from,
                .to = to,
                .mark = before ? before->mark : FileMark{},
                .identity = before ? before->identity : ""});
}

std::uint32_t RecordedSteps::Copy(const std::string& source, const std::string& target,
                                  bool replace) {
  STEP(Sorter);
  const std::string from = plain_.wholePath(source), to = plain_.wholePath(target);
  std::string aside;
  if (replace) {
    const std::string folder = plain_.asideFolder(FolderPart(to));
    if (folder.empty()) return kErrorFileExists;
    aside = folder + FilePart(to);
  }
  std::optional<size_t> asideStep;
  if (replace) {
    asideStep = Begin({.kind = RecordStep::kSetAside,
                       .from = to,
                       .to = aside,
                       .mark = plain_.mark(to).value_or(FileMark{})});
    if (!asideStep) return kErrorNotRecorded;
  }
  std::optional<FileState> before;
  const std::optional<size_t> copyStep = BeginFile(RecordStep::kCopy, from, to, before);
  if (!copyStep) return kErrorNotRecorded;
  std::optional<FileState> copied;
  const std::uint32_t error = plain_.copy(from, to, aside, copied);
  if (error != 0) return Failed(*copyStep, error);
  // The copy's done line first: should the run end between the two, undo finds the file set
  // aside by its name and mark.
  if (!copied) copied = plain_.state(to);
  if (copied) Done(*copyStep, *copied, true);
  if (auto kept = replace ? plain_.state(aside) : std::nullopt) Done(*asideStep, *kept, false);
  return 0;
}

std::uint32_t RecordedSteps::Move(const std::string& source, const std::string& target) {
  STEP(Sorter);
  const std::string from = plain_.wholePath(source), to = plain_.wholePath(target);
  std::optional<FileState> before;
  const std::optional<size_t> step = BeginFile(RecordStep::kMove, from, to, before);
  if (!step) return kErrorNotRecorded;
  bool renamed = false;
  std::optional<FileState> moved;
  const std::uint32_t error = plain_.move(from, to, renamed, moved);
  if (error != 0) return Failed(*step, error);
  // A rename that gave no state left the file as it was read before.
  if (!moved) moved = renamed ? before : plain_.state(to);
  if (moved) Done(*step, *moved, true);
  return 0;
}

std::optional<std::string> RecordedSteps::SetAside(const std::string& file,
                                                   const std::string& above) {
  STEP(Sorter);
  const std::string folder = plain_.asideFolder(above);
  if (folder.empty()) return std::nullopt;
  const std::string aside = folder + file.substr(above.size());
  const std::optional<size_t> n = Begin({.kind = RecordStep::kSetAside,
                                         .from = file,
                                         .to = aside,
                                         .mark = plain_.mark(file).value_or(FileMark{})});
  if (!n) return std::nullopt;
  if (std::uint32_t error = plain_.rename(file, aside)) {
    Failed(*n, error);
    return std::nullopt;
  }
  if (auto kept = plain_.state(aside)) Done(*n, *kept, false);
  return aside;
}

std::uint32_t RecordedSteps::Folder(RecordStep::Kind kind, const std::string& folder,
                                    const std::function<std::uint32_t()>& step) {
  STEP(Sorter);
  const std::optional<size_t> n = Begin({.kind = kind, .from = plain_.wholePath(folder)});
  if (!n) return kErrorNotRecorded;
  const std::uint32_t error = step();
  if (error == 0) Done(*n, {}, false);
  return error;
}

#include "sorter/sort_run.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "base/path_parts.h"
#include "base/position.h"
#include "base/text_util.h"
#include "base/utf16.h"
#include "sorter/album_files.h"
#include "sorter/target_path.h"

namespace {
constexpr size_t kLongestTarget = 259, kLongestFolder = 247;

std::string FailureReason(const TextTable& texts, const SortRunSteps& steps, std::uint32_t error) {
  if (IsExistsError(error)) return texts[kTextTargetExists];
  if (error == kErrorFilenameTooLong) return texts[kTextPathTooLong];
  if (error == kErrorRequestAborted) return texts[kTextStopped];
  if (error == kErrorNotRecorded) return texts[kTextRecordUnwritable];
  return steps.files.systemMessage(error);
}

// The files a run must never replace: every row's own file, and every file an earlier row of the
// run placed. Rows that join during the run join here before they are placed. They are told apart
// by identity, which costs opening each file: that is done only once a target is found taken, and
// for each file once. Beside them, the folders the run's files have gone to.
class RunFiles {
 public:
  explicit RunFiles(const SortFileSteps& files) : files_(files) {}
  void CountRows(const SortRunSteps& steps) {
    for (size_t i = sources_.names.size(); i < steps.rowCount(); ++i)
      sources_.names.push_back(steps.row(i));
  }
  void Placed(const std::string& target) { placed_.names.push_back(target); }
  // Whether an earlier file of the run went to the folder (as spelt), which then needs no making
  // nor asking; the folder counts as known from now on.
  bool KnownFolder(const std::string& folder) { return !folders_.insert(folder).second; }
  // Whether files may be replaced on a drive without a Recycle Bin, where the replaced file is
  // deleted for good once another sort runs: asked once a run, No (what Enter gives) keeps them.
  bool MayReplaceWithoutBin(const TextTable& texts, const SortRunSteps& steps) {
    if (!noBinAnswer_)
      noBinAnswer_ = steps.ask(texts[kTextQuestion], texts[kTextNoBinQuestion], true);
    return *noBinAnswer_;
  }
  bool AgreedToDeleteWithoutBin() const { return noBinAnswer_.value_or(false); }
  // The record could not be written: the run tries no further step.
  void Stop() { stopped_ = true; }
  bool Stopped() const { return stopped_; }
  // Why the row's file may not replace the file at its target, if it may not.
  std::optional<TextId> Refusal(const std::string& source, const std::string& target) {
    const std::u16string key = files_.fileKey(target);
    if (placed_.Keys(files_).count(key)) return kTextSameTarget;
    if (sources_.Keys(files_).count(key) && key != files_.fileKey(source))
      return kTextTargetIsSource;
    return std::nullopt;
  }

 private:
  struct Files {
    std::vector<std::string> names;
    std::unordered_set<std::u16string> keys;  // of the names before keyed
    size_t keyed = 0;
    const std::unordered_set<std::u16string>& Keys(const SortFileSteps& files) {
      for (; keyed < names.size(); ++keyed) keys.insert(files.fileKey(names[keyed]));
      return keys;
    }
  };
  const SortFileSteps& files_;
  Files sources_, placed_;
  std::unordered_set<std::string> folders_;
  bool stopped_ = false;
  std::optional<bool> noBinAnswer_;
};

// Places one file whose tags were read; the target is built by the same call the preview uses.
// What is at the target is asked only when the copy or move finds it taken: most targets are new,
// and asking for each costs as much as a small copy where names are looked up case-insensitively.
// Likewise a folder an earlier file went to is not asked for again; should it have gone
// meanwhile, the file finds no path, and the folder is made again.
// An album file (albumFile) never replaces a file.
RowOutcome Place(const TextTable& texts, const SortRunSteps& steps, RunFiles& run, bool move,
                 const std::string& source, const std::string& target, bool albumFile = false) {
  STEP(Sorter);
  if (TargetTooLong(target)) return {RowOutcome::kNotPlaced, texts[kTextPathTooLong]};
  const SortFileSteps& files = steps.files;
  const std::string folder = FolderPart(target);
  const bool knownFolder = run.KnownFolder(folder);
  auto placeNew = [&] {
    STEP(Sorter);
    return move ? files.moveFile(source, target) : files.copyFile(source, target, false);
  };
  if (!knownFolder) files.createFolders(folder);
  std::uint32_t error = placeNew();
  if (error == kErrorPathNotFound && knownFolder) {
    files.createFolders(folder);
    error = placeNew();
  }
  if (error == 0) return {move ? RowOutcome::kMoved : RowOutcome::kCopied, ""};
  if (error == kErrorNotRecorded) {
    run.Stop();
    return {RowOutcome::kNotPlaced, texts[kTextRecordUnwritable]};
  }
  if (IsExistsError(error)) {
    STEP(Sorter);
    if (files.targetState(source, target) == TargetState::kSameFile)
      return {RowOutcome::kInPlace, ""};
    // A copy replaces an older copy, but never a file of this run; a move never replaces a file.
    if (auto refusal = run.Refusal(source, target))
      return {RowOutcome::kNotPlaced, texts[*refusal]};
    if (move || albumFile) return {RowOutcome::kNotPlaced, texts[kTextTargetExists]};
    if (files.hasRecycleBin && !files.hasRecycleBin(target) &&
        !run.MayReplaceWithoutBin(texts, steps))
      return {RowOutcome::kNotPlaced, texts[kTextTargetExists] + "; " + texts[kTextNoBinKept]};
    error = files.copyFile(source, target, true);
    if (error == kErrorNotRecorded) run.Stop();
    // The file replaced is kept aside until this run is undone or another begins.
    if (error == 0) return {RowOutcome::kReplaced, texts[kTextSetAside]};
    return {RowOutcome::kNotPlaced,
            FailureReason(texts, steps, error) + "; " + texts[kTextTargetKept]};
  }
  // A move that did not happen leaves the file where it was, also one stopped halfway to another
  // drive; the user is told so. A copy goes whole under a name of its own before it takes the
  // target's, so one that failed there (a full disk) says so of a file at the target too.
  std::string reason = FailureReason(texts, steps, error);
  if (move)
    reason += "; " + texts[kTextSourceKept];
  else if (files.targetState(source, target) == TargetState::kExists)
    reason += "; " + texts[kTextTargetKept];
  return {RowOutcome::kNotPlaced, reason};
}

// Lets the next row's tags be read while this row's file is placed, unless the next row names this
// file or its target: a file being read is open, and could be neither moved nor replaced.
void ReadNextMeanwhile(const SortRunSteps& steps, size_t next, const std::string& source,
                       const std::string& target) {
  const SortFileSteps& files = steps.files;
  if (!files.readNext || next >= steps.rowCount()) return;
  const std::string nextSource = steps.row(next);
  if (HoldsUnpairedSurrogate(nextSource)) return;
  const std::u16string folded = files.foldedName(nextSource);
  if (folded != files.foldedName(source) && folded != files.foldedName(target))
    files.readNext(nextSource);
}

// A file placed: counted, known to the run, and remembered for the folders a move empties.
void Count(SortSummary& summary, RunFiles& run, const RowOutcome& outcome,
           const std::string& source, const std::string& target) {
  ++summary.placed;
  run.Placed(target);
  summary.targets.push_back(target);
  if (outcome.kind == RowOutcome::kMoved) summary.moved.push_back(source);
}

// After the rows: the other files of every folder that AlbumTargets lets go along go to its
// tracks' folder, by the same copy or move and its rules, but never over a file; the rows of
// album files that waited get their outcome, placed with their album or with the reason they
// stay. Not after Cancel or No.
void PlaceAlbumFiles(const TextTable& texts, const SortRunSteps& steps, RunFiles& run, bool move,
                     const AlbumTargets& albums, const std::vector<size_t>& waiting,
                     SortSummary& summary) {
  STEP(Sorter);
  std::unordered_map<std::u16string, size_t> rowOf;  // the waiting rows, by their folded name
  for (size_t row : waiting) rowOf.emplace(steps.files.foldedName(steps.row(row)), row);
  std::unordered_map<std::u16string, TextId> stays;  // why a folder's files stay, by its name
  for (const std::string& folder :
       summary.endedEarly ? std::vector<std::string>{} : albums.Folders()) {
    std::vector<std::string> files;  // listed only when the tracks went together
    const AlbumTargets::Decision decision =
        albums.FolderOf(folder, [&]() -> const std::vector<std::string>& {
          return files = steps.files.folderFiles(folder);
        });
    if (!decision.target) {
      stays.emplace(steps.files.foldedName(folder), decision.reason);
      continue;
    }
    for (const std::string& file : files) {
      STEP(Sorter);
      if (!IsAlbumFile(file) || run.Stopped()) continue;
      const auto row = rowOf.find(steps.files.foldedName(file));
      const std::string to = *decision.target + FilePart(file);
      RowOutcome outcome = Place(texts, steps, run, move, file, to, true);
      if (outcome.placed()) {
        Count(summary, run, outcome, file, to);
        if (outcome.reason.empty()) outcome.reason = texts[kTextWithAlbum];
      } else {
        summary.notPlaced.push_back({file, outcome.reason});
      }
      if (row == rowOf.end()) {
        ++summary.albumFiles;
        if (steps.showAlbumOutcome) steps.showAlbumOutcome(file, outcome);
        continue;
      }
      steps.showOutcome(row->second, outcome);
      rowOf.erase(row);
    }
  }
  summary.endedEarly = summary.endedEarly || run.Stopped();
  // The rows left: their folder's files stay (see AlbumTargets), or their folder had no tracks,
  // or the run ended before the albums.
  for (size_t row : waiting) {
    const std::string source = steps.row(row);
    if (!rowOf.count(steps.files.foldedName(source))) continue;
    const auto stay =
        summary.endedEarly ? stays.end() : stays.find(steps.files.foldedName(FolderPart(source)));
    const RowOutcome outcome{RowOutcome::kSkipped,
                             texts[stay != stays.end() ? stay->second : kTextTagsUnreadable]};
    summary.notPlaced.push_back({source, outcome.reason});
    steps.showOutcome(row, outcome);
  }
  summary.rows += summary.albumFiles;
}
}  // namespace

SortSummary SortRun(const TextTable& texts, const SortRunSteps& steps) {
  STEP(Sorter);
  const bool move = steps.ask(texts[kTextQuestion], texts[kTextDeleteOriginals], true);
  if (steps.files.begin) steps.files.begin(move);
  const TargetPattern pattern = steps.pattern();
  SortSummary summary;
  // Yes in the first unreadable file's box skips every later one too: the preview has marked them
  // all already, and an album folder's cover, cue sheet and log would otherwise each stop the run.
  bool skipUnreadable = false;
  RunFiles run(steps.files);
  const bool album = steps.takeAlbum && steps.takeAlbum();
  AlbumTargets albums(steps.files.foldedName, steps.files.userFolder);
  std::vector<size_t> waiting;  // rows of album files, which go with their album, if it goes
  for (size_t i = 0; i < steps.rowCount(); ++i) {
    STEP(Sorter);
    run.CountRows(steps);
    const std::string source = steps.row(i);
    TagInfo tags;
    RowOutcome outcome;
    if (HoldsUnpairedSurrogate(source)) {
      outcome = {RowOutcome::kNotPlaced, texts[kTextNameUnreadable]};
    } else if (steps.files.readTags(source, tags)) {
      const std::string target = BuildTargetPath(pattern, source, tags);
      ReadNextMeanwhile(steps, i + 1, source, target);
      outcome = Place(texts, steps, run, move, source, target);
      // A track whose target was taken does not go with its album, whether a copy replaced the
      // file there or not: the preview, which cannot know the answer, decides so too.
      const bool withAlbum = outcome.placed() && outcome.kind != RowOutcome::kReplaced;
      albums.Track(source, withAlbum ? &target : nullptr);
      if (outcome.placed()) Count(summary, run, outcome, source, target);
    } else if (album && IsAlbumFile(source)) {
      waiting.push_back(i);
    } else {
      STEP(Sorter);
      // A folder with a track left behind is no album to take along.
      if (IsAudioFile(source)) albums.Track(source, nullptr);
      outcome = {RowOutcome::kSkipped, texts[kTextTagsUnreadable]};
      if (!skipUnreadable) {
        skipUnreadable = steps.ask(
            texts[kTextError],
            texts[kTextCouldNotRead] + "\r\n" + source + "\r\n" + texts[kTextContinue], false);
        summary.endedEarly = !skipUnreadable;
      }
    }
    const bool waits = !waiting.empty() && waiting.back() == i;
    if (!waits) {
      if (!outcome.placed()) summary.notPlaced.push_back({source, outcome.reason});
      steps.showOutcome(i, outcome);
    }
    if (run.Stopped()) summary.endedEarly = true;
    if (summary.endedEarly) break;
    if (!steps.goOn()) {
      summary.endedEarly = true;
      break;
    }
  }
  summary.rows = steps.rowCount();
  summary.mayDeleteWithoutBin = run.AgreedToDeleteWithoutBin();
  if (album && steps.files.folderFiles)
    PlaceAlbumFiles(texts, steps, run, move, albums, waiting, summary);
  return summary;
}

bool TargetTooLong(const std::string& target) {
  std::string folder = FolderPart(target);
  if (!folder.empty()) folder.pop_back();
  // Windows counts UTF-16 units, not bytes: "Ж" is one, "😀" two.
  return Utf16Length(target) > kLongestTarget || Utf16Length(folder) > kLongestFolder;
}

std::string OutcomeText(const TextTable& texts, const RowOutcome& outcome) {
  static constexpr TextId kWords[] = {kTextCopied,  kTextMoved,     kTextReplaced,
                                      kTextInPlace, kTextNotPlaced, kTextSkipped};
  const std::string& word = texts[kWords[outcome.kind]];
  return outcome.reason.empty() ? word : word + ": " + outcome.reason;
}

std::string SortReportText(const TextTable& texts, const SortSummary& summary, size_t listed) {
  STEP(Sorter);
  if (summary.notPlaced.empty() && !summary.endedEarly) return "";
  std::string text =
      FillIn(FillIn(texts[kTextPlacedCount], "%1", summary.placed), "%2", summary.rows);
  if (summary.endedEarly) text += "\r\n" + texts[kTextSortCancelled];
  text += ReasonLines(summary.notPlaced, &SortSummary::NotPlaced::source, listed,
                      texts[kTextMoreNotPlaced]);
  if (summary.foldersRemoved > 0)
    text += "\r\n\r\n" + FillIn(texts[kTextShellsRemoved], "%1", summary.foldersRemoved);
  if (summary.placed > 0)
    text += (summary.foldersRemoved ? "\r\n" : "\r\n\r\n") + texts[kTextUndoHint];
  return text;
}

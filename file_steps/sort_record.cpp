#include "file_steps/sort_record.h"

#include <algorithm>
#include <charconv>
#include <set>

#include "base/position.h"

namespace {
constexpr std::string_view kFirstLine = "DA3Zur sort record 2";
constexpr std::string_view kLineEnd = "\r\n";

// The word that begins each kind of step's line, in the order of RecordStep::Kind.
constexpr std::string_view kStepWords[] = {"move", "copy", "aside", "folder+", "folder-"};

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (size_t start = 0;;) {
    const size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

// Digits only, and no more than the number holds: a line cut or edited into something else is
// not taken for a size or a time.
std::optional<std::uint64_t> Number(std::string_view text) {
  std::uint64_t value = 0;
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
    return std::nullopt;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<RecordStep> Step(const std::vector<std::string_view>& fields) {
  const auto word = std::find(std::begin(kStepWords), std::end(kStepWords), fields[0]);
  if (word == std::end(kStepWords)) return std::nullopt;
  RecordStep step{.kind = RecordStep::Kind(word - std::begin(kStepWords))};
  if (step.kind == RecordStep::kMakeFolder || step.kind == RecordStep::kRemoveFolder) {
    if (fields.size() != 2 || fields[1].empty()) return std::nullopt;
    step.from = fields[1];
    return step;
  }
  // A file step's line may end in the source's identity; an earlier version's did not.
  const bool identified = step.IsFileStep() && fields.size() == 6 && !fields[5].empty();
  if ((fields.size() != 5 && !identified) || fields[3].empty() || fields[4].empty())
    return std::nullopt;
  const auto size = Number(fields[1]), lastWrite = Number(fields[2]);
  if (!size || !lastWrite) return std::nullopt;
  step.mark = {*size, *lastWrite};
  step.from = fields[3];
  step.to = fields[4];
  if (identified) step.identity = fields[5];
  return step;
}

// A done line's state: empty for a folder's step, else identity, size and last write.
std::optional<FileState> DoneState(const std::vector<std::string_view>& fields) {
  if (fields.size() == 2) return FileState{};
  if (fields.size() != 5) return std::nullopt;
  const auto size = Number(fields[3]), lastWrite = Number(fields[4]);
  if (!size || !lastWrite) return std::nullopt;
  return FileState{std::string(fields[2]), {*size, *lastWrite}};
}

// The complete lines of the text: each ends in LF, its CR before that dropped. What follows the
// last LF was cut short.
std::vector<std::string_view> CompleteLines(std::string_view text) {
  std::vector<std::string_view> lines;
  for (size_t end; (end = text.find('\n')) != std::string_view::npos;) {
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    text.remove_prefix(end + 1);
  }
  return lines;
}

// A record's name read back: its number, for ordering; nothing for any other name. The names an
// earlier version gave ("sort-<date>-<time>-<n>.txt") count as the oldest, in their own order.
struct RecordKey {
  std::uint64_t n;
  std::string name;
  auto operator<=>(const RecordKey&) const = default;
};

std::optional<RecordKey> KeyOf(std::string_view name) {
  constexpr std::string_view kPrefix = "sort-", kSuffix = ".txt";
  if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) return std::nullopt;
  std::string_view middle = name.substr(kPrefix.size());
  middle.remove_suffix(kSuffix.size());
  if (const auto n = Number(middle)) return RecordKey{*n, ""};
  if (middle.empty() || middle.find_first_not_of("0123456789-") != std::string_view::npos)
    return std::nullopt;
  return RecordKey{0, std::string(name)};
}

// The records among the names, oldest first.
std::vector<std::pair<RecordKey, std::string>> Records(const std::vector<std::string>& names) {
  std::vector<std::pair<RecordKey, std::string>> records;
  for (const std::string& name : names)
    if (auto key = KeyOf(name)) records.emplace_back(std::move(*key), name);
  std::sort(records.begin(), records.end());
  return records;
}
}  // namespace

size_t RunRecord::Files() const {
  std::set<std::pair<std::string, std::string>> files;
  for (const RecordStep& step : steps)
    if (step.IsFileStep() && step.done) files.emplace(step.from, step.to);
  return files.size();
}

bool RunRecord::UndoCutShort() const {
  return !undone && (undoBegun ||
                     std::ranges::any_of(steps, [](const RecordStep& step) { return step.back; }));
}

bool RunRecord::HasCutShortSteps() const {
  for (const RecordStep& step : steps)
    if (step.CutShort() && !step.back) return true;
  return false;
}

std::string RecordHeader(std::string_view started, bool move) {
  return std::string(kFirstLine) + std::string(kLineEnd) + "started\t" + std::string(started) +
         (move ? "\tmove" : "\tcopy") + std::string(kLineEnd);
}

std::string RecordLine(const RecordStep& step) {
  std::string line(kStepWords[step.kind]);
  if (step.IsFileStep() || step.kind == RecordStep::kSetAside)
    line += '\t' + std::to_string(step.mark.size) + '\t' + std::to_string(step.mark.lastWrite);
  line += '\t' + step.from;
  if (step.IsFileStep() || step.kind == RecordStep::kSetAside) line += '\t' + step.to;
  if (step.IsFileStep() && !step.identity.empty()) line += '\t' + step.identity;
  return line + std::string(kLineEnd);
}

std::string SavedLine(size_t n, const FileState& state) {
  return "saved\t" + std::to_string(n) + '\t' + state.identity + '\t' +
         std::to_string(state.mark.size) + '\t' + std::to_string(state.mark.lastWrite) +
         std::string(kLineEnd);
}

std::string FailedLine(size_t n) { return "failed\t" + std::to_string(n) + std::string(kLineEnd); }

std::string DoneLine(size_t n, const FileState& state) {
  std::string line = "done\t" + std::to_string(n);
  if (state != FileState{})
    line += '\t' + state.identity + '\t' + std::to_string(state.mark.size) + '\t' +
            std::to_string(state.mark.lastWrite);
  return line + std::string(kLineEnd);
}

std::string BackLine(size_t n) { return "back\t" + std::to_string(n) + std::string(kLineEnd); }

std::string UndoingLine(std::string_view when) {
  return "undoing\t" + std::string(when) + std::string(kLineEnd);
}

std::string UndoneLine(std::string_view when) {
  return "undone\t" + std::string(when) + std::string(kLineEnd);
}

std::optional<RunRecord> ParseRecord(std::string_view text) {
  STEP(Sorter);
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  const std::vector<std::string_view> lines = CompleteLines(text);
  if (lines.size() < 2 || lines[0] != kFirstLine) return std::nullopt;
  const std::vector<std::string_view> started = Fields(lines[1]);
  if (started.size() != 3 || started[0] != "started" ||
      (started[2] != "move" && started[2] != "copy"))
    return std::nullopt;
  RunRecord record;
  record.started = started[1];
  record.move = started[2] == "move";
  for (size_t i = 2; i < lines.size(); ++i) {
    const std::vector<std::string_view> fields = Fields(lines[i]);
    // A done or back line names a step already read; any other number is not one of this run's.
    const auto n = fields.size() >= 2 ? Number(fields[1]) : std::nullopt;
    RecordStep* named = n && *n < record.steps.size() ? &record.steps[*n] : nullptr;
    if (fields[0] == "undone" && fields.size() == 2) {
      record.undone = true;
    } else if (fields[0] == "undoing" && fields.size() == 2) {
      record.undoBegun = true;
    } else if (fields[0] == "done") {
      const auto state = DoneState(fields);
      // A folder's step is done without a file; a file's step only with one. A run writes one
      // done line per step: a second one is damage, and the first, written when the step
      // succeeded, counts.
      if (named && !named->done && !named->failed && state &&
          (*state == FileState{}) != (named->IsFileStep() || named->kind == RecordStep::kSetAside))
        named->done = state;
    } else if (fields[0] == "saved") {
      // Each save replaces the one before: the last line counts.
      const auto state = DoneState(fields);
      if (named && named->IsFileStep() && named->done && state && *state != FileState{})
        named->saved = state;
    } else if (fields[0] == "failed") {
      // The first outcome written counts, as for done lines.
      if (named && named->IsFileStep() && !named->done && fields.size() == 2) named->failed = true;
    } else if (fields[0] == "back") {
      if (named && fields.size() == 2) named->back = true;
    } else if (auto step = Step(fields)) {
      record.steps.push_back(std::move(*step));
    }
  }
  return record;
}

std::string RecordName(std::uint64_t n) { return "sort-" + std::to_string(n) + ".txt"; }

std::uint64_t NextRecordNumber(const std::vector<std::string>& names) {
  const auto records = Records(names);
  // The highest number is not passed: a run there finds its name taken, and keeps no record.
  return records.empty() ? 1 : std::min(records.back().first.n, UINT64_MAX - 1) + 1;
}

std::vector<std::string> RecordsToRemove(const std::vector<std::string>& names, size_t keep) {
  STEP(Sorter);
  const auto records = Records(names);
  std::vector<std::string> old;
  for (size_t i = 0; i + keep < records.size(); ++i) old.push_back(records[i].second);
  return old;
}

std::vector<std::string> RecordsNewestFirst(const std::vector<std::string>& names) {
  std::vector<std::string> newest;
  const auto records = Records(names);
  for (auto record = records.rbegin(); record != records.rend(); ++record)
    newest.push_back(record->second);
  return newest;
}

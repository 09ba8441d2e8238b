#include "sorter/sort_record.h"

#include <algorithm>
#include <charconv>
#include <set>

#include "base/position.h"

namespace {
constexpr std::string_view kFirstLine = "DA3Zur sort record 1";
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
  RecordStep step{RecordStep::Kind(word - std::begin(kStepWords)), "", "", {}};
  if (step.kind == RecordStep::kMakeFolder || step.kind == RecordStep::kRemoveFolder) {
    if (fields.size() != 2 || fields[1].empty()) return std::nullopt;
    step.from = fields[1];
    return step;
  }
  if (fields.size() != 5 || fields[3].empty() || fields[4].empty()) return std::nullopt;
  const auto size = Number(fields[1]), lastWrite = Number(fields[2]);
  if (!size || !lastWrite) return std::nullopt;
  step.mark = {*size, *lastWrite};
  step.from = fields[3];
  step.to = fields[4];
  return step;
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

// A record's name read back: its stamp and number, for ordering; nothing for any other name.
struct RecordKey {
  std::string stamp;
  unsigned n;
  auto operator<=>(const RecordKey&) const = default;
};

std::optional<RecordKey> KeyOf(std::string_view name) {
  constexpr std::string_view kPrefix = "sort-", kSuffix = ".txt";
  constexpr size_t kStampLength = 15;  // YYYYMMDD-HHMMSS
  if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) return std::nullopt;
  name.remove_prefix(kPrefix.size());
  name.remove_suffix(kSuffix.size());
  if (name.size() < kStampLength + 2 || name[8] != '-' || name[kStampLength] != '-')
    return std::nullopt;
  const std::string_view stamp = name.substr(0, kStampLength);
  if (!Number(stamp.substr(0, 8)) || !Number(stamp.substr(9))) return std::nullopt;
  const std::string_view count = name.substr(kStampLength + 1);
  unsigned n = 0;
  const auto [end, error] = std::from_chars(count.data(), count.data() + count.size(), n);
  if (!Number(count) || error != std::errc() || end != count.data() + count.size())
    return std::nullopt;
  return RecordKey{std::string(stamp), n};
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
    if (step.kind == RecordStep::kMove || step.kind == RecordStep::kCopy)
      files.emplace(step.from, step.to);
  return files.size();
}

std::string RecordHeader(std::string_view started, bool move) {
  return std::string(kFirstLine) + std::string(kLineEnd) + "started\t" + std::string(started) +
         (move ? "\tmove" : "\tcopy") + std::string(kLineEnd);
}

std::string RecordLine(const RecordStep& step) {
  std::string line(kStepWords[step.kind]);
  if (step.kind != RecordStep::kMakeFolder && step.kind != RecordStep::kRemoveFolder)
    line += '\t' + std::to_string(step.mark.size) + '\t' + std::to_string(step.mark.lastWrite);
  line += '\t' + step.from;
  if (step.kind != RecordStep::kMakeFolder && step.kind != RecordStep::kRemoveFolder)
    line += '\t' + step.to;
  return line + std::string(kLineEnd);
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
    if (fields[0] == "undone" && fields.size() == 2)
      record.undone = true;
    else if (auto step = Step(fields))
      record.steps.push_back(std::move(*step));
  }
  return record;
}

std::string RecordName(std::string_view stamp, unsigned n) {
  return "sort-" + std::string(stamp) + "-" + std::to_string(n) + ".txt";
}

std::vector<std::string> RecordsToRemove(std::vector<std::string> names, size_t keep) {
  STEP(Sorter);
  const auto records = Records(names);
  std::vector<std::string> old;
  for (size_t i = 0; i + keep < records.size(); ++i) old.push_back(records[i].second);
  return old;
}

std::optional<std::string> NewestRecord(const std::vector<std::string>& names) {
  const auto records = Records(names);
  if (records.empty()) return std::nullopt;
  return records.back().second;
}

// ParseRecord on arbitrary bytes: no crash, no read out of bounds; a record read and written
// again reads back the same; and the text cut anywhere, as a run killed while writing leaves it,
// reads as no record or as the whole one's first steps, never as a step the whole does not hold,
// nor as a step done or taken back that the whole does not show so.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "file_steps/sort_record.h"

namespace {
void Check(bool holds) {
  if (!holds) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<RunRecord> record = ParseRecord(text);
  const size_t cut = size ? size * data[0] / 256 : 0;
  const std::optional<RunRecord> part = ParseRecord(text.substr(0, cut));
  if (!record) {
    Check(!part);
    return 0;
  }
  Check(record->steps.size() <= size_t(std::count(text.begin(), text.end(), '\n')));
  std::string written = RecordHeader(record->started, record->move);
  for (size_t n = 0; n < record->steps.size(); ++n) {
    written += RecordLine(record->steps[n]);
    if (record->steps[n].done) written += DoneLine(n, *record->steps[n].done);
    if (record->steps[n].failed) written += FailedLine(n);
    if (record->steps[n].saved) written += SavedLine(n, *record->steps[n].saved);
  }
  for (size_t n = 0; n < record->steps.size(); ++n)
    if (record->steps[n].back) written += BackLine(n);
  if (record->undone) written += UndoneLine("then");
  const std::optional<RunRecord> again = ParseRecord(written);
  Check(again && again->started == record->started && again->move == record->move &&
        again->steps == record->steps && again->undone == record->undone);
  if (part) {
    Check(part->started == record->started && part->move == record->move);
    Check(part->steps.size() <= record->steps.size());
    for (size_t n = 0; n < part->steps.size(); ++n) {
      const RecordStep &cut = part->steps[n], &whole = record->steps[n];
      Check(cut.kind == whole.kind && cut.from == whole.from && cut.to == whole.to &&
            cut.mark == whole.mark && cut.identity == whole.identity &&
            (!cut.done || cut.done == whole.done) && (!cut.failed || whole.failed) &&
            (!cut.saved || whole.saved) && (!cut.back || whole.back));
    }
    Check(!part->undone || record->undone);
  }
  return 0;
}

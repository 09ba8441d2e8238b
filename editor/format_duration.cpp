#include "editor/format_duration.h"

#include "base/position.h"

namespace {
// Every field is below 60 after the modulo, so two digits always hold it.
std::string TwoDigits(std::int64_t value) {
  return {char('0' + value / 10), char('0' + value % 10)};
}
}  // namespace

std::string FormatDuration(std::int64_t seconds, std::string_view separator) {
  STEP(Editor);
  std::int64_t h = 0, m = 0, s = 0;
  if (seconds > 0) {
    s = seconds % 60;
    m = seconds / 60 % 60;
    h = seconds / 3600 % 60;
  }
  std::string text = TwoDigits(h);
  text += separator;
  text += TwoDigits(m);
  text += separator;
  text += TwoDigits(s);
  return text;
}

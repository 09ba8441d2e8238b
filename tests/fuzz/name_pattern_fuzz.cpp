// ReadNamePattern and MatchName on arbitrary patterns and paths (a pattern, a line break, a path):
// no crash, no read out of bounds; a name that fits gives values without spaces at either end, a
// track of digits without leading zeros (but a lone 0) and a year of four digits. The two halves
// are also compared as Explorer orders names: never each before the other.
#include <cstdint>
#include <string>

#include "editor/name_pattern.h"
#include "editor/track_numbering.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t cut = input.find('\n');
  const std::string pattern = input.substr(0, cut),
                    path = cut == std::string::npos ? "" : input.substr(cut + 1);
  if (NaturalLess(pattern, path) && NaturalLess(path, pattern)) __builtin_trap();
  if (NaturalLess(pattern, pattern)) __builtin_trap();
  for (bool underscores : {false, true}) {
    const NameMatch match = MatchName(ReadNamePattern(pattern), path, underscores);
    if (!match.matched()) continue;
    for (const std::string& value : match.values)
      if (!value.empty() && (value.front() == ' ' || value.back() == ' ')) __builtin_trap();
    const std::string& track = match.values[kTrackName];
    if (track.find_first_not_of("0123456789") != std::string::npos ||
        (track.size() > 1 && track[0] == '0'))
      __builtin_trap();
    const std::string& year = match.values[kYearName];
    if (!year.empty() && year.size() != 4) __builtin_trap();
  }
  return 0;
}

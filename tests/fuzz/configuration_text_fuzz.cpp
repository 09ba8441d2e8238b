// ExpandLineBreaks on arbitrary catalog texts: the length stays, no backslash-n pair is left, and
// every changed place is a backslash-n turned into CR LF.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "configure/configuration_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string shown = ExpandLineBreaks(text);
  if (shown.size() != text.size() || shown.find("\\n") != std::string::npos) std::abort();
  for (size_t i = 0; i < text.size(); ++i) {
    if (shown[i] == text[i]) continue;
    if (i + 1 >= text.size() || text.compare(i, 2, "\\n") != 0 || shown.compare(i, 2, "\r\n") != 0)
      std::abort();
    ++i;
  }
  return 0;
}

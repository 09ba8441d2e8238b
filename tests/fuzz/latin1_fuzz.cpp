// The UTF-8 to 8-bit conversion on arbitrary bytes: no crash, never more characters than bytes,
// the result converts back and forth unchanged, and 8-bit text survives a round trip.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tags/latin1.h"

namespace {
void Check(bool holds) {
  if (!holds) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Latin1Result result = Utf8ToLatin1(bytes);
  Check(result.text.size() <= size);
  Latin1Result again = Utf8ToLatin1(Latin1ToUtf8(result.text));
  Check(again.stop == Utf8Stop::None && again.text == result.text);

  Latin1Result back = Utf8ToLatin1(Latin1ToUtf8(bytes));
  Check(back.stop == Utf8Stop::None && back.text == bytes);
  return 0;
}

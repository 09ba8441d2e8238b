// DropListNames on arbitrary bytes: no crash, no read past the block, and never more names than
// the block has room for.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/drop_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const CodePage ansi{[](std::string_view bytes) { return std::string(bytes); }, nullptr};
  const auto names = DropListNames({reinterpret_cast<const char*>(data), size}, ansi);
  if (names && names->size() > size) std::abort();
  return 0;
}

// The UTF-8 <-> UTF-16 conversions on arbitrary input, read once as UTF-8 bytes and once as UTF-16
// units: no read past the end (the sanitizer watches), the UTF-16 made is always valid and goes
// back and forth unchanged, valid UTF-8 comes back byte for byte, the length is the one Windows
// counts, and an unpaired surrogate is kept by the marked form and found there.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "base/utf16.h"

namespace {
void Check(bool holds) {
  if (!holds) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::u16string wide = Utf8ToUtf16(bytes);
  Check(wide.size() <= size);
  Check(Utf16Length(bytes) == wide.size());
  const std::optional<std::string> utf8 = Utf16ToUtf8(wide);
  Check(utf8.has_value());
  Check(Utf8ToUtf16(*utf8) == wide);
  Check(Utf16ToUtf8Shown(wide) == *utf8 && Utf16ToUtf8Marked(wide) == *utf8);
  // Input that is UTF-8 already comes back as it was.
  if (*utf8 == bytes) Check(!HoldsUnpairedSurrogate(bytes));

  // Into set-aside memory: a prefix of the whole, never half a pair.
  std::vector<char16_t> room(1 + size % 7);
  const size_t written = Utf8ToUtf16Into(bytes, room.data(), room.size());
  Check(written < room.size() && room[written] == 0);
  Check(wide.compare(0, written, room.data(), written) == 0);
  Check(written == wide.size() || written + 2 >= room.size());

  // The same input as UTF-16 units, which may hold unpaired surrogates.
  std::u16string units(size / 2, u'\0');
  if (!units.empty()) std::memcpy(units.data(), data, units.size() * 2);
  const std::string marked = Utf16ToUtf8Marked(units);
  const std::optional<std::string> strict = Utf16ToUtf8(units);
  Check(strict.has_value() == !HoldsUnpairedSurrogate(marked));
  if (strict) Check(*strict == marked && Utf8ToUtf16(*strict) == units);
  const std::u16string shown = Utf8ToUtf16(Utf16ToUtf8Shown(units));
  Check(shown.size() == units.size() && Utf8ToUtf16(marked) == shown);
  return 0;
}

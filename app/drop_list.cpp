#include "app/drop_list.h"

#include <cstdint>

#include "base/utf16.h"

namespace {
constexpr size_t kHeaderSize = 20;  // DROPFILES: pFiles, pt, fNC, fWide

std::uint32_t Read32(std::string_view bytes, size_t at) {
  std::uint32_t value = 0;
  for (size_t i = 4; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// The text of UTF-16 units, little-endian.
std::u16string Units(std::string_view bytes) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i)
    units[i] = char16_t(static_cast<unsigned char>(bytes[2 * i]) |
                        static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  return units;
}
}  // namespace

std::optional<std::vector<std::string>> DropListNames(std::string_view block,
                                                      const CodePage& ansi) {
  if (block.size() < kHeaderSize) return std::nullopt;
  const size_t offset = Read32(block, 0);
  const size_t unit = Read32(block, 16) ? 2 : 1;
  if (offset < kHeaderSize || offset > block.size()) return std::nullopt;
  auto zeroAt = [&](size_t at) {
    return block.substr(at, unit).find_first_not_of('\0') == std::string_view::npos;
  };
  std::vector<std::string> names;
  for (size_t at = offset;;) {
    size_t end = at;
    while (end + unit <= block.size() && !zeroAt(end)) end += unit;
    if (end + unit > block.size()) return std::nullopt;  // no zero before the block ends
    if (end == at) return names;                         // the empty name ends the list
    const std::string_view name = block.substr(at, end - at);
    names.push_back(unit == 2 ? Utf16ToUtf8Marked(Units(name)) : ansi.toUtf8(name));
    at = end + unit;
  }
}

#include "app/drop_list.h"

#include <gtest/gtest.h>

namespace {
// A DROPFILES header whose list begins at the given offset, then the list's bytes.
std::string Block(std::uint32_t offset, bool wide, std::string_view list) {
  std::string block(20, '\0');
  for (int i = 0; i < 4; ++i) block[i] = char(offset >> (8 * i));
  block[16] = wide ? 1 : 0;
  return block + std::string(list);
}

std::string Wide(std::u16string_view text) {
  std::string bytes;
  for (char16_t unit : text) bytes += {char(unit & 0xFF), char(unit >> 8)};
  return bytes;
}

// Marks what it converted, so a name read as ANSI shows that it went through the code page.
const CodePage kAnsi{[](std::string_view bytes) { return "ansi:" + std::string(bytes); }, nullptr};
}  // namespace

TEST(DropListNames, ReadsWholeListsAndRefusesBlocksThatAreNot) {
  using Names = std::optional<std::vector<std::string>>;
  const std::u16string kino = u"C:\\\u041A\u0438\u043D\u043E.mp3";
  const struct {
    std::string block;
    Names names;
  } cases[] = {
      {Block(20, true, Wide(kino + u'\0' + u"D:\\b.ogg" + u'\0' + u'\0')),
       std::vector<std::string>{"C:\\\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE.mp3", "D:\\b.ogg"}},
      {Block(20, false, std::string("C:\\caf\xE9.mp3\0\0", 14)),
       std::vector<std::string>{"ansi:C:\\caf\xE9.mp3"}},
      {Block(20, true, Wide(std::u16string(1, u'\0'))), std::vector<std::string>{}},
      {Block(24, true, std::string(4, 'x') + Wide(std::u16string(u"a\0\0", 3))),
       std::vector<std::string>{"a"}},        // a list after more of a header than DROPFILES has
      {std::string(19, '\0'), std::nullopt},  // no whole header
      {Block(0x40000000, true, Wide(std::u16string(u"a\0\0", 3))), std::nullopt},  // offset past
      {Block(8, true, Wide(std::u16string(u"a\0\0", 3))), std::nullopt},  // list in the header
      {Block(20, true, Wide(u"C:\\a.mp3")), std::nullopt},                // no zero at the end
      {Block(20, true, Wide(std::u16string(u"a\0", 2)) + "\0"), std::nullopt},  // half a unit
  };
  for (const auto& c : cases) EXPECT_EQ(DropListNames(c.block, kAnsi), c.names) << c.block.size();
}

// ParseCatalog on arbitrary bytes: accepted exactly when the first line is "Catalog" (after a
// byte-order mark or not), a refused
// catalog leaves the table as it was, and no text holds a line end, nor the texts taken from the
// file more bytes than the file.
// A reader that stops where CatalogLineCounter says it has every line gets the same table as one
// that read the whole file, whatever the chunks.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/catalog.h"

namespace {
// A code page that takes the bytes as they are, so the texts can be held against the file.
const CodePage kBytesAsTheyAre{
    [](std::string_view bytes) { return std::string(bytes); },
    [](std::string_view utf8) { return std::optional<std::string>(utf8); },
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TextTable texts;
  texts.fill("untouched");
  std::string_view afterMark = bytes;
  if (afterMark.substr(0, 3) == "\xEF\xBB\xBF") afterMark.remove_prefix(3);
  const bool header =
      afterMark.substr(0, 7) == "Catalog" && (afterMark.size() == 7 || afterMark[7] == '\r' ||
                                              afterMark[7] == '\n' || afterMark[7] == '\0');
  if (ParseCatalog(bytes, texts, kBytesAsTheyAre) != header) std::abort();
  size_t total = 0;
  for (size_t i = 0; i < kTextCount; ++i) {
    const std::string& text = texts[i];
    if (!header && text != "untouched") std::abort();
    if (header && text.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
      std::abort();
    // A later text that the catalog does not reach keeps its English default.
    if (i < kFirstAddedText || text != DefaultText(i)) total += text.size();
  }
  if (header && total > size) std::abort();

  const size_t chunk = 1 + size % 5;
  CatalogLineCounter counter;
  size_t taken = 0;
  while (taken < size && !counter.Take(bytes.substr(taken, chunk))) taken += chunk;
  taken = std::min(size, taken + chunk);
  TextTable fromPrefix;
  fromPrefix.fill("untouched");
  ParseCatalog(bytes.substr(0, taken), fromPrefix, kBytesAsTheyAre);
  if (fromPrefix != texts) std::abort();
  return 0;
}

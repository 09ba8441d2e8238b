// ParseCatalog on arbitrary bytes: accepted exactly when the first line is "Catalog", a refused
// catalog leaves the table as it was, and no text holds a line end, nor the texts taken from the
// file more bytes than the file.
// A reader that stops where CatalogLineCounter says it has every line gets the same table as one
// that read the whole file, whatever the chunks.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/catalog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TextTable texts;
  texts.fill("untouched");
  const bool header = bytes.substr(0, 7) == "Catalog" &&
                      (size == 7 || bytes[7] == '\r' || bytes[7] == '\n' || bytes[7] == '\0');
  if (ParseCatalog(bytes, texts) != header) std::abort();
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
  ParseCatalog(bytes.substr(0, taken), fromPrefix);
  if (fromPrefix != texts) std::abort();
  return 0;
}

// Language catalogs: a header line "Catalog", then the texts, one per line.
#pragma once
#include <string_view>

#include "settings/text_table.h"

// Reads a catalog from its bytes into texts. Lines end at CR LF, LF, a lone CR or a NUL byte.
// Returns false, leaving texts unchanged, when the first line is not exactly "Catalog". Of the
// first 43 texts, missing lines become empty; a text added later keeps its English default unless
// its line holds text. Lines after the last text are ignored.
bool ParseCatalog(std::string_view bytes, TextTable& texts);

// Counts the lines of a catalog as its bytes arrive, so that a reader can stop once it holds every
// line the text table uses: the header and kTextCount texts.
class CatalogLineCounter {
 public:
  // Takes the next bytes of the file; true once the bytes taken so far hold all those lines.
  bool Take(std::string_view bytes);

 private:
  size_t lines_ = 0;
  bool afterCr_ = false;  // a LF right after a CR ends no line of its own
};

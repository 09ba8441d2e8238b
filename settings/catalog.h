// Language catalogs: a header line "Catalog", then the texts, one per line.
#pragma once
#include <string_view>

#include "settings/text_table.h"

// Reads a catalog from its bytes into texts. Lines end at CR LF, LF, a lone CR or a NUL byte.
// Returns false, leaving texts unchanged, when the first line is not exactly "Catalog". Of the first
// 43 texts, missing lines become empty; a text added later that the catalog does not reach keeps its
// English default. Lines after the last text are ignored.
bool ParseCatalog(std::string_view bytes, TextTable& texts);

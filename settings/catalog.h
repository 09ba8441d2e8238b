// Language catalogs: a header line "Catalog", then the 43 texts, one per line.
#pragma once
#include <string_view>

#include "settings/text_table.h"

// Reads a catalog from its bytes into texts. Lines end at CR LF, LF, a lone CR or a NUL byte.
// Returns false, leaving texts unchanged, when the first line is not exactly "Catalog". Missing
// lines become empty texts; lines after the 43rd are ignored.
bool ParseCatalog(std::string_view bytes, TextTable& texts);

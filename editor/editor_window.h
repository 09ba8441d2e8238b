// The tag editor window for one file.
#pragma once
#include <string>

#include "app/program_tables.h"
#include "tags/tag_info.h"

// Shows the record; 1 when the user pressed Save (the record then holds the edited values), 0 for
// Cancel, the close box or a window that could not be created (the record is then unchanged).
int EditTags(const ProgramTables& tables, TagInfo& record, const std::string& fileName);

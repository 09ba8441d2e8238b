// The file names of a CF_HDROP block, the form Explorer hands a selection of files in.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/code_page.h"

// Reads the names from the block's bytes alone: a DROPFILES header (the list's offset at 0, its
// wide flag at 16), then the names, each ended by a zero, and the list by an empty name. The
// platform's own reading trusts the header and reads past the end of a malformed block. Names come
// as UTF-8, a wide one with an unpaired surrogate keeping its mark, one in the ANSI code page
// converted by it. Nothing when the block is not whole: shorter than its header, or a list that
// begins outside it or runs past its end.
std::optional<std::vector<std::string>> DropListNames(std::string_view block, const CodePage& ansi);

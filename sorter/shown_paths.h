// How the sorter's file list shows a row in its narrow columns: the file's name, and its target
// from where it leaves the pattern's fixed folder, so what tells the rows apart stays in view.
#pragma once
#include <string>
#include <string_view>

#include "base/name_case.h"
#include "sorter/target_path.h"

// The folder every target of the pattern starts with, as the targets spell it: the pattern up to
// the last separator before its first %, * or $ outside the literal folder, read as a target is.
// Empty when the pattern's first level already varies. A plain text has no literal folder.
std::string FixedFolderOf(const TargetPattern& pattern);
std::string FixedFolderOf(std::string_view pattern);

// A row's text with the target at its end shortened to what follows the fixed folder (compared
// through the file system's case table); the reason in front of it stays. The text is kept whole
// when it does not end in the target or the target does not begin with the folder.
std::string ShortenedTargetText(std::string_view rowText, std::string_view target,
                                std::string_view fixedFolder, const NameCase& names);

// The hover text of a row: the full source path, and on a second line the full target, when
// there is one.
std::string FullPathsText(std::string_view source, std::string_view target);

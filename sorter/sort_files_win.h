// The file-system side of the sort run: tag reading, folder chains, copying and moving.
#pragma once
#include <string>

#include "sorter/sort_run.h"

// Creates every missing level of a folder, outermost first. Errors are ignored: a level that
// cannot be made (a file bears its name, say) leaves the deeper levels missing too.
void CreateFolderChain(const std::string& folder);

// Fills the run's read, createFolders, copy and move steps.
void SetFileSteps(SortRunSteps& steps);

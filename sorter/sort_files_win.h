// The file-system side of the sort run and its preview: tag reading, what is at a target, folder
// chains, copying and moving.
#pragma once
#include <string>

#include "sorter/sort_run.h"
#include "sorter/stepwise_copy_win.h"

// Creates every missing level of a folder, outermost first. Errors are ignored: a level that
// cannot be made (a file bears its name, say) leaves the deeper levels missing too, and the copy
// or move that follows reports it.
void CreateFolderChain(const std::string& folder);

// What is at a target: nothing, another file, or the source file itself (under another spelling
// of its path, say).
TargetState TargetStateOf(const std::string& source, const std::string& target);

// The run's steps on the real file system. With whileCopying, a file is copied or moved in steps
// while the window goes on answering (a move within one volume stays a rename).
SortFileSteps FileSteps(WhileCopying whileCopying = {});

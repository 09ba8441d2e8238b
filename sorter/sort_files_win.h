// The file-system side of the sort run and its preview: tag reading, what is at a target, folder
// chains, copying and moving.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "file_steps/record_file_win.h"
#include "file_steps/recorded_steps.h"
#include "sorter/sort_run.h"
#include "file_steps/stepwise_copy_win.h"

// Creates every missing level of a folder, outermost first, each in the record first where
// there is one. Errors are ignored: a level that cannot be made (a file bears its name, say)
// leaves the deeper levels missing too, and the copy or move that follows reports it.
void CreateFolderChain(const std::string& folder, RecordedSteps* record = nullptr);

// What is at a target: nothing, another file, or the source file itself (under another spelling
// of its path, say).
TargetState TargetStateOf(const std::string& source, const std::string& target);

// The files (not folders) in a folder given with its backslash, as whole paths.
std::vector<std::string> FilesIn(const std::string& folder);

// The copy, move and record steps of a run on the real file system: with whileCopying, a file is
// copied or moved in steps while the window goes on answering (a move within one volume stays a
// rename); every step goes into the record.
PlainSteps PlainFileSteps(const WhileCopying& whileCopying, RecordWriter& record);

// The run's steps on the real file system, each step that changes the disk recorded, and a file
// that a copy replaces kept aside for undo.
SortFileSteps FileSteps(std::shared_ptr<RecordedSteps> recorded);

// After a move run: removes the source folders it emptied (nothing left but Thumbs.db,
// desktop.ini or .DS_Store, which are set aside), and their parents the same way, never above the
// folder the sorter started in (or, for a file from elsewhere, its own folder), never the target
// tree or a root. Each step is recorded first. Gives how many folders went.
size_t RemoveEmptiedFolders(const SortSummary& summary, const std::string& selectionFolder,
                            RecordedSteps& record);

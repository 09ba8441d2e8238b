// The source folders a move run emptied, which it removes afterwards: what is left of an album
// folder whose files all went is a shell, often holding no more than the thumbnails and view
// settings that Windows and macOS leave behind.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "file_steps/recorded_steps.h"

// What finding the shells asks of the file system.
struct FolderWalk {
  // The names in a folder, without "." and ".."; nothing when it can't be listed.
  std::function<std::optional<std::vector<std::string>>(const std::string& folder)> names;
  // A name as the file system compares it.
  std::function<std::u16string(const std::string& name)> folded;
  // Whether a folder stays, empty or not: one the system names for the user, or a customised
  // (read-only or system) one; may be empty.
  std::function<bool(const std::string& folder)> keep;
};

struct EmptiedFolder {
  std::string folder;                  // ends in a backslash
  std::vector<std::string> leftovers;  // the paths of its Thumbs.db, desktop.ini, .DS_Store
};

// For each moved file (its source path, and the folder the user's selection came from), the
// folders, innermost first, that hold nothing but Thumbs.db, desktop.ini or .DS_Store (in any
// case) once the folders before them in the result are gone, their leftovers deleted first. Never
// a drive's root (C:\ or \\server\share\), never a folder that holds or is one of the targets
// (files or folders, in any spelling: they are folded here), never a folder above the selection's
// folder; that folder itself may go. Each folder comes at most once, spelt as the first moved
// file's path spells it. A folder that walk.keep keeps is never among them, nor its parents, and
// its leftovers stay with it.
std::vector<EmptiedFolder> EmptiedFolders(
    const std::vector<std::pair<std::string, std::string>>& movedFromAndSelection,
    const std::vector<std::string>& targets, const FolderWalk& walk);

// What removing the emptied folders asks beyond the walk.
struct FolderRemoval {
  FolderWalk walk;
  // Whether the drive of a path has a Recycle Bin; may be empty: every drive has one.
  std::function<bool(const std::string& path)> hasRecycleBin;
  std::function<std::uint32_t(const std::string& folder)> removeFolder;  // 0 or the error
};

// After a move run: removes the source folders it emptied (EmptiedFolders, for each moved file
// and the folder its selection came from), each removal recorded first. A folder's leftovers
// are set aside first, each recorded, in the run's set-aside folder of the nearest folder above
// it that stays, under their path below that folder, so that undo puts them back and the Recycle
// Bin later shows them under their own names; a folder that could not be removed gets them back.
// On a drive without a Recycle Bin, where a set-aside file is deleted for good once released, a
// folder with leftovers stays, and so do the folders above it, unless the user agreed
// (mayDeleteWithoutBin). Gives how many folders went.
size_t RemoveEmptiedFolders(const std::vector<std::pair<std::string, std::string>>& moved,
                            const std::vector<std::string>& targets, bool mayDeleteWithoutBin,
                            RecordedSteps& record, const FolderRemoval& removal);

// Copying and moving a file without holding up the window: the platform's copy of a large file
// runs on a worker thread with a progress routine, while the calling (window) thread goes on
// handling its messages; a small one runs on the calling thread, served from the progress routine.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include <windows.h>

#include "base/file_mark.h"
#include "file_steps/file_errors.h"

// Called on the calling thread every few tens of milliseconds while a file goes: whether it is a
// move, how many bytes are done of how many (0 of 0 until the platform has said), to show them
// and to handle what waits for the window. False asks the copy to stop.
using WhileCopying = std::function<bool(bool moving, std::uint64_t done, std::uint64_t total)>;

// Copies source to target through CopyFileExW, into a hidden file beside the target
// (SortCopyName) that takes the target's name with one rename, which never replaces a file: a
// stop, a full disk, a dropped share or a forced end leave no cut file under the target's name,
// and a file there as it was. Given an aside name (in a set-aside folder), the file at the target
// is moved there just before the copy takes its place; without one, a taken target is refused.
// Gives 0, the system's error code, or kErrorRequestAborted when stopped; placed, where given, gets
// the placed copy's state, read through the handle that renamed it.
std::uint32_t CopyInSteps(const std::string& source, const std::string& target,
                          const WhileCopying& whileCopying, const std::string& aside = "",
                          std::optional<FileState>* placed = nullptr);

// Moves source to target, never replacing a file. Within one volume a rename, at once, whatever
// the paths' letters; across volumes (the rename refused as "not the same device") a copy into a
// hidden file beside the target, renamed into the target's name, then the source deleted: stopped,
// failed or ended by force, the source stays and no target is left. Gives 0, the system's error
// code, or kErrorRequestAborted when stopped. renamed, where given, says whether the move was a
// rename. placed, where given, gets the moved file's state as it stands at the target, read
// through the handle that put it there, where the move changed it: across volumes, and on a
// volume that gives a renamed file a new index (FAT); a rename elsewhere leaves it as it was.
std::uint32_t MoveInSteps(const std::string& source, const std::string& target,
                          const WhileCopying& whileCopying, bool* renamed = nullptr,
                          std::optional<FileState>* placed = nullptr);

// Removes the hidden copies beside targets in the folder (ending in a backslash) that a sort left
// when its process ended before it could put them in place or remove them.
void RemoveLeftoverCopies(const std::string& folder);

// Deletes a file of the program's own making, also when it is read-only (copied from a read-only
// source); false, with the system's error, when it could not.
BOOL RemoveOwnFile(const std::string& path);

// Takes the hidden mark off a file the program kept hidden, where one is there.
void ShowFile(const std::string& path);

// The first of the names made for attempts 0 to 99 that holds nothing yet; empty when all do.
std::string UnusedName(const std::function<std::string(int attempt)>& name);

// Copying and moving a file without holding up the window: the platform's copy of a large file
// runs on a worker thread with a progress routine, while the calling (window) thread goes on
// handling its messages; a small one runs on the calling thread, served from the progress routine.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "sorter/sort_run.h"

// Called on the calling thread every few tens of milliseconds while a file goes: whether it is a
// move, how many bytes are done of how many (0 of 0 until the platform has said), to show them
// and to handle what waits for the window. False asks the copy to stop.
using WhileCopying = std::function<bool(bool moving, std::uint64_t done, std::uint64_t total)>;

// Copies source to target (replacing an existing target only when told to) through CopyFileExW.
// Stopped, it leaves no target: the platform removes a partial one, and a new target the copy
// finished before the stop took effect is removed too (the source is still there). Gives 0, the
// system's error code, or kErrorRequestAborted when stopped.
std::uint32_t CopyInSteps(const std::string& source, const std::string& target, bool replace,
                          const WhileCopying& whileCopying);

// Moves source to target, never replacing a file. Within one volume a rename, at once; across
// volumes a copy and delete through MoveFileWithProgressW, which stopped keeps the source and
// leaves no target. Gives 0 or the system's error code.
std::uint32_t MoveInSteps(const std::string& source, const std::string& target,
                          const WhileCopying& whileCopying);

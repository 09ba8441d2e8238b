// The sorter: its window, and the hand-over of files between sorter processes.
#pragma once
#include <string>
#include <vector>

#include "settings/text_table.h"

// The window's fixed title, the same in every language: later sorter processes find the window by
// it.
inline constexpr char kSorterTitle[] = "Veltan's DA3Zur Sorter 1.0";

// The first sorter process (the one that creates the mutex) shows the sorter window with the files
// and returns when it has closed. A later one hands its files to that window and returns; when no
// window shows up within about 5 s, or the window refuses a file (its run has ended, or Cancel or
// the close box was used), goes away or does not answer within a minute, it opens its own window
// with the files not taken, so no file is dropped.
void RunSorter(const TextTable& texts, const std::vector<std::string>& files);

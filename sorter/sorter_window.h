// The sorter: its window, and the hand-over of files between sorter processes.
#pragma once
#include <string>
#include <vector>

#include "settings/text_table.h"

// Shows the sorter window with the files, or hands them to the sorter window already open.
void RunSorter(const TextTable& texts, const std::vector<std::string>& files);

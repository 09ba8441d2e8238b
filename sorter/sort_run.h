// The sort run over the sorter window's file list, through the steps the window and the file
// system provide.
#pragma once
#include <functional>
#include <string>

#include "settings/text_table.h"
#include "tags/tag_info.h"

struct SortRunSteps {
  // A Yes/No box; true for Yes.
  std::function<bool(const std::string& title, const std::string& text)> ask;
  std::function<std::string()> pattern;     // the pattern field's text
  std::function<size_t()> rowCount;         // the file list's current number of rows
  std::function<std::string(size_t)> row;   // the text of one row
  std::function<int(const std::string& path, TagInfo& tags)> read;  // 1: the file opened
  std::function<void(const std::string& folder)> createFolders;
  // Copy replaces an existing target; move never does. Failures are not reported.
  std::function<void(const std::string& source, const std::string& target)> copy;
  std::function<void(const std::string& source, const std::string& target)> move;
  // Called after each row: lets the window handle what is waiting (paint, hand-overs).
  std::function<void()> betweenFiles;
};

// Asks whether the originals are to be deleted (Yes: move, No: copy), reads the pattern once, then
// places every row's file, the row count read again before each row so that rows added meanwhile
// join the run. An unreadable file gets a Yes/No box: Yes goes on, No ends the run. Each file's
// tags are read into a cleared record, so a file without a tag never takes the previous one's.
void SortRun(const TextTable& texts, const SortRunSteps& steps);

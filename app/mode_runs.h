// The edit run and the collection of files for the sort run, over the steps they take.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "settings/text_table.h"
#include "tags/tag_info.h"

struct EditRunSteps {
  std::function<int(const std::string& path, TagInfo& record)> read;
  std::function<int(TagInfo& record, const std::string& path)> edit;  // 1: saved, 0: cancelled
  // 1: saved; else reason tells why where that is known, and stays empty where not.
  std::function<int(const std::string& path, const TagInfo& record, std::string& reason)> write;
  std::function<void(const std::string& title, const std::string& text)> message;
};

// Reads, edits and writes every path after "-edit" in turn; a file that cannot be read or written
// gets one box, with the reason a save failed on the line after the path, and the run goes on. The
// record is cleared before each read, so a file without a tag never shows or receives the previous
// file's values. A save's leftover copy is skipped; a name that holds an unpaired surrogate gets
// the box with that reason.
void RunEditMode(const Arguments& args, const TextTable& texts, const EditRunSteps& steps);
// The same run over paths handed over by an Explorer verb.
void RunEditFiles(const std::vector<std::string>& paths, const TextTable& texts,
                  const EditRunSteps& steps);

// The paths after "-sort" that name existing files, in command-line order, duplicates kept; a
// save's leftover copy is left out. A name that holds an unpaired surrogate is kept, so the sort
// lists it and says why it can't be placed.
std::vector<std::string> CollectSortFiles(const Arguments& args,
                                          const std::function<bool(const std::string&)>& isFile);
// The same choice among paths handed over by an Explorer verb.
std::vector<std::string> CollectSortFiles(std::vector<std::string> paths,
                                          const std::function<bool(const std::string&)>& isFile);

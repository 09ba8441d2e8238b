// The edit run and the collection of files for the sort run, over the steps they take.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "editor/editor_fields.h"
#include "settings/text_table.h"
#include "tags/tag_info.h"

struct EditRunSteps {
  std::function<int(const std::string& path, TagInfo& record)> read;
  // How many files read at once, each on a thread of its own (read is then called from them): a
  // file's large cover makes its reading cost milliseconds, an album's seconds.
  unsigned readers = 1;
  // One file's editor; typed, where given, holds what was typed in the editor of several files.
  std::function<EditorResult(const TagInfo& record, const std::string& path,
                             const EditedFields* typed)>
      edit;
  // One editor for several files; on Save it calls write for every file in turn, on a worker, and
  // a Cancel meanwhile stops it between two files.
  std::function<EditorResult(const std::vector<TagInfo>& records,
                             const std::vector<std::string>& paths, const WriteTypedFields& write)>
      editTogether;
  // Writes what was typed into the file as it is at the write: 1 when saved; else reason says why.
  std::function<int(const std::string& path, const EditedFields& fields, std::string& reason)>
      write;
  std::function<void(const std::string& title, const std::string& text)> message;
};

// Reads every path after "-edit"; the files that cannot be read get one box, with the reason where
// it is known (a name that holds an unpaired surrogate), and the rest are edited: one file in its
// editor, several in one editor together, or, when the user asks for that there, one after the
// other in an editor each, which show what was typed for all of them. The files that cannot be
// written get one box, with the reason a save failed after the path, and the run goes on. A save
// of several files stopped before its end gets one box instead: how many were saved, and which
// files are unchanged, with the reason for those that failed. Each record starts empty, so a file
// without a tag never shows or receives another file's values. A save's leftover copy is skipped.
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

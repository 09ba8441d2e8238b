// The names of the copies a save or a sort writes before they take a file's place. A save's copy
// that could not be removed afterwards is marked hidden and keeps its name; a sort's copy left by
// a process that ended early is removed by the next run; the edit and sort runs skip both.
#pragma once
#include <optional>
#include <string>
#include <string_view>

// "~DA3Zur-<process>-<attempt>.saving" beside the original, with the original's extension, so
// TagLib treats the copy as the same kind of file.
std::string SaveCopyName(std::string_view fileName, unsigned long processId, int attempt);

// "~DA3Zur-<process>-<attempt>.sorting" beside a sort's target, with its extension: the copy a
// sort writes whole before it puts it in the target's place.
std::string SortCopyName(std::string_view target, unsigned long processId, int attempt);

// "~DA3Zur-<process>-<attempt>.replaced" beside a sort's target, with its extension: the hidden
// name under which earlier versions kept a file that a sort's copy replaced. Records of theirs
// still name files so.
bool IsSetAsideName(std::string_view path);

// "~DA3Zur-<process>", or "~DA3Zur-<process>-<attempt>" from attempt 1 on, with a backslash: the
// hidden folder in which a sort keeps, each under its own name, the files its copies replaced in
// the folder that holds it, and the leftovers (Thumbs.db, desktop.ini) of the folders it emptied,
// until the sort is undone or another begins.
std::string SetAsideFolderName(unsigned long processId, int attempt);

// The set-aside folder the path is in or is, as far as its backslash; empty when there is none.
std::string SetAsideFolderOf(std::string_view path);

// Whether the path's file part has the form SaveCopyName or SortCopyName gives, or the path is a
// set-aside folder or in one: a file of the program's own that no run lists.
bool IsSaveCopyName(std::string_view path);

// The process that wrote a copy named as SortCopyName gives; nothing for any other name.
std::optional<unsigned long> SortCopyProcess(std::string_view path);

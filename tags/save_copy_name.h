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
// name a file that a sort's copy replaced is kept under until that sort is undone or another
// begins.
std::string SetAsideName(std::string_view target, unsigned long processId, int attempt);

// Whether the path's file part has the form SaveCopyName, SortCopyName or SetAsideName gives.
bool IsSaveCopyName(std::string_view path);

// Whether the path's file part has the form SetAsideName gives.
bool IsSetAsideName(std::string_view path);

// The process that wrote a copy named as SortCopyName gives; nothing for any other name.
std::optional<unsigned long> SortCopyProcess(std::string_view path);

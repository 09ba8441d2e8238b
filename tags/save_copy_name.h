// The name of the copy a save goes into before it replaces the original. A copy that could not be
// removed afterwards is marked hidden and keeps this name, which the edit and sort runs skip.
#pragma once
#include <string>
#include <string_view>

// "~DA3Zur-<process>-<attempt>.saving" beside the original, with the original's extension, so
// TagLib treats the copy as the same kind of file.
std::string SaveCopyName(std::string_view fileName, unsigned long processId, int attempt);

// Whether the path's file part has the form SaveCopyName gives.
bool IsSaveCopyName(std::string_view path);

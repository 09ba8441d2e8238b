// Which files are audio files, by their extension: the sorter's and the name reader's one list.
#pragma once
#include <string_view>

// Whether the file is an audio file (by its extension, in any case).
bool IsAudioFile(std::string_view path);

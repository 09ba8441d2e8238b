// Reading and writing a file's tags and audio properties through TagLib.
#pragma once
#include <functional>
#include <string>

#include "tags/tag_info.h"

// 1 when TagLib opened the file; the record then holds what the file has (fields the file lacks
// keep their values). 0 for a blank name, a missing, empty or folder path, a null record or a file
// TagLib cannot open; the record is then untouched.
int ReadTags(const std::string& fileName, TagInfo* record);

// Stores the seven tag fields. The save goes into a copy beside the file, which replaces the
// original only when it opens again with the same audio properties, so a failed save leaves the
// original as it was. 1 when the file now holds the fields, 0 otherwise.
int WriteTags(const std::string& fileName, const TagInfo* record);

// The step that puts the checked copy in the original's place: true when done, else false with
// the system's error code. WriteTags without it uses ReplaceFile; tests put failures in its place.
using ReplaceStep =
    std::function<bool(const std::string& original, const std::string& copy, unsigned long& error)>;

// WriteTags with the given replace step. After a failed replace the copy is deleted only when the
// original is there unchanged; when the original's name is empty, the copy takes it.
int WriteTags(const std::string& fileName, const TagInfo* record, const ReplaceStep& replace);

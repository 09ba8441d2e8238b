// Reading and writing a file's tags and audio properties through TagLib.
#pragma once
#include <string>

#include "tags/safe_save.h"
#include "tags/tag_info.h"

// 1 when TagLib opened the file; the record then holds what the file has (fields the file lacks
// keep their values). 0 for a blank name, a missing, empty or folder path, a null record or a file
// TagLib cannot open; the record is then untouched.
int ReadTags(const std::string& fileName, TagInfo* record);

// Stores the tag fields in which the record differs from what reading the file gives now; the
// others are not set, so the file keeps whatever it holds beyond the program's reading of them.
// The save goes into a copy beside the file, which replaces the original only when it opens again
// with the same audio properties and reads back the fields set, so a failed save leaves the
// original as it was. 1 when the file now holds the fields, 0 otherwise; error, where given, then
// holds the system's error code for why, or 0 where TagLib could not save the file as meant.
int WriteTags(const std::string& fileName, const TagInfo* record, unsigned long* error = nullptr);

// WriteTags with the given replace step in place of ReplaceWithCopy. After a failed replace the
// copy is deleted only when the original is there unchanged; when the original's name is empty,
// the copy takes it.
int WriteTags(const std::string& fileName, const TagInfo* record, const ReplaceStep& replace,
              unsigned long* error = nullptr);

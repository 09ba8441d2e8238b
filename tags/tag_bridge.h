// Reading and writing a file's tags and audio properties through TagLib.
#pragma once
#include <functional>
#include <string>

#include "tags/cover_art.h"
#include "tags/safe_save.h"
#include "tags/tag_info.h"

// 1 when TagLib opened the file; the record then holds what the file has (fields the file lacks
// keep their values). 0 for a blank name, a missing, empty or folder path, a null record or a file
// TagLib cannot open; the record is then untouched.
int ReadTags(const std::string& fileName, TagInfo* record);
// ReadTags that also sums up the file's pictures, in the same open.
int ReadTags(const std::string& fileName, TagInfo* record, CoverSummary* cover);

// The picture the editor shows of a file; nothing for a file without pictures or one that no longer
// opens.
std::optional<ShownCover> ReadShownCover(const std::string& fileName);

// What a save does to a file's tag fields: it is handed a fresh reading of the file, made just
// before the write, and sets in it the fields it means to change.
using TagEdit = std::function<void(TagInfo& fresh)>;

// Reads the file again just before the write, applies the edit to that reading and stores the
// fields the edit changed; every other field, frame, value and picture stays as the file holds it
// at that moment, and several values stay several. The save goes into a copy beside the file,
// which replaces the original only when it opens again with the same audio properties, reads back
// the fields as meant, holds every other value it held, and the original has not been written
// meanwhile (else the save is made once more from the file as it is then). A failed save leaves
// the original as it was. 1 when the file now holds the fields, 0 otherwise; error, where given,
// then holds the system's error code for why (ERROR_FILE_NOT_FOUND for a file no longer there),
// one of the save's own (safe_save.h), or 0 where TagLib could not save the file as meant.
int WriteTags(const std::string& fileName, const TagEdit& edit, unsigned long* error = nullptr);
// WriteTags with the given replace step in place of ReplaceWithCopy. After a failed replace the
// copy is deleted only when the original is there unchanged; when the original's name is empty,
// the copy takes it.
int WriteTags(const std::string& fileName, const TagEdit& edit, const ReplaceStep& replace,
              unsigned long* error = nullptr);
// WriteTags that also makes the cover change: the pictures are set in the same fresh reading and
// checked as the fields are (the front cover read back byte for byte, every other picture kept).
// A format that holds no picture fails with kErrorHoldsNoPicture, a FLAC block the cover would
// outgrow with kErrorPictureTooLarge. Every save checks that it kept the pictures it did not
// change.
int WriteTags(const std::string& fileName, const TagEdit& edit, const CoverChange& cover,
              unsigned long* error = nullptr);

// The edit that gives every tag field the record's value: the fields in which it differs from the
// file are stored.
TagEdit SetAllFields(const TagInfo& record);
// WriteTags with SetAllFields(*record); 0 for a null record.
int WriteTags(const std::string& fileName, const TagInfo* record, unsigned long* error = nullptr);
int WriteTags(const std::string& fileName, const TagInfo* record, const ReplaceStep& replace,
              unsigned long* error = nullptr);

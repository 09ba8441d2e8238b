// Saving a file through a copy beside it: the save goes into the copy, which replaces the original
// only once it has been checked, so a save that fails leaves the original as it was.
#pragma once
#include <functional>
#include <optional>
#include <string>

// The step that puts the checked copy in the original's place: true when done, else false with
// the system's error code. The program's is ReplaceWithCopy; tests put failures in its place.
using ReplaceStep =
    std::function<bool(const std::string& original, const std::string& copy, unsigned long& error)>;

// ReplaceFile, which keeps the original's attributes and identity.
bool ReplaceWithCopy(const std::string& original, const std::string& copy, unsigned long& error);

// The free bytes of the volume that holds the path; nothing when the volume does not tell (some
// network shares). The program's is FreeBytesBeside; tests put other answers in its place.
using FreeSpaceQuery = std::function<std::optional<unsigned long long>(const std::string& path)>;
std::optional<unsigned long long> FreeBytesBeside(const std::string& path);

// Whether the name holds a file that is not read-only, so a save may replace it; else false with
// the system's error code for why not.
bool MayReplace(const std::string& fileName, unsigned long& error);

// What is done to the copy: save writes into it, check reads it back; each is true when all
// went well.
using CopyStep = std::function<bool(const std::string& copy)>;

// Copies the file beside it; with room bytes free on its volume (or a volume that does not tell,
// where the check is the guard), saves into the copy and checks
// it, and lets replace put the checked copy in the original's place. After a failed replace the
// copy is deleted only when the original is there unchanged; when the original's name is empty,
// the copy takes it. True when the name holds the checked copy and no other version of the file
// was left behind. Otherwise error tells why where the system does (no room for the copy or the
// save, no right to create the copy, its name past the path limit, a failed replace), and is 0
// where the save or the check failed on their own.
bool SaveThroughCopy(const std::string& fileName, unsigned long long room, const CopyStep& save,
                     const CopyStep& check, const ReplaceStep& replace, unsigned long& error,
                     const FreeSpaceQuery& freeSpace = FreeBytesBeside);

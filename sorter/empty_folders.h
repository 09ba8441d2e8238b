// The source folders a move run emptied, which it removes afterwards: what is left of an album
// folder whose files all went is a shell, often holding no more than the thumbnails and view
// settings that Windows and macOS leave behind.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// What finding the shells asks of the file system.
struct FolderWalk {
  // The names in a folder, without "." and ".."; nothing when it can't be listed.
  std::function<std::optional<std::vector<std::string>>(const std::string& folder)> names;
  // A name as the file system compares it.
  std::function<std::u16string(const std::string& name)> folded;
  // Whether a folder stays, empty or not: one the system names for the user, or a customised
  // (read-only or system) one; may be empty.
  std::function<bool(const std::string& folder)> keep;
};

struct EmptiedFolder {
  std::string folder;                  // ends in a backslash
  std::vector<std::string> leftovers;  // the paths of its Thumbs.db, desktop.ini, .DS_Store
};

// For each moved file (its source path, and the folder the user's selection came from), the
// folders, innermost first, that hold nothing but Thumbs.db, desktop.ini or .DS_Store (in any
// case) once the folders before them in the result are gone, their leftovers deleted first. Never
// a drive's root (C:\ or \\server\share\), never a folder that holds or is one of the targets
// (files or folders, in any spelling: they are folded here), never a folder above the selection's
// folder; that folder itself may go. Each folder comes at most once, spelt as the first moved
// file's path spells it. A folder that walk.keep keeps is never among them, nor its parents, and
// its leftovers stay with it.
std::vector<EmptiedFolder> EmptiedFolders(
    const std::vector<std::pair<std::string, std::string>>& movedFromAndSelection,
    const std::vector<std::string>& targets, const FolderWalk& walk);

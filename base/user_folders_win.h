// The folders the system names for the user: never an album's folder, and never removed when a
// move empties them.
#pragma once
#include <string>

// Whether the folder (with or without its backslash) is the user's profile, Desktop, Documents,
// Downloads, Music, Pictures or Videos folder, or their public twins, in any spelling of case.
bool IsUserFolder(const std::string& folder);

// File-system queries and whole-file reads with the ANSI Win32 calls.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

// The size of a file; nothing for a folder or a missing path.
std::optional<std::uint64_t> FileSize(const std::string& path);
bool IsFolder(const std::string& path);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);
// Reads from the file's current position to its end.
bool ReadRest(HANDLE file, std::string& bytes);

// The full path of the running executable, and its folder with the trailing backslash.
std::string ProgramPath();
std::string ProgramFolder();

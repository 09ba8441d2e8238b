// What tells a file from the one that was at its name before, or from the one a step left there.
#pragma once
#include <cstdint>
#include <string>

// A file's size and last write time.
struct FileMark {
  std::uint64_t size = 0, lastWrite = 0;
  bool operator==(const FileMark&) const = default;
};

// A file as it stands: its identity on its volume (empty where the volume gives none) and its
// mark.
struct FileState {
  std::string identity;
  FileMark mark;
  bool operator==(const FileState&) const = default;
};

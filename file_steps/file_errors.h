// The file system's error codes that the sort's steps and undo tell apart; any other code gets the
// system's message for it.
#pragma once
#include <cstdint>

constexpr std::uint32_t kErrorPathNotFound = 3, kErrorFileExists = 80, kErrorAlreadyExists = 183,
                        kErrorFilenameTooLong = 206;
// The code of a copy or move that Cancel stopped while the file was going.
constexpr std::uint32_t kErrorRequestAborted = 1235;
// A step that was not tried because its record could not be written (a code of the program's
// own: bit 29 marks such codes apart from the system's).
constexpr std::uint32_t kErrorNotRecorded = 0x20000001;

// A copy that undo kept: it differs from its original, and its drive has no Recycle Bin.
constexpr std::uint32_t kErrorCopyDiffers = 0x20000002;

inline bool IsExistsError(std::uint32_t error) {
  return error == kErrorFileExists || error == kErrorAlreadyExists;
}

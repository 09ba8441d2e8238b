// Saving a file through a copy beside it: the save goes into the copy, which replaces the original
// only once it has been checked, so a save that fails leaves the original as it was.
#pragma once
#include <functional>
#include <optional>
#include <string>

// The save's own reasons for failing, beside the system's error codes (bit 29 marks an
// application's code, so none of these is ever one of the system's).
// The file changed under the save twice running: it is left as the other program made it.
inline constexpr unsigned long kErrorChangedWhileSaved = 0x20000001;
// TagLib's save would lose or change a value the file holds that was not meant to change.
inline constexpr unsigned long kErrorWouldLoseValues = 0x20000002;
// A cover was to go into a file whose format holds no picture.
inline constexpr unsigned long kErrorHoldsNoPicture = 0x20000003;
// A cover was to go into a FLAC metadata block it would outgrow (PictureBlockTooLarge).
inline constexpr unsigned long kErrorPictureTooLarge = 0x20000004;

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
// went well, and may set error to say why not.
using CopyStep = std::function<bool(const std::string& copy, unsigned long& error)>;

// Copies the file beside it; with room bytes free on its volume (or a volume that does not tell,
// where the check is the guard), saves into the copy and checks it, and lets replace put the
// checked copy in the original's place, but only while the original's size and last write are
// still those it had when it was copied: a file another program changed meanwhile is copied and
// saved once more, and left as it is should it change again (kErrorChangedWhileSaved). After a
// failed replace the copy is deleted only when the original is there unchanged; when the
// original's name is empty, the copy takes it. True when the name holds the checked copy and no
// other version of the file was left behind. Otherwise error tells why where the system does (no
// room for the copy or the save, no right to create the copy, its name past the path limit, a
// failed replace, a file no longer there), holds the code save or check set, or is 0 where they
// failed without one.
bool SaveThroughCopy(const std::string& fileName, unsigned long long room, const CopyStep& save,
                     const CopyStep& check, const ReplaceStep& replace, unsigned long& error,
                     const FreeSpaceQuery& freeSpace = FreeBytesBeside);

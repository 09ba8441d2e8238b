#include "settings/text_table.h"

#include "base/position.h"

namespace {
const char* const kDefaults[kTextCount] = {
    "Edit ID3-tag",
    "Sort by ID3-tag",
    "Audio Properties",
    "Bitrate:",
    "Samplerate:",
    "Channels:",
    "Length:",
    "ID3 Tags",
    "Title:",
    "Artist:",
    "Album:",
    "Year:",
    "Comment:",
    "Track:",
    "Genre:",
    "Save",
    "Cancel",
    "Filename",
    "Information",
    "The language was changed. The changes will be done after the program is started the next "
    "time.",
    "This program changes the ID3-tag version after saving maybe. So you should backup your files "
    "before using it.",
    "Written by Veltan. More tools on the web site.",
    "Insert items into the standard contextmenu of Windows.",
    "Remove items from the standard contextmenu of Windows.",
    "If you start this program the first time, you should press \r\n\"Insert items into the "
    "standard contextmenu of Windows.\".",
    "Macro",
    "Will be replaced with the ...",
    "... title",
    "... artist",
    "... album",
    "... year",
    "... comment",
    "... track",
    "... genre",
    "... the extension part of the source file",
    "... the basename part of the source file",
    "Sort",
    "Question",
    "Error",
    "Should I delete the original files after copying?",
    "Couldn't write ID3 Tags into",
    "Couldn't read ID3 Tags of",
    "Do you want to continue?",
    // Added after the first catalogs were written: a catalog without these lines keeps them in
    // English.
    "Target",
    "Copied",
    "Moved",
    "Replaced an existing file",
    "Already in place",
    "Not placed",
    "Skipped",
    "The target exists",
    "The path is too long",
    "Tags can't be read",
    "Same target as an earlier file",
    "Sort finished",
    "%1 of %2 files were placed.",
    "The sort was cancelled.",
    "... and %1 more",
};
}  // namespace

const char* DefaultText(size_t i) { return i < kTextCount ? kDefaults[i] : ""; }

void FillDefaultTexts(TextTable& texts) {
  STEP(DA3Rudi);
  for (size_t i = 0; i < kTextCount; ++i) texts[i] = kDefaults[i];
}

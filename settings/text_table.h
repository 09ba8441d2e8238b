// The user-visible texts: English defaults, or the lines of a language catalog.
#pragma once
#include <array>
#include <cstddef>
#include <string>

// Every text in the order of a catalog's lines: its name and its English default. The entries
// from kTextTargetHeader on were added after the first catalogs were written, so a catalog may stop
// before them; the texts it lacks stay in English.
#define DA3_TEXTS(X)                                                                               \
  X(kTextEditVerb, "Edit ID3-tag")                                                                 \
  X(kTextSortVerb, "Sort by ID3-tag")                                                              \
  X(kTextAudioFrame, "Audio Properties")                                                           \
  X(kTextBitrate, "Bitrate:")                                                                      \
  X(kTextSampleRate, "Samplerate:")                                                                \
  X(kTextChannels, "Channels:")                                                                    \
  X(kTextLength, "Length:")                                                                        \
  X(kTextTagFrame, "ID3 Tags")                                                                     \
  X(kTextTitle, "Title:")                                                                          \
  X(kTextArtist, "Artist:")                                                                        \
  X(kTextAlbum, "Album:")                                                                          \
  X(kTextYear, "Year:")                                                                            \
  X(kTextComment, "Comment:")                                                                      \
  X(kTextTrack, "Track:")                                                                          \
  X(kTextGenre, "Genre:")                                                                          \
  X(kTextSave, "Save")                                                                             \
  X(kTextCancel, "Cancel")                                                                         \
  X(kTextFileHeader, "Filename")                                                                   \
  X(kTextInformation, "Information")                                                               \
  X(kTextLanguageChanged,                                                                          \
    "The language was changed. The changes will be done after the program is started the "         \
    "next time.")                                                                                  \
  X(kTextVersionWarning,                                                                           \
    "This program changes the ID3-tag version after saving maybe. So you should backup "           \
    "your files before using it.")                                                                 \
  X(kTextCredit, "Written by Veltan. More tools on the web site.")                                 \
  X(kTextInsertVerbs, "Insert items into the standard contextmenu of Windows.")                    \
  X(kTextRemoveVerbs, "Remove items from the standard contextmenu of Windows.")                    \
  X(kTextFirstStartHint,                                                                           \
    "If you start this program the first time, you should press \r\n\"Insert items into "          \
    "the standard contextmenu of Windows.\".")                                                     \
  X(kTextMacroHeader, "Macro")                                                                     \
  X(kTextDescriptionHeader, "Will be replaced with the ...")                                       \
  X(kTextTitleMacro, "... title")                                                                  \
  X(kTextArtistMacro, "... artist")                                                                \
  X(kTextAlbumMacro, "... album")                                                                  \
  X(kTextYearMacro, "... year")                                                                    \
  X(kTextCommentMacro, "... comment")                                                              \
  X(kTextTrackMacro, "... track")                                                                  \
  X(kTextGenreMacro, "... genre")                                                                  \
  X(kTextExtensionMacro, "... the extension part of the source file")                              \
  X(kTextBaseNameMacro, "... the basename part of the source file")                                \
  X(kTextSort, "Sort")                                                                             \
  X(kTextQuestion, "Question")                                                                     \
  X(kTextError, "Error")                                                                           \
  X(kTextDeleteOriginals, "Should I delete the original files after copying?")                     \
  X(kTextCouldNotWrite, "Couldn't write ID3 Tags into")                                            \
  X(kTextCouldNotRead, "Couldn't read ID3 Tags of")                                                \
  X(kTextContinue, "Do you want to continue?")                                                     \
  X(kTextTargetHeader, "Target")                                                                   \
  X(kTextCopied, "Copied")                                                                         \
  X(kTextMoved, "Moved")                                                                           \
  X(kTextReplaced, "Replaced an existing file")                                                    \
  X(kTextInPlace, "Already in place")                                                              \
  X(kTextNotPlaced, "Not placed")                                                                  \
  X(kTextSkipped, "Skipped")                                                                       \
  X(kTextTargetExists, "The target exists")                                                        \
  X(kTextPathTooLong, "The path is too long")                                                      \
  X(kTextTagsUnreadable, "Tags can't be read")                                                     \
  X(kTextSameTarget, "Same target as an earlier file")                                             \
  X(kTextSortFinished, "Sort finished")                                                            \
  X(kTextPlacedCount, "%1 of %2 files were placed.")                                               \
  X(kTextSortCancelled, "The sort was cancelled.")                                                 \
  X(kTextMoreNotPlaced, "... and %1 more")                                                         \
  X(kTextTargetIsSource, "The target is a file of this sort")                                      \
  X(kTextNameUnreadable, "The name holds a character that can't be read")                          \
  X(kTextCopying, "Copying")                                                                       \
  X(kTextMoving, "Moving")                                                                         \
  X(kTextStopped, "Stopped by Cancel")                                                             \
  X(kTextTargetKept, "the file at the target was kept as it was")                                  \
  X(kTextSourceKept, "the original stays where it was")                                            \
  X(kTextUndoButton, "Undo the last sort")                                                         \
  X(kTextUndoQuestion, "Undo the sort of %1? It %2 %3 files.")                                     \
  X(kTextUndoMovedWord, "moved")                                                                   \
  X(kTextUndoCopiedWord, "copied")                                                                 \
  X(kTextUndoNothing, "There is no sort to undo.")                                                 \
  X(kTextUndoAlready, "The last sort was undone already.")                                         \
  X(kTextUndoFinished, "Undo finished")                                                            \
  X(kTextUndoneCount, "%1 of %2 files were put back.")                                             \
  X(kTextUndoOccupied, "Another file is at its old place now")                                     \
  X(kTextUndoMissing, "It is no longer where the sort put it")                                     \
  X(kTextUndoChanged, "The copy was changed after the sort")                                       \
  X(kTextUndoHint, "The configuration window can undo this sort.")                                 \
  X(kTextShellsRemoved, "%1 emptied folders were removed.")                                        \
  X(kTextSetAside, "the file it replaced is kept for undo")                                        \
  X(kTextAlbumBox, "Take the album's other files along (cover, cue, log, playlists)")              \
  X(kTextWithAlbum, "goes with the album")                                                         \
  X(kTextAlbumSplit, "The album's tracks don't all go to one folder")                              \
  X(kTextUndoQuestionOne, "Undo the sort of %1? It %2 1 file.")                                    \
  X(kTextUndoneOne, "%1 of 1 file was put back.")                                                  \
  X(kTextUndoOriginalGone, "The original is gone or changed; the copy stays")                      \
  X(kTextUndoCutShort, "The undo was cut short; start it again to finish it.")                     \
  X(kTextUndoBusy, "A sort still writes this record; undo it once that sort has ended.")           \
  X(kTextRecordUnwritable, "The sort's record can't be written; nothing more was done")            \
  X(kTextAlbumOthers, "Other audio files of its folder are not in this sort")                      \
  X(kTextAlbumUserFolder, "Its folder is one of the user's own folders, not an album's")           \
  X(kTextNoBinQuestion,                                                                            \
    "Some files this sort would replace are on a drive without a Recycle Bin: once "               \
    "another sort runs, they are deleted for good. Replace them?")                                 \
  X(kTextNoBinKept, "not replaced: its drive has no Recycle Bin")                                  \
  X(kTextDifferentValues, "(different values)")                                                    \
  X(kTextFileCount, "%1 files")                                                                    \
  X(kTextOneByOne, "One by one")                                                                   \
  X(kTextSavingFiles, "Saving %1 of %2 files...")                                                  \
  X(kTextFileGone, "The file is no longer there")                                                  \
  X(kTextChangedWhileSaved, "Another program changed the file while it was saved")                 \
  X(kTextWouldLoseValues, "Saving would lose values the file holds; it is unchanged")              \
  X(kTextNotSavedAsMeant, "The tags could not be saved as they should be")                         \
  X(kTextSaveStopped, "The save was stopped: %1 of %2 files were saved. These are unchanged:")     \
  X(kTextUndoCopyNotFound, "Not found; nothing removed")                                           \
  X(kTextUndoCopyDiffers, "It differs from its original, and its drive has no Recycle Bin")        \
  X(kTextUndoRecordUnwritable, "The record can't be written; the undo stopped there.")             \
  X(kTextAlbumRoot, "Its folder is the root of a drive or share, not an album's")                  \
  X(kTextUndoReplacedInBin, "The file it replaced is in the Recycle Bin")                          \
  X(kTextUndoBesideTarget, "Its old name is taken; it is back under this one")                     \
  X(kTextCoverAdd, "Add\xE2\x80\xA6")                                                              \
  X(kTextCoverReplace, "Replace\xE2\x80\xA6")                                                      \
  X(kTextCoverSaveAs, "Save as\xE2\x80\xA6")                                                       \
  X(kTextCoverRemove, "Remove")                                                                    \
  X(kTextNoCover, "No cover. Add\xE2\x80\xA6 sets one; a JPEG or PNG file dropped here does too.") \
  X(kTextCoverLoading, "Loading\xE2\x80\xA6")                                                      \
  X(kTextDifferentCovers, "(different covers)")                                                    \
  X(kTextNotFrontCover, "(not marked front cover)")                                                \
  X(kTextPictureCount, "%1 pictures")                                                              \
  X(kTextCannotShow, "(cannot be shown)")                                                          \
  X(kTextLargeCover, "Above 1 MB: some players refuse pictures this large.")                       \
  X(kTextNotAnImage, "This file is no JPEG or PNG picture. The cover stays as it was.")            \
  X(kTextPictureFiles, "Pictures (JPEG, PNG)")                                                     \
  X(kTextHoldsNoPicture, "Files of this kind hold no picture")                                     \
  X(kTextPictureTooLarge, "The picture is too large for a FLAC file (16 MB or more)")              \
  X(kTextFromName, "From name\xE2\x80\xA6")                                                        \
  X(kTextNamePattern, "Pattern:")                                                                  \
  X(kTextUnderscores, "Underscores are spaces")                                                    \
  X(kTextNameLegend,                                                                               \
    "%ARTIST% %ALBUM% %TITLE% %TRACK% %YEAR% %GENRE% %COMMENT% fill their fields, %SKIP% passes "  \
    "text over, \\ is a folder above the file. Read left to right: a field ends where the text "   \
    "after it first stands; the last takes the rest. %TRACK% takes digits, %YEAR% four. Capitals " \
    "do not count; spaces around a value go; an empty value leaves its field.")                    \
  X(kTextReadyPatterns, "Ready patterns")                                                          \
  X(kTextOk, "OK")                                                                                 \
  X(kTextDoesNotMatch, "Does not match")                                                           \
  X(kTextNameTextMissing, "\"%1\" not found")                                                      \
  X(kTextNameNoDigits, "no digits for %1")                                                         \
  X(kTextNameTooFewFolders, "fewer folders than the pattern names")                                \
  X(kTextNameGoesOn, "\"%1\" is left after the pattern")                                           \
  X(kTextNameSideBySide, "Two macros side by side: the first has no end. Put text between them.")  \
  X(kTextNameNoMacro, "The pattern names no macro.")                                               \
  X(kTextNumberTracks, "Number tracks\xE2\x80\xA6")                                                \
  X(kTextStartAt, "Start at:")                                                                     \
  X(kTextStartEachFolder, "Start again in each folder")                                            \
  X(kTextWriteTotal, "Write the total")                                                            \
  X(kTextTotalHeader, "Total")                                                                     \
  X(kTextNoTotalKept, "not kept in this format")                                                   \
  X(kTextMoveUp, "Move up")                                                                        \
  X(kTextMoveDown, "Move down")

enum TextId : size_t {
#define DA3_TEXT_NAME(name, english) name,
  DA3_TEXTS(DA3_TEXT_NAME)
#undef DA3_TEXT_NAME
      kTextCount
};
constexpr size_t kFirstAddedText = kTextTargetHeader;
using TextTable = std::array<std::string, kTextCount>;

// The built-in English text of entry i.
const char* DefaultText(size_t i);

void FillDefaultTexts(TextTable& texts);

// The tag editor window for one file.
#pragma once
#include <cstddef>
#include <string>

#include "settings/program_tables.h"
#include "tags/tag_info.h"

// The window's fixed title, the same in every language.
inline constexpr char kEditorTitle[] = "Veltan's DA3Zur Editor 1.0";
// The window's controls in creation order, which is also the Tab order.
enum EditorControl : size_t {
  kAudioFrame,
  kTagFrame,
  kBitrateLabel,
  kSampleRateLabel,
  kChannelsLabel,
  kLengthLabel,
  kTitleLabel,
  kArtistLabel,
  kAlbumLabel,
  kYearLabel,
  kCommentLabel,
  kTrackLabel,
  kGenreLabel,
  kWarningText,
  kBitrateField,
  kSampleRateField,
  kChannelsField,
  kLengthField,
  kStatusBar,
  kSaveButton,
  kCancelButton,
  kTitleField,
  kArtistField,
  kAlbumField,
  kYearField,
  kCommentField,
  kTrackField,
  kGenreList,
  kLink,
  kEditorControlCount
};
// The id of the first control; each next one has the next id.
inline constexpr int kFirstEditorControlId = 100;

// The address the credit link opens.
inline constexpr char kMakerWebAddress[] = "https://www.veltan.example/";

// Shows the record; 1 when the user pressed Save (the record then holds the edited values), 0 for
// Cancel, the close box or a window that could not be created (the record is then unchanged).
// The window is destroyed before it returns.
int EditTags(const ProgramTables& tables, TagInfo& record, const std::string& fileName);

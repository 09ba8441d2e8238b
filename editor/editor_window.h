// The tag editor window, for one file or several together.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "editor/editor_fields.h"

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
  kOneByOneButton,  // shown only with several files
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

// Shows the records of several files in one window: a field holds what they share, and a grey
// hint where they differ. On Save each record gets the fields the user typed or picked in
// (CopyBack) and goes to write, one file after the other on a worker thread; the window stays
// responsive, shows how far the save is once it takes a moment, and Cancel stops it between
// files. Returns once the window is destroyed.
EditorEnd EditTogether(const ProgramTables& tables, const std::vector<TagInfo>& records,
                       const std::vector<std::string>& fileNames,
                       const std::function<bool(size_t file, const TagInfo& record)>& write);

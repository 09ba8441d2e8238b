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
  kCoverBox,  // the cover column
  kCoverLine,
  kCoverAddButton,
  kCoverSaveAsButton,
  kCoverRemoveButton,
  kCoverWarning,
  kFromNameButton,
  kNumberTracksButton,  // enabled with several files
  kEditorControlCount
};
// The id of the first control; each next one has the next id.
inline constexpr int kFirstEditorControlId = 100;

// The address the credit link opens.
inline constexpr char kMakerWebAddress[] = "https://www.veltan.example/";

// Gives the picture the editor shows of a file (ReadShownCover); may be empty: no cover is shown.
using CoverLoader = std::function<std::optional<ShownCover>(const std::string& fileName)>;

// Shows the record; with typed, the fields typed in another editor show as typed, counted as
// changed and not yet saved. Ends kSaved when the user pressed Save, with the fields the user left
// (fields.changed names those typed or picked in), else kCancelled (Cancel, the close box or a
// window that could not be created). The window is destroyed before it returns.
// The cover column shows the file's front cover, loaded through loadCover once the fields show;
// Add, Replace and Remove change it on Save (fields.cover), "Save as" writes it out at once.
EditorResult EditTags(const ProgramTables& tables, const TagInfo& record,
                      const std::string& fileName, const EditedFields* typed = nullptr,
                      const CoverLoader& loadCover = {});

// Shows the records of several files in one window: a field holds what they share, and a grey
// hint where they differ. On Save what the user typed or picked goes to write, one file after the
// other on a worker thread; the window stays responsive, shows how far the save is once it takes a
// moment, and Cancel stops it between files. "One by one" ends it with what was typed so far.
// The cover column shows the cover every file shares (the records' cover summaries tell), or
// "(different covers)". Returns once the window is destroyed.
EditorResult EditTogether(const ProgramTables& tables, const std::vector<TagInfo>& records,
                          const std::vector<std::string>& fileNames, const WriteTypedFields& write,
                          const CoverLoader& loadCover = {});

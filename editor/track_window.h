// The window "Number tracks": the editor's files in the order they are numbered, which the user
// may change, with the number and total each gets.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "editor/track_numbering.h"
#include "settings/text_table.h"

inline constexpr char kTracksTitle[] = "Number tracks";

// The window's controls in creation order.
enum TracksControl : int {
  kTrackStartLabel,
  kTrackStartField,
  kTrackPerFolderBox,
  kTrackTotalBox,
  kTrackList,
  kTrackUpButton,
  kTrackDownButton,
  kTracksOk,
  kTracksCancel,
  kTracksControlCount
};
inline constexpr int kFirstTracksControlId = 340;

// What OK took: each file's number and total, like the files, and whether totals are written.
struct TracksTaken {
  std::vector<TrackNumber> numbers;
  bool writeTotal = false;
};
// Shows the window over the owner, which is disabled meanwhile; nothing after Cancel or the close
// box.
std::optional<TracksTaken> AskTrackNumbers(HWND owner, const TextTable& texts,
                                           const std::vector<std::string>& files);

// The album's other files: what an album folder holds beside its tracks, and where the tracks of
// each source folder went, so those files can go along when the tracks all went to one folder.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "settings/text_table.h"
#include "tags/audio_files.h"

// Whether the file is one an album folder holds beside its tracks: a picture, a cue sheet, a rip
// log, a playlist, lyrics, notes or a booklet (by its extension, in any case), and not a copy the
// program left.
bool IsAlbumFile(std::string_view path);

// For each source folder of a run, where its tracks went, and so where its other files go.
class AlbumTargets {
 public:
  // folded: a name as the file system compares it. userFolder: whether a folder (ending in its
  // backslash) is one the system names for the user (Desktop, Documents, Downloads, Music, ...),
  // which is never an album's; may be empty.
  AlbumTargets(std::function<std::u16string(const std::string&)> folded,
               std::function<bool(const std::string&)> userFolder)
      : folded_(std::move(folded)), userFolder_(std::move(userFolder)) {}
  // A track of the source's folder went to target, or was not placed (nullptr).
  void Track(const std::string& source, const std::string* target);
  // Where the other files of a source folder go, or why they stay: the folder's files, as
  // listed, go along only when every audio file among them is a track of the run, all of them
  // went to one folder, and the folder is neither a drive's or a share's root nor one of the
  // user's own. The preview and the run both decide by this.
  struct Decision {
    std::optional<std::string> target;  // the target folder
    TextId reason = kTextAlbumSplit;    // why they stay, when there is no target
  };
  // files is asked only when the tracks went to one folder.
  Decision FolderOf(const std::string& sourceFolder,
                    const std::function<const std::vector<std::string>&()>& files) const;
  // The source folders, in the order their first track came.
  const std::vector<std::string>& Folders() const { return folders_; }

 private:
  struct Album {
    std::optional<std::string> target;          // the target folder of the first track
    bool together = true;                       // every track placed, into that folder
    std::unordered_set<std::u16string> tracks;  // folded
  };
  std::function<std::u16string(const std::string&)> folded_;
  std::function<bool(const std::string&)> userFolder_;
  std::unordered_map<std::u16string, Album> albums_;
  std::vector<std::string> folders_;
};

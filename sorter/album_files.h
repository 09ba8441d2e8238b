// The album's other files: what an album folder holds beside its tracks, and where the tracks of
// each source folder went, so those files can go along when the tracks all went to one folder.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Whether the file is one an album folder holds beside its tracks: a picture, a cue sheet, a rip
// log, a playlist, lyrics, notes or a booklet (by its extension, in any case), and not a copy the
// program left.
bool IsAlbumFile(std::string_view path);

// For each source folder of a run, where its tracks went.
class AlbumTargets {
 public:
  // folded: a name as the file system compares it.
  explicit AlbumTargets(std::function<std::u16string(const std::string&)> folded)
      : folded_(std::move(folded)) {}
  // A track of the source's folder went to target, or was not placed (nullptr).
  void Track(const std::string& source, const std::string* target);
  // The one folder every track of the source folder went to; nothing when they went to several,
  // one was not placed, or none was handled.
  std::optional<std::string> FolderOf(const std::string& sourceFolder) const;
  // The source folders, in the order their first track came.
  const std::vector<std::string>& Folders() const { return folders_; }

 private:
  struct Album {
    std::optional<std::string> target;  // the target folder of the first track
    bool together = true;               // every track placed, into that folder
  };
  std::function<std::u16string(const std::string&)> folded_;
  std::unordered_map<std::u16string, Album> albums_;
  std::vector<std::string> folders_;
};

#include "sorter/album_files.h"

#include "base/path_parts.h"
#include "base/position.h"
#include "base/text_util.h"
#include "tags/save_copy_name.h"

namespace {
// Whether the path's extension is one of those given, in any case.
template <size_t n>
bool HasExtension(std::string_view path, const std::string_view (&extensions)[n]) {
  const std::string extension = ExtensionPart(path);
  for (std::string_view known : extensions)
    if (EqualsIgnoringAsciiCase(extension, known)) return true;
  return false;
}
}  // namespace

bool IsAlbumFile(std::string_view path) {
  static constexpr std::string_view kExtensions[] = {"jpg", "jpeg", "png", "gif", "bmp", "webp",
                                                     "tif", "tiff", "cue", "log", "m3u", "m3u8",
                                                     "pls", "lrc",  "nfo", "txt", "pdf"};
  // Not a copy of this program's, which no run lists.
  return !IsSaveCopyName(path) && HasExtension(path, kExtensions);
}

void AlbumTargets::Track(const std::string& source, const std::string* target) {
  STEP(Sorter);
  const std::string folder = FolderPart(source);
  auto [album, added] = albums_.try_emplace(folded_(folder));
  if (added) folders_.push_back(folder);
  album->second.tracks.insert(folded_(source));
  if (!target) {
    album->second.together = false;
  } else if (!album->second.target) {
    album->second.target = FolderPart(*target);
  } else if (folded_(*album->second.target) != folded_(FolderPart(*target))) {
    album->second.together = false;
  }
}

AlbumTargets::Decision AlbumTargets::FolderOf(
    const std::string& sourceFolder,
    const std::function<const std::vector<std::string>&()>& files) const {
  STEP(Sorter);
  const auto album = albums_.find(folded_(sourceFolder));
  if (album == albums_.end()) return {std::nullopt, kTextTagsUnreadable};  // no track came from it
  if (!album->second.together) return {};
  // A drive's or a share's root holds whatever the user keeps there, never an album alone.
  if (RootLength(sourceFolder) >= sourceFolder.size()) return {std::nullopt, kTextAlbumRoot};
  if (userFolder_ && userFolder_(sourceFolder)) return {std::nullopt, kTextAlbumUserFolder};
  for (const std::string& file : files())
    if (IsAudioFile(file) && !album->second.tracks.count(folded_(file)))
      return {std::nullopt, kTextAlbumOthers};
  return {album->second.target, kTextAlbumSplit};
}

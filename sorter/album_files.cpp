#include "sorter/album_files.h"

#include "base/path_parts.h"
#include "base/position.h"
#include "base/text_util.h"
#include "tags/save_copy_name.h"

bool IsAlbumFile(std::string_view path) {
  static constexpr std::string_view kExtensions[] = {"jpg", "jpeg", "png", "gif", "bmp", "webp",
                                                     "tif", "tiff", "cue", "log", "m3u", "m3u8",
                                                     "pls", "lrc",  "nfo", "txt", "pdf"};
  if (IsSaveCopyName(path)) return false;  // a copy of this program's, which no run lists
  const std::string extension = ExtensionPart(path);
  for (std::string_view known : kExtensions)
    if (EqualsIgnoringAsciiCase(extension, known)) return true;
  return false;
}

void AlbumTargets::Track(const std::string& source, const std::string* target) {
  STEP(Sorter);
  const std::string folder = FolderPart(source);
  auto [album, added] = albums_.try_emplace(folded_(folder));
  if (added) folders_.push_back(folder);
  if (!target) {
    album->second.together = false;
  } else if (!album->second.target) {
    album->second.target = FolderPart(*target);
  } else if (folded_(*album->second.target) != folded_(FolderPart(*target))) {
    album->second.together = false;
  }
}

std::optional<std::string> AlbumTargets::FolderOf(const std::string& sourceFolder) const {
  const auto album = albums_.find(folded_(sourceFolder));
  if (album == albums_.end() || !album->second.together) return std::nullopt;
  return album->second.target;
}

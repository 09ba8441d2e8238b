#include "sorter/empty_folders.h"

#include <set>
#include <unordered_set>

#include "base/path_parts.h"
#include "base/position.h"
#include "base/text_util.h"

namespace {
// The folder with backslashes only and one at its end.
std::string AsFolder(std::string folder) {
  for (char& c : folder)
    if (c == '/') c = '\\';
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

std::string Parent(const std::string& folder) {
  return FolderPart(std::string_view(folder).substr(0, folder.size() - 1));
}

// What Windows and macOS leave in a folder that the user never put there.
bool IsLeftover(std::string_view name) {
  for (std::string_view leftover : {"Thumbs.db", "desktop.ini", ".DS_Store"})
    if (EqualsIgnoringAsciiCase(name, leftover)) return true;
  return false;
}

class Shells {
 public:
  Shells(const std::vector<std::string>& targets, const FolderWalk& walk) : walk_(walk) {
    // Every folder that holds or is a target, folded, so that each folder is asked about once.
    for (const std::string& target : targets) {
      const std::u16string folded = walk.folded(AsFolder(target));
      for (size_t at = 0; at < folded.size(); ++at)
        if (folded[at] == u'\\') kept_.insert(folded.substr(0, at + 1));
    }
  }

  // Climbs from the moved file's folder while each folder goes, up to the selection's folder.
  void From(const std::string& source, const std::string& selection) {
    STEP(Sorter);
    const std::string top = AsFolder(selection);
    if (top.empty()) return;
    const std::u16string foldedTop = walk_.folded(top);
    std::string folder = AsFolder(FolderPart(source));
    // The folders of many moved files are one; the first of them climbs for all.
    if (!started_.emplace(walk_.folded(folder), foldedTop).second) return;
    for (; folder.size() > RootLength(folder); folder = Parent(folder)) {
      const std::u16string folded = walk_.folded(folder);
      if (!folded.starts_with(foldedTop)) return;
      if (!gone_.count(folded) && !Goes(folder, folded)) return;
    }
  }

  std::vector<EmptiedFolder> result;

 private:
  // Whether the folder holds nothing but leftovers and folders that go; if so it joins the result.
  // Asked again each time a moved file's climb reaches it, since a folder beside the one it came
  // from may have gone meanwhile.
  bool Goes(const std::string& folder, const std::u16string& folded) {
    STEP(Sorter);
    if (kept_.count(folded) || (walk_.keep && walk_.keep(folder))) return false;
    const std::optional<std::vector<std::string>> names = walk_.names(folder);
    if (!names) return false;
    EmptiedFolder shell{folder, {}};
    for (const std::string& name : *names) {
      if (IsLeftover(name))
        shell.leftovers.push_back(folder + name);
      else if (!gone_.count(folded + walk_.folded(name) + u'\\'))
        return false;
    }
    gone_.insert(folded);
    result.push_back(std::move(shell));
    return true;
  }

  const FolderWalk& walk_;
  std::unordered_set<std::u16string> kept_, gone_;
  std::set<std::pair<std::u16string, std::u16string>> started_;  // folder and selection, folded
};
}  // namespace

std::vector<EmptiedFolder> EmptiedFolders(
    const std::vector<std::pair<std::string, std::string>>& movedFromAndSelection,
    const std::vector<std::string>& targets, const FolderWalk& walk) {
  STEP(Sorter);
  Shells shells(targets, walk);
  for (const auto& [source, selection] : movedFromAndSelection) shells.From(source, selection);
  return std::move(shells.result);
}

size_t RemoveEmptiedFolders(const std::vector<std::pair<std::string, std::string>>& moved,
                            const std::vector<std::string>& targets, bool mayDeleteWithoutBin,
                            RecordedSteps& record, const FolderRemoval& removal) {
  STEP(Sorter);
  const std::vector<EmptiedFolder> emptied = EmptiedFolders(moved, targets, removal.walk);
  std::unordered_set<std::u16string> going, staying;  // folded, the folders and their backslash
  for (const EmptiedFolder& folder : emptied) going.insert(removal.walk.folded(folder.folder));
  auto stays = [&](const std::string& folder) {
    const std::u16string folded = removal.walk.folded(folder);
    for (const std::u16string& below : staying)
      if (below.starts_with(folded)) return true;
    return false;
  };
  size_t removed = 0;
  // Innermost first: a folder that stays keeps the folders above it.
  for (const EmptiedFolder& folder : emptied) {
    STEP(Sorter);
    const bool noBin = removal.hasRecycleBin && !removal.hasRecycleBin(folder.folder);
    if (stays(folder.folder) || (noBin && !folder.leftovers.empty() && !mayDeleteWithoutBin)) {
      staying.insert(removal.walk.folded(folder.folder));
      continue;
    }
    std::string above = Parent(folder.folder);
    while (going.count(removal.walk.folded(above))) above = Parent(above);
    std::vector<std::pair<std::string, std::string>> aside;  // each leftover and where it went
    for (const std::string& leftover : folder.leftovers)
      if (std::optional<std::string> kept = record.SetAside(leftover, above))
        aside.emplace_back(leftover, *kept);
    const std::uint32_t error = record.Folder(RecordStep::kRemoveFolder, folder.folder,
                                              [&] { return removal.removeFolder(folder.folder); });
    if (error == 0) {
      ++removed;
      continue;
    }
    for (const auto& [leftover, kept] : aside) record.PutBack(kept, leftover);
    staying.insert(removal.walk.folded(folder.folder));
  }
  return removed;
}

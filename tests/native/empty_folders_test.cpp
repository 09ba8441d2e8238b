#include "sorter/empty_folders.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/name_case.h"

namespace {
// A tree of files and folders (ending in a backslash), each listed with every folder above it.
struct FakeTree {
  std::set<std::string> paths;
  std::set<std::string> unlistable;
  std::set<std::string> kept;  // the user's own folders, customised ones

  explicit FakeTree(const std::vector<std::string>& files) {
    for (const std::string& file : files)
      for (size_t at = file.find('\\'); at != std::string::npos; at = file.find('\\', at + 1))
        paths.insert(file.substr(0, at + 1));
    paths.insert(files.begin(), files.end());
  }

  FolderWalk Walk() {
    return {
        .names = [this](const std::string& folder) -> std::optional<std::vector<std::string>> {
          if (unlistable.count(folder)) return std::nullopt;
          std::vector<std::string> names;
          for (const std::string& path : paths) {
            if (path.size() <= folder.size() ||
                !NameCase().Folded(path).starts_with(NameCase().Folded(folder)))
              continue;
            std::string name = path.substr(folder.size());
            if (name.find('\\') == name.size() - 1) name.pop_back();
            if (name.find('\\') == std::string::npos) names.push_back(name);
          }
          return names;
        },
        .folded = [](const std::string& name) { return NameCase().Folded(name); },
        .keep = [this](const std::string& folder) { return kept.count(folder) > 0; },
    };
  }
};

std::vector<std::string> Folders(const std::vector<EmptiedFolder>& shells) {
  std::vector<std::string> folders;
  for (const EmptiedFolder& shell : shells) folders.push_back(shell.folder);
  return folders;
}

struct Case {
  const char* what;
  std::vector<std::string> tree;                           // after the move
  std::vector<std::pair<std::string, std::string>> moved;  // file, selection's folder
  std::vector<std::string> targets;
  std::vector<std::string> gone;
  std::set<std::string> unlistable = {};
  std::set<std::string> kept = {};
};
}  // namespace

TEST(EmptiedFolders, ShellsGoUpToTheSelectionButNeverTargetsRootsOrOtherFiles) {
  const std::string in = "S:\\In\\", album = "S:\\In\\Artist\\Album\\";
  const std::vector<std::string> shell = {album + "Thumbs.db", album + "DESKTOP.INI"};
  for (const Case& c : std::vector<Case>{
           {"up to and with the selection's folder",
            shell,
            {{album + "a.mp3", in}},
            {"T:\\"},
            {album, "S:\\In\\Artist\\", in}},
           {"never above it",
            shell,
            {{album + "a.mp3", "S:\\In\\Artist"}},
            {},
            {album, "S:\\In\\Artist\\"}},
           {"not a folder outside the selection",
            {"S:\\Other\\"},
            {{"S:\\Other\\a.mp3", in}},
            {},
            {}},
           {"not a folder with another file",
            {album + "cover.jpg"},
            {{album + "a.mp3", in}},
            {},
            {}},
           {"not the target tree",
            {album + ".DS_Store", in + "Sorted\\Rock\\a.mp3"},
            {{album + "a.mp3", in}},
            {"s:\\in\\sorted\\rock\\a.mp3"},
            {album, "S:\\In\\Artist\\"}},
           {"not a target folder itself",
            shell,
            {{album + "a.mp3", in}},
            {"S:/In/Artist/Album"},
            {}},
           {"not a drive's root", {"R:\\"}, {{"R:\\a.mp3", "R:\\"}}, {}, {}},
           {"not a share's root",
            {"\\\\nas\\music\\"},
            {{"\\\\nas\\music\\a.mp3", "\\\\nas\\music\\"}},
            {},
            {}},
           {"not a root after \\\\?\\",
            {"\\\\?\\R:\\"},
            {{"\\\\?\\R:\\a.mp3", "\\\\?\\R:\\"}},
            {},
            {}},
           {"a share's folder",
            {"\\\\nas\\music\\x\\"},
            {{"\\\\nas\\music\\x\\a.mp3", "\\\\nas\\music\\"}},
            {},
            {"\\\\nas\\music\\x\\"}},
           {"siblings, each once, the parent after both",
            {"S:\\In\\Artist\\CD1\\", "S:\\In\\Artist\\CD2\\.ds_store"},
            {{"S:\\In\\Artist\\CD1\\a.mp3", in},
             {"S:\\In\\Artist\\CD1\\b.mp3", in},
             {"s:\\in\\artist\\cd2\\c.mp3", in}},
            {"T:\\"},
            {"S:\\In\\Artist\\CD1\\", "s:\\in\\artist\\cd2\\", "s:\\in\\artist\\", "s:\\in\\"}},
           {"not a folder that can't be listed, nor what is above it",
            {"S:\\In\\A\\B\\"},
            {{"S:\\In\\A\\B\\a.mp3", in}},
            {},
            {"S:\\In\\A\\B\\"},
            {"S:\\In\\A\\"}},
           {"not a folder that stays (the user's own, a customised one), nor what is above it",
            {"S:\\In\\A\\B\\desktop.ini"},
            {{"S:\\In\\A\\B\\a.mp3", in}},
            {},
            {},
            {},
            {"S:\\In\\A\\B\\"}},
       }) {
    FakeTree tree(c.tree);
    tree.unlistable = c.unlistable;
    tree.kept = c.kept;
    EXPECT_EQ(Folders(EmptiedFolders(c.moved, c.targets, tree.Walk())), c.gone) << c.what;
  }
}

TEST(EmptiedFolders, NamesTheLeftoversToDeleteFirst) {
  FakeTree tree({"S:\\In\\A\\Thumbs.db", "S:\\In\\A\\desktop.ini", "S:\\In\\notes.txt"});
  const auto shells = EmptiedFolders({{"S:\\In\\A\\a.mp3", "S:\\In\\"}}, {}, tree.Walk());
  ASSERT_EQ(shells.size(), 1u);
  EXPECT_EQ(shells[0].folder, "S:\\In\\A\\");
  EXPECT_EQ(shells[0].leftovers,
            (std::vector<std::string>{"S:\\In\\A\\Thumbs.db", "S:\\In\\A\\desktop.ini"}));
}

#include "base/user_folders_win.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <unordered_set>

#include "base/file_system_win.h"
#include "base/name_case_win.h"
#include "base/position.h"
#include "base/wide_text_win.h"

namespace {
// A folder's name folded as the file system compares names, made whole, without its backslash.
std::u16string Key(std::string folder) {
  folder = WholePath(folder);
  while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return FileSystemNameCase().Folded(folder);
}

const std::unordered_set<std::u16string>& UserFolders() {
  static const std::unordered_set<std::u16string> folders = [] {
    STEP(DA3Rudi);
    static const KNOWNFOLDERID* const kIds[] = {
        &FOLDERID_Profile,         &FOLDERID_Desktop,         &FOLDERID_Documents,
        &FOLDERID_Downloads,       &FOLDERID_Music,           &FOLDERID_Pictures,
        &FOLDERID_Videos,          &FOLDERID_Public,          &FOLDERID_PublicDesktop,
        &FOLDERID_PublicDocuments, &FOLDERID_PublicDownloads, &FOLDERID_PublicMusic,
        &FOLDERID_PublicPictures,  &FOLDERID_PublicVideos};
    std::unordered_set<std::u16string> found;
    for (const KNOWNFOLDERID* id : kIds) {
      PWSTR path = nullptr;
      if (SUCCEEDED(SHGetKnownFolderPath(*id, KF_FLAG_DONT_VERIFY, nullptr, &path)) && path)
        found.insert(Key(Utf8Marked(path)));
      CoTaskMemFree(path);
    }
    return found;
  }();
  return folders;
}
}  // namespace

bool IsUserFolder(const std::string& folder) { return UserFolders().count(Key(folder)) > 0; }

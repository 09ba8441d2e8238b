#include <windows.h>

#include <new>

#include "base/code_page_win.h"
#include "base/file_system_win.h"
#include "base/position.h"
#include "base/wide_text_win.h"
#include "settings/catalog.h"
#include "settings/preference_file.h"
#include "settings/settings.h"
#include "settings/settings_folder.h"

std::string SettingsFolder() {
  STEP(DA3Rudi);
  std::wstring appData;
  DWORD length = GetEnvironmentVariableW(L"APPDATA", nullptr, 0);
  if (length > 0) {
    appData.resize(length);
    length = GetEnvironmentVariableW(L"APPDATA", appData.data(), length);
    appData.resize(length < appData.size() ? length : 0);
  }
  return SettingsFolderFrom(Utf8Marked(appData));
}

int LoadCatalog(const std::string& path, TextTable& texts) {
  STEP(DA3Rudi);
  if (path.empty() || IsFolder(path)) return 0;
  // Read only as far as the table reaches: the rest of a file, however large, is never loaded.
  std::string bytes;
  CatalogLineCounter lines;
  if (!ReadFileUntil(path, bytes, [&](std::string_view piece) { return lines.Take(piece); }))
    return 0;
  try {
    return ParseCatalog(bytes, texts, SystemCodePage()) ? 1 : 0;
  } catch (const std::bad_alloc&) {
    return 0;  // the caller fills the defaults over what was taken
  }
}

int LoadSettings(ProgramTables& tables) {
  STEP(DA3Rudi);
  const std::string folder = SettingsFolder();
  if (!IsFolder(folder)) CreateDirectoryW(Wide(folder).c_str(), nullptr);
  std::string language;
  {
    PreferenceFile preferences;
    preferences.OpenExisting(folder + kPreferenceFileName);
    language = preferences.ReadString("Language", "");
    preferences.Close();
  }
  STEP(DA3Rudi);
  if (!LoadCatalog(ProgramFolder() + language, tables.texts)) FillDefaultTexts(tables.texts);
  FillGenreTable(tables.genres);
  return 1;
}

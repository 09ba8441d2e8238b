#include "settings/settings_folder.h"

#include "base/position.h"

std::string SettingsFolderFrom(std::string_view appData) {
  STEP(DA3Rudi);
  std::string folder(appData);
  for (char& c : folder)
    if (c == '/') c = '\\';
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder + "Veltan's DA3Zur Tools\\";
}

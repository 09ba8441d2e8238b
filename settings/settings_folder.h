// Where the per-user settings live: a folder under APPDATA.
#pragma once
#include <string>
#include <string_view>

// The settings folder for the given APPDATA value: slashes turned into backslashes, one backslash
// ensured at the end, then "Veltan's DA3Zur Tools\". An empty value gives a folder at the root.
std::string SettingsFolderFrom(std::string_view appData);

// The file name of the preference file inside the settings folder.
inline constexpr const char* kPreferenceFileName = "preferences.ini";

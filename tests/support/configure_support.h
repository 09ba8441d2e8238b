// Helpers for the configuration tests: the verbs as the registry holds them, and the
// configuration window driven from this process or another.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace testing_win {

// One verb key as it stands under a root (the per-user branch is HKEY_CURRENT_USER with
// "Software\Classes\" before the path; Wine does not merge it into HKEY_CLASSES_ROOT).
struct VerbKeys {
  bool verbKey = false, commandKey = false;
  std::optional<std::string> menuText;          // the verb key's default value, when set
  std::optional<std::string> commandLine;       // the command key's default value, when set
  std::optional<std::string> multiSelectModel;  // the verb key's MultiSelectModel, when set
  std::optional<std::string> icon;              // the verb key's Icon, when set
  std::optional<std::string> dropTargetClass;   // the DropTarget subkey's CLSID, when set
  std::vector<std::string> subkeys;             // of the verb key
  DWORD menuTextType = REG_NONE, commandLineType = REG_NONE, multiSelectType = REG_NONE,
        iconType = REG_NONE, dropTargetType = REG_NONE;
};
VerbKeys ReadUserVerb(const std::string& verbName);
VerbKeys ReadMachineVerb(const std::string& verbName);  // through HKEY_CLASSES_ROOT
bool UserShellKeyExists();

// A verb's COM class as it stands under a root's CLSID key (the per-user branch as above).
struct VerbClassKeys {
  bool classKey = false;
  std::optional<std::string> name;         // the class key's default value
  std::optional<std::string> localServer;  // LocalServer32's default value
  std::vector<std::string> subkeys;        // of the class key
};
VerbClassKeys ReadUserVerbClass(const std::string& verbClass);
VerbClassKeys ReadMachineVerbClass(const std::string& verbClass);  // HKLM\Software\Classes

// Removes both verbs and their classes from both branches (and the machine-wide copy of the
// classes that the COM tests make), so a test starts from no registration.
void RemoveAllVerbs();

// The configuration window with its four controls in creation order.
struct ConfigurationFound {
  HWND window = nullptr, insert = nullptr, remove = nullptr, hint = nullptr, undo = nullptr,
       languages = nullptr;
  explicit operator bool() const { return languages != nullptr; }
};
// Waits for the window of the process, its five controls and its filled list.
ConfigurationFound WaitForConfiguration(DWORD processId, int timeoutMs = 5000);

std::vector<std::string> ComboItems(HWND list);
int ComboSelection(HWND list);
// Picks an item as the user would: the selection, then the notification to the window.
void PickItem(HWND list, int index);
// Asks the window to close as its close box does.
void RequestClose(HWND window);

// The bytes of preferences.ini for the given language and flag, as the program writes them.
std::string PreferenceBytes(const std::string& language, int contextMenu);

}  // namespace testing_win

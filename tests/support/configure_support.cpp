#include "tests/support/configure_support.h"

#include "base/wide_text_win.h"
#include "base/win_handles.h"
#include "configure/configuration_window.h"
#include "configure/shell_verbs.h"
#include "tests/support/win_test_support.h"

namespace testing_win {
namespace {
// A string value as UTF-8, read wide, so every character comes as the registry holds it.
std::optional<std::string> ReadValue(HKEY key, const char* name, DWORD& type) {
  const std::wstring wideName = name ? Wide(name) : std::wstring();
  const wchar_t* valueName = name ? wideName.c_str() : nullptr;
  DWORD size = 0;
  if (RegQueryValueExW(key, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
  std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                       &size) != ERROR_SUCCESS)
    return {};
  value.resize(size / sizeof(wchar_t));
  if (!value.empty() && value.back() == L'\0') value.pop_back();
  return Utf8Shown(value);
}

std::vector<std::string> SubkeyNames(HKEY key) {
  std::vector<std::string> names;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD size = std::size(name);
    if (RegEnumKeyExW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    names.push_back(Utf8Shown(std::wstring_view(name, size)));
  }
  return names;
}

VerbClassKeys ReadVerbClass(HKEY root, const std::string& verbClass) {
  VerbClassKeys keys;
  const KeyHandle found = OpenedKey(root, "Software\\Classes\\CLSID\\" + verbClass, KEY_READ);
  if (!found) return keys;
  DWORD type = REG_NONE;
  keys.classKey = true;
  keys.name = ReadValue(found.get(), nullptr, type);
  keys.subkeys = SubkeyNames(found.get());
  if (const KeyHandle server = OpenedKey(found.get(), "LocalServer32", KEY_READ))
    keys.localServer = ReadValue(server.get(), nullptr, type);
  return keys;
}

VerbKeys ReadVerb(HKEY root, const std::string& prefix, const std::string& verbName) {
  VerbKeys keys;
  const std::string path = prefix + "*\\shell\\" + verbName;
  const KeyHandle verb = OpenedKey(root, path, KEY_READ);
  if (!verb) return keys;
  keys.verbKey = true;
  keys.menuText = ReadValue(verb.get(), nullptr, keys.menuTextType);
  keys.multiSelectModel = ReadValue(verb.get(), "MultiSelectModel", keys.multiSelectType);
  keys.icon = ReadValue(verb.get(), "Icon", keys.iconType);
  if (const KeyHandle command = OpenedKey(verb.get(), "command", KEY_READ)) {
    keys.commandKey = true;
    keys.commandLine = ReadValue(command.get(), nullptr, keys.commandLineType);
  }
  if (const KeyHandle dropTarget = OpenedKey(verb.get(), "DropTarget", KEY_READ))
    keys.dropTargetClass = ReadValue(dropTarget.get(), "CLSID", keys.dropTargetType);
  keys.subkeys = SubkeyNames(verb.get());
  return keys;
}
}  // namespace

VerbClassKeys ReadUserVerbClass(const std::string& verbClass) {
  return ReadVerbClass(HKEY_CURRENT_USER, verbClass);
}
VerbClassKeys ReadMachineVerbClass(const std::string& verbClass) {
  return ReadVerbClass(HKEY_LOCAL_MACHINE, verbClass);
}

VerbKeys ReadUserVerb(const std::string& verbName) {
  return ReadVerb(HKEY_CURRENT_USER, "Software\\Classes\\", verbName);
}
VerbKeys ReadMachineVerb(const std::string& verbName) {
  return ReadVerb(HKEY_CLASSES_ROOT, "", verbName);
}

bool UserShellKeyExists() {
  return bool(OpenedKey(HKEY_CURRENT_USER, "Software\\Classes\\*\\shell", KEY_READ));
}

void RemoveAllVerbs() {
  for (const char* verb : {kEditVerbKey, kSortVerbKey}) {
    for (auto [root, prefix] :
         {std::pair{HKEY_CURRENT_USER, "Software\\Classes\\"}, std::pair{HKEY_CLASSES_ROOT, ""}})
      RegDeleteTreeW(root, Wide(std::string(prefix) + "*\\shell\\" + verb).c_str());
  }
  for (const char* verbClass : {kEditVerbClass, kSortVerbClass})
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
      RegDeleteTreeW(root, Wide(std::string("Software\\Classes\\CLSID\\") + verbClass).c_str());
}

ConfigurationFound WaitForConfiguration(DWORD processId, int timeoutMs) {
  ConfigurationFound found;
  HWND window = WaitForWindow(processId, nullptr, kConfigurationTitle, timeoutMs);
  if (!window) return found;
  std::vector<HWND> children = WaitForChildren(window, 5, timeoutMs);
  if (children.size() < 5) return found;
  // The list is filled and the hint set before the event loop starts.
  if (!WaitUntilAnswering(window, timeoutMs)) return found;
  found = {window, children[0], children[1], children[2], children[3], children[4]};
  return found;
}

std::vector<std::string> ComboItems(HWND list) {
  // Wide messages: every character arrives, and Wine hands the text of another process's list to
  // an 8-bit request unconverted.
  std::vector<std::string> items;
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutW(list, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count) ||
      LRESULT(count) == CB_ERR)
    return items;
  for (WPARAM i = 0; i < count; ++i) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(list, CB_GETLBTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 2000, &length);
    std::wstring wide(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(list, CB_GETLBTEXT, i, LPARAM(wide.data()), SMTO_ABORTIFHUNG, 2000,
                        &copied);
    wide.resize(LRESULT(copied) == CB_ERR ? 0 : copied);
    items.push_back(Utf8Shown(wide));
  }
  return items;
}

int ComboSelection(HWND list) {
  DWORD_PTR index = 0;
  SendMessageTimeoutW(list, CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &index);
  return int(LRESULT(index));
}

void PickItem(HWND list, int index) {
  DWORD_PTR result;
  SendMessageTimeoutW(list, CB_SETCURSEL, WPARAM(index), 0, SMTO_ABORTIFHUNG, 2000, &result);
  PostMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
               LPARAM(list));
}

void RequestClose(HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }

std::string PreferenceBytes(const std::string& language, int contextMenu) {
  return "Language = " + language + "\r\nContextMenu = " + std::to_string(contextMenu) + "\r\n";
}

}  // namespace testing_win

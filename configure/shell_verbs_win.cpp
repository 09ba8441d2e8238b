#include "configure/shell_verbs.h"

#include <windows.h>

#include "base/file_system_win.h"
#include "base/position.h"
#include "base/wide_text_win.h"
#include "base/win_handles.h"
#include "configure/configuration_text.h"

namespace {
// New keys under HKEY_CLASSES_ROOT would land in the machine-wide branch, which an ordinary user
// may not write; the per-user branch is merged into the same view.
constexpr char kUserClasses[] = "Software\\Classes\\";

std::string VerbKeyPath(const std::string& classKey, const std::string& verbName) {
  return classKey + "\\shell\\" + verbName;
}

// Strings in the registry are UTF-16; their sizes count bytes and the terminating zero.
void SetDefaultValue(HKEY root, const std::string& path, const std::string& text) {
  const std::wstring wide = Wide(text);
  RegSetKeyValueW(root, Wide(path).c_str(), nullptr, REG_SZ, wide.c_str(),
                  DWORD((wide.size() + 1) * sizeof(wchar_t)));
}

void SetNamedValue(HKEY root, const std::string& path, const char* name, const std::string& text) {
  const std::wstring wide = Wide(text);
  RegSetKeyValueW(root, Wide(path).c_str(), Wide(name).c_str(), REG_SZ, wide.c_str(),
                  DWORD((wide.size() + 1) * sizeof(wchar_t)));
}

void DeleteKey(HKEY root, const std::string& path) { RegDeleteKeyW(root, Wide(path).c_str()); }
}  // namespace

void RegisterShellVerb(const std::string& classKey, const std::string& verbName,
                       const std::string& menuText, const std::string& commandLine,
                       const std::string& multiSelectModel, const std::string& icon) {
  STEP(Configure);
  const std::string verbPath = kUserClasses + VerbKeyPath(classKey, verbName);
  const std::string commandPath = verbPath + "\\command";
  HKEY created = nullptr;
  if (RegCreateKeyW(HKEY_CURRENT_USER, Wide(commandPath).c_str(), &created) != ERROR_SUCCESS)
    return;
  KeyHandle command(created);
  STEP(Configure);
  if (!menuText.empty()) SetDefaultValue(HKEY_CURRENT_USER, verbPath, menuText);
  if (!commandLine.empty()) SetDefaultValue(HKEY_CURRENT_USER, commandPath, commandLine);
  if (!multiSelectModel.empty())
    SetNamedValue(HKEY_CURRENT_USER, verbPath, "MultiSelectModel", multiSelectModel);
  if (!icon.empty()) SetNamedValue(HKEY_CURRENT_USER, verbPath, "Icon", icon);
}

void UnregisterShellVerb(const std::string& classKey, const std::string& verbName) {
  STEP(Configure);
  const std::string verbPath = VerbKeyPath(classKey, verbName);
  const std::string commandPath = verbPath + "\\command";
  DeleteKey(HKEY_CURRENT_USER, kUserClasses + commandPath);
  DeleteKey(HKEY_CURRENT_USER, kUserClasses + verbPath);
  // With the per-user keys gone, the merged view reaches a machine-wide registration (one made by
  // an earlier version, or by an administrator); it is removed where the rights allow.
  STEP(Configure);
  DeleteKey(HKEY_CLASSES_ROOT, commandPath);
  DeleteKey(HKEY_CLASSES_ROOT, verbPath);
}

void RegisterProgramVerbs(const TextTable& texts) {
  STEP(Configure);
  const std::string program = ProgramPath();
  const std::string icon = program + ",0";  // the executable's first (and only) icon
  RegisterShellVerb("*", kEditVerbKey, texts[kTextEditVerb], VerbCommandLine(program, "-edit"), "",
                    icon);
  // Explorer hides verbs of the default kind when more than 15 files are selected; "Player"
  // offers the sort for any number of them.
  RegisterShellVerb("*", kSortVerbKey, texts[kTextSortVerb], VerbCommandLine(program, "-sort"),
                    "Player", icon);
}

void UnregisterProgramVerbs() {
  STEP(Configure);
  UnregisterShellVerb("*", kEditVerbKey);
  UnregisterShellVerb("*", kSortVerbKey);
}

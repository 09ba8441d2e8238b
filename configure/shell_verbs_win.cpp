#include "configure/shell_verbs.h"

#include <windows.h>

#include "base/file_system_win.h"
#include "base/position.h"
#include "base/wide_text_win.h"
#include "base/win_handles.h"

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

// A value under HKEY_CURRENT_USER (the default value when name is null); the key and its parents
// are created as needed.
void SetUserValue(const std::wstring& path, const wchar_t* name, const std::wstring& text) {
  RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), name, REG_SZ, text.c_str(),
                  DWORD((text.size() + 1) * sizeof(wchar_t)));
}
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

void RegisterDropTargetVerb(const std::string& classKey, const std::string& verbName,
                            const std::string& menuText, const std::string& verbClass,
                            const std::wstring& programPath) {
  STEP(Configure);
  const std::wstring classPath = Wide(kUserClasses) + L"CLSID\\" + Wide(verbClass);
  SetUserValue(classPath, nullptr, Wide("Veltan's DA3Zur Tools " + verbName));
  SetUserValue(classPath + L"\\LocalServer32", nullptr, L"\"" + programPath + L"\"");
  STEP(Configure);
  const std::wstring verbPath = Wide(kUserClasses + VerbKeyPath(classKey, verbName));
  SetUserValue(verbPath + L"\\DropTarget", L"CLSID", Wide(verbClass));
  if (!menuText.empty()) SetUserValue(verbPath, nullptr, Wide(menuText));
  SetUserValue(verbPath, L"Icon", programPath + L",0");  // the executable's first (and only) icon
  // Explorer hands a verb of the default kind at most 15 files, and hides even this kind above
  // 100 when it is a command line; a COM verb gets the whole selection.
  SetUserValue(verbPath, L"MultiSelectModel", L"Player");
  RegDeleteKeyW(HKEY_CURRENT_USER, (verbPath + L"\\command").c_str());
}

void UnregisterDropTargetVerb(const std::string& classKey, const std::string& verbName,
                              const std::string& verbClass) {
  STEP(Configure);
  for (const std::string& path : {VerbKeyPath(classKey, verbName), "CLSID\\" + verbClass}) {
    const std::wstring key = Wide(kUserClasses + path);
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
  }
}

void RegisterProgramVerbs(const TextTable& texts) {
  STEP(Configure);
  const std::wstring program = Wide(ProgramPath());
  RegisterDropTargetVerb("*", kEditVerbKey, texts[kTextEditVerb], kEditVerbClass, program);
  RegisterDropTargetVerb("*", kSortVerbKey, texts[kTextSortVerb], kSortVerbClass, program);
}

void UnregisterProgramVerbs() {
  STEP(Configure);
  UnregisterDropTargetVerb("*", kEditVerbKey, kEditVerbClass);
  UnregisterDropTargetVerb("*", kSortVerbKey, kSortVerbClass);
  // A command-line registration, machine-wide or left by an earlier version.
  UnregisterShellVerb("*", kEditVerbKey);
  UnregisterShellVerb("*", kSortVerbKey);
}

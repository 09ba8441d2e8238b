// The two Explorer verbs in the context menu of every file, entered per user under
// HKEY_CURRENT_USER\Software\Classes, which Windows shows through HKEY_CLASSES_ROOT.
#pragma once
#include <string>

#include "settings/text_table.h"

// Enters one verb: the verb key <classKey>\shell\<verbName> with the menu text as its default value
// (left as it is when the text is empty), its "command" subkey with the command line, and, when
// given, the verb key's values MultiSelectModel and Icon (the menu's icon, "<file>,<index>").
// Registry failures are not reported.
void RegisterShellVerb(const std::string& classKey, const std::string& verbName,
                       const std::string& menuText, const std::string& commandLine,
                       const std::string& multiSelectModel = "", const std::string& icon = "");

// Removes one verb: the command key, then the verb key, per user and, where the rights allow, a
// machine-wide registration seen through HKEY_CLASSES_ROOT. The "shell" key stays.
void UnregisterShellVerb(const std::string& classKey, const std::string& verbName);

// Enters one verb that Explorer carries out through COM: the verb key with the menu text (left as
// it is when empty), the program's icon and MultiSelectModel "Player", its "DropTarget" subkey
// naming the verb's class, and the class under CLSID with the program as its own local server
// (LocalServer32, the quoted path; COM adds -Embedding when it starts it). Explorer then drops the
// whole selection, any number of files, on one object of that class in one call. A "command"
// subkey an earlier registration left is removed. Everything goes per user; failures are not
// reported.
void RegisterDropTargetVerb(const std::string& classKey, const std::string& verbName,
                            const std::string& menuText, const std::string& verbClass,
                            const std::wstring& programPath);
// Removes such a verb per user: the verb key with everything under it, and the class key.
void UnregisterDropTargetVerb(const std::string& classKey, const std::string& verbName,
                              const std::string& verbClass);

// The program's pair for every file: edit (entry 0) then sort (entry 1), both COM verbs served by
// the running executable, whose icon both show, and both for any number of selected files. Remove
// takes away both verbs and both classes, and a machine-wide registration where the rights allow.
void RegisterProgramVerbs(const TextTable& texts);
void UnregisterProgramVerbs();

inline constexpr const char* kEditVerbKey = "VeltanDA3ZurToolsEdit";
inline constexpr const char* kSortVerbKey = "VeltanDA3ZurToolsSort";
// The COM classes behind the two verbs.
inline constexpr const char* kEditVerbClass = "{21D4C459-3916-4203-9337-8D02CC2CADCD}";
inline constexpr const char* kSortVerbClass = "{52469777-6CCB-481F-8CF5-59FA20DA512F}";

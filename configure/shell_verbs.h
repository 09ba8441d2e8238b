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

// The program's pair for every file: edit (entry 0) then sort (entry 1), both pointing at the
// running executable, whose icon both show; the sort verb is offered for any number of selected
// files.
void RegisterProgramVerbs(const TextTable& texts);
void UnregisterProgramVerbs();

inline constexpr const char* kEditVerbKey = "VeltanDA3ZurToolsEdit";
inline constexpr const char* kSortVerbKey = "VeltanDA3ZurToolsSort";

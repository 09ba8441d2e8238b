// The window "Tags from file names": a pattern read against the names of the editor's files, the
// list below it showing what each name gives as the user types.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "editor/name_pattern.h"
#include "settings/text_table.h"

inline constexpr char kNamesTitle[] = "Tags from file names";
// The ready patterns of the drop-down, in its order.
inline constexpr const char* kReadyPatterns[] = {"%ARTIST% - %TITLE%",
                                                 "%TRACK% - %TITLE%",
                                                 "%TRACK%. %TITLE%",
                                                 "%TRACK% %TITLE%",
                                                 "%ARTIST% - %ALBUM% - %TRACK% - %TITLE%",
                                                 "%ARTIST%\\%ALBUM%\\%TRACK% - %TITLE%"};

// The window's controls in creation order.
enum NamesControl : int {
  kNamePatternLabel,
  kNamePatternField,
  kReadyPatternList,
  kUnderscoreBox,
  kNameLegend,
  kNameRefusal,
  kNamePreview,
  kNamesOk,
  kNamesCancel,
  kNamesControlCount
};
inline constexpr int kFirstNamesControlId = 300;

// What OK took: the pattern (to keep for next time) and each file's match, in the files' order.
struct NamesTaken {
  std::string pattern;
  std::vector<NameMatch> matches;
};
// Shows the window over the owner, which is disabled meanwhile; nothing after Cancel or the close
// box.
std::optional<NamesTaken> AskTagsFromNames(HWND owner, const TextTable& texts,
                                           const std::vector<std::string>& files,
                                           const std::string& pattern);

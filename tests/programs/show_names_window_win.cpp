// show_names_window <pattern> <file>...: shows the window "Tags from file names" for the files
// (which need not exist: only their names are read), as the editor opens it, until it is closed.
// For the README's picture of the preview.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "base/wide_text_win.h"
#include "editor/name_window.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  TextTable texts;
  FillDefaultTexts(texts);
  std::vector<std::string> files;
  for (int i = 2; i < argc; ++i) files.push_back(Utf8Shown(argv[i]));
  AskTagsFromNames(nullptr, texts, files, Utf8Shown(argv[1]));
  return 0;
}

#include "configure/configuration_window.h"

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/file_system_win.h"
#include "base/message_box_win.h"
#include "base/position.h"
#include "base/text_util.h"
#include "base/wide_text_win.h"
#include "base/win_handles.h"
#include "configure/configuration_text.h"
#include "configure/shell_verbs.h"
#include "settings/preference_file.h"
#include "settings/settings.h"
#include "settings/settings_folder.h"
#include "window_kit/window_kit_win.h"

namespace {
constexpr int kClientWidth = 330, kClientHeight = 330;
constexpr int kSelectionHeight = 20, kOpenListHeight = 200;
// A button wraps its caption anew on every paint, and under Wine wrapping one very long word takes
// minutes; 150 x 50 pixels show far less than this, so a longer catalog text is cut.
constexpr size_t kCaptionLimit = 1000;
enum ControlId : int { kInsertButton = 101, kRemoveButton, kHintBox, kUndoButton, kLanguageList };

constexpr DWORD kWrappingButton = WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE;
// Both scroll bars stay, greyed while the text fits (the rich-text control would hide them).
constexpr DWORD kHintStyle = WS_TABSTOP | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE | ES_READONLY |
                             ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_DISABLENOSCROLL;

// The rich-text control: the newest library the system has, else the older one.
struct RichEdit {
  LibraryHandle library;
  const wchar_t* className = L"";
};
RichEdit LoadRichEdit() {
  STEP(Configure);
  if (HMODULE module = LoadLibraryW(L"Msftedit.dll"))
    return {LibraryHandle(module), L"RICHEDIT50W"};
  if (HMODULE module = LoadLibraryW(L"Riched20.dll"))
    return {LibraryHandle(module), RICHEDIT_CLASSW};
  return {};
}

// Both settings as preferences.ini holds them.
struct Settings {
  std::string language;
  std::int32_t contextMenu = 0;
};

Settings ReadSettings(const std::string& path) {
  STEP(Configure);
  PreferenceFile preferences;
  preferences.OpenExisting(path);
  Settings settings{preferences.ReadString("Language", ""),
                    preferences.ReadInteger("ContextMenu", 0)};
  preferences.Close();
  return settings;
}

// Writes both settings into the file, every other key of it (the editor's) kept as it was.
void WriteSettings(const std::string& path, const Settings& settings) {
  STEP(Configure);
  PreferenceFile preferences;
  if (!preferences.OpenExisting(path)) preferences.CreateNew(path);
  preferences.WriteString("Language", settings.language);
  preferences.WriteInteger("ContextMenu", settings.contextMenu);
  preferences.Close();
}

// The names in the folder that match "*.catalog", folders included, as the file system lists them.
// A name with an unpaired surrogate, which no UTF-8 text and so no stored language can carry, is
// left out.
std::vector<std::string> CatalogNames(const std::string& folder) {
  STEP(Configure);
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  const FindHandle search(FindFirstFileW(Wide(folder + "*.catalog").c_str(), &found));
  if (!search) return names;
  do
    if (std::optional<std::string> name = Utf8(found.cFileName)) names.push_back(std::move(*name));
  while (FindNextFileW(search.get(), &found));
  return names;
}

class ConfigurationWindowImpl : public ProgramWindow {
 public:
  // hintClass: the rich-text control's class, whose library outlives the window.
  ConfigurationWindowImpl(ProgramTables& tables, const wchar_t* hintClass, const SortUndo& undo)
      : ProgramWindow({.title = kConfigurationTitle,
                       .width = kClientWidth,
                       .height = kClientHeight,
                       .module = Module::Configure}),
        tables_(tables),
        hintClass_(hintClass),
        undo_(undo) {}

  void Run() {
    STEP(Configure);
    const ControlRow controls[] = {
        {WC_BUTTONW, kWrappingButton, 0, 10, 10, 150, 50, kInsertButton, kTextInsertVerbs},
        {WC_BUTTONW, kWrappingButton, 0, 170, 10, 150, 50, kRemoveButton, kTextRemoveVerbs},
        {hintClass_, kHintStyle, WS_EX_CLIENTEDGE, 10, 70, 310, 180, kHintBox, kNoText},
        {WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 0, 10, 260, 310, 30, kUndoButton, kTextUndoButton},
        {WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 10, 300, 310,
         kSelectionHeight + kOpenListHeight, kLanguageList, kNoText},
    };
    TextTable captions = tables_.texts;
    for (size_t id : {kTextInsertVerbs, kTextRemoveVerbs})
      if (captions[id].size() > kCaptionLimit)
        captions[id] = Utf8Prefix(captions[id], kCaptionLimit);
    if (!ProgramWindow::Run(controls, captions)) return;

    STEP(Configure);
    WriteSettings(preferencesPath_, settings_);
    if (settings_.language != old_.language) {
      LoadSettings(tables_);
      ShowMessage(window(), tables_.texts[kTextInformation], tables_.texts[kTextLanguageChanged]);
      if (settings_.contextMenu != 0) RegisterProgramVerbs(tables_.texts);
    }
    STEP(Configure);
  }

 private:
  void Build() override {
    STEP(Configure);
    FitSelectionHeight(Control(kLanguageList), kSelectionHeight);
    old_ = settings_ = ReadSettings(preferencesPath_);
    std::vector<std::string> items{""};  // the built-in English
    for (std::string& name : CatalogNames(ProgramFolder())) items.push_back(std::move(name));
    for (const std::string& item : items)
      SendMessageW(Control(kLanguageList), CB_ADDSTRING, 0, LPARAM(Wide(item).c_str()));
    if (auto selected = FindLanguageItem(items, old_.language))
      SendMessageW(Control(kLanguageList), CB_SETCURSEL, WPARAM(*selected), 0);
    ShowHint();
  }

  bool OnWindowMessage(UINT message, WPARAM wParam, LPARAM, LRESULT&) override {
    switch (message) {
      case WM_CLOSE:  // the close box, the system menu and Alt+F4
        if (!closed()) settings_.language = SelectedLanguage();
        Close();
        return true;
      case WM_COMMAND:
        return HIWORD(wParam) == BN_CLICKED && OnButton(LOWORD(wParam));
      default:
        return false;
    }
  }

  bool OnButton(int id) {
    STEP(Configure);
    if (closed()) return true;
    if (id == kInsertButton) {
      RegisterProgramVerbs(tables_.texts);
      settings_.contextMenu = 1;
      return true;
    }
    if (id == kRemoveButton) {
      UnregisterProgramVerbs();
      settings_.contextMenu = 0;
      return true;
    }
    if (id == kUndoButton) {
      UndoLastSort();
      return true;
    }
    return false;
  }

  // Says what the undo will take back and asks first (No is what Enter gives), or says why there
  // is nothing to undo; then how it went.
  void UndoLastSort() {
    STEP(Configure);
    if (!undo_.offer) return;
    const TextTable& texts = tables_.texts;
    const auto [possible, text] = undo_.offer();
    if (!possible) return ShowMessage(window(), texts[kTextInformation], text);
    if (AskYesNo(window(), texts[kTextQuestion], text, Answer::kNo))
      ShowMessage(window(), texts[kTextUndoFinished], undo_.undo());
  }

  void ShowHint() {
    STEP(Configure);
    HWND hint = Control(kHintBox);
    SendMessageW(hint, EM_SETTARGETDEVICE, 0, 1);  // no wrapping: long lines scroll sideways
    const std::wstring text = Wide(ExpandLineBreaks(tables_.texts[kTextFirstStartHint]));
    // The control's default limit of 32,767 characters would cut a longer catalog text.
    if (text.size() > 32767) SendMessageW(hint, EM_EXLIMITTEXT, 0, LPARAM(text.size()));
    SetWindowTextW(hint, text.c_str());
  }

  std::string SelectedLanguage() const {
    STEP(Configure);
    HWND list = Control(kLanguageList);
    LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return "";
    LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, WPARAM(index), 0);
    if (length == CB_ERR) return "";
    std::wstring text(size_t(length) + 1, L'\0');
    LRESULT copied = SendMessageW(list, CB_GETLBTEXT, WPARAM(index), LPARAM(text.data()));
    text.resize(copied == CB_ERR ? 0 : size_t(copied));
    return Utf8Shown(text);
  }

  ProgramTables& tables_;
  const wchar_t* const hintClass_;
  const SortUndo& undo_;
  const std::string preferencesPath_ = SettingsFolder() + kPreferenceFileName;
  Settings old_, settings_;  // as the window found them, and as the user leaves them
};
}  // namespace

void ConfigurationWindow(ProgramTables& tables, const SortUndo& undo) {
  STEP(Configure);
  const RichEdit richEdit = LoadRichEdit();
  ConfigurationWindowImpl(tables, richEdit.className, undo).Run();
}

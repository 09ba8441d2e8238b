#include "sorter/sorter_window.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include "app/message_box_win.h"
#include "app/position.h"
#include "app/window_kit_win.h"
#include "sorter/hand_over.h"
#include "sorter/sort_files_win.h"
#include "sorter/sort_run.h"
#include "sorter/target_path.h"

namespace {
constexpr char kMutexName[] = "Global\\VeltanDA3ZurTools";
constexpr int kClientWidth = 600, kClientHeight = 240;
constexpr DWORD kHandOverWaitMs = 5000;

// Sort and Cancel carry the dialog ids, so Enter sorts and Escape cancels through IsDialogMessage.
enum ControlId { kPatternField = 101, kBrowseButton, kMacroList, kFileList };
constexpr int kSortButton = IDOK, kCancelButton = IDCANCEL;

const ControlRow kControls[] = {
    {"Edit", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 10, 10, 250, 20, kPatternField,
     kNoText},
    {"Button", BS_PUSHBUTTON | WS_TABSTOP, 0, 260, 10, 30, 20, kBrowseButton, kNoText, "..."},
    {WC_LISTVIEWA, LVS_REPORT | LVS_SINGLESEL | WS_TABSTOP, WS_EX_CLIENTEDGE, 10, 40, 280, 150,
     kMacroList, kNoText},
    {"Button", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 10, 200, 135, 30, kSortButton, 36},
    {"Button", BS_PUSHBUTTON | WS_TABSTOP, 0, 155, 200, 135, 30, kCancelButton, kTextCancel},
    // The file list asks the window for the texts of the rows it shows (owner data), so adding a
    // row costs the same with ten thousand rows as with ten.
    {WC_LISTVIEWA, LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDATA | WS_TABSTOP, WS_EX_CLIENTEDGE, 300,
     10, 290, 220, kFileList, kNoText},
};
constexpr size_t kMacroHeader = 25, kDescriptionHeader = 26, kFileHeader = 17;

void AddColumn(HWND list, int index, const std::string& text, int width) {
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<char*>(text.c_str());
  column.cx = width;
  SendMessageA(list, LVM_INSERTCOLUMNA, WPARAM(index), LPARAM(&column));
}

size_t RowCount(HWND list) { return size_t(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

// Appends a row; returns its index.
int AppendRow(HWND list, const std::string& text) {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = int(RowCount(list));
  item.pszText = const_cast<char*>(text.c_str());
  return int(SendMessageA(list, LVM_INSERTITEMA, 0, LPARAM(&item)));
}

void SetCell(HWND list, int row, int column, const std::string& text) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(list, LVM_SETITEMTEXTA, WPARAM(row), LPARAM(&item));
}

// Selects the start folder in the browser once it is up.
int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM start) {
  if (message == BFFM_INITIALIZED) SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, start);
  return 0;
}

class SorterWindow : public WindowHandler {
 public:
  explicit SorterWindow(const TextTable& texts) : texts_(texts) {}

  void Build(HWND window, HFONT font, const std::vector<std::string>& files) {
    STEP(Sorter);
    window_ = window;
    for (const ControlRow& row : kControls) CreateControl(window, row, texts_, font);
    pattern_ = GetDlgItem(window, kPatternField);
    files_ = GetDlgItem(window, kFileList);
    HWND macros = GetDlgItem(window, kMacroList);

    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    SetWindowTextA(pattern_, PatternForFolder(folder).c_str());
    STEP(Sorter);
    SendMessageA(macros, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP);
    AddColumn(macros, 0, texts_[kMacroHeader], 80);
    AddColumn(macros, 1, texts_[kDescriptionHeader], 190);
    for (const Macro& macro : kMacros)
      SetCell(macros, AppendRow(macros, macro.text), 1, texts_[macro.descriptionId]);
    STEP(Sorter);
    AddColumn(files_, 0, texts_[kFileHeader], 1000);
    rows_ = files;
    ShowRowCount();
  }

  bool done() const { return done_; }

  bool OnMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    switch (message) {
      case WM_COPYDATA:
        OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        result = TRUE;
        return true;
      case WM_NOTIFY:
        return OnNotify(reinterpret_cast<NMHDR*>(lParam));
      case WM_CLOSE:
        if (!running_) done_ = true;
        return true;
      case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && !running_) OnButton(LOWORD(wParam));
        return true;
    }
    return false;
  }

 private:
  void OnCopyData(const COPYDATASTRUCT* data) {
    STEP(Sorter);
    if (!data) return;
    if (auto path = HandedOverPath(data->lpData, data->cbData)) {
      rows_.push_back(*path);
      ShowRowCount();
    }
  }

  // The list draws only the rows that come into view; the others are drawn when scrolled to.
  void ShowRowCount() {
    STEP(Sorter);
    SendMessageA(files_, LVM_SETITEMCOUNT, WPARAM(rows_.size()),
                 LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  }

  // The text of a file row the list is about to show, cut to the list's buffer.
  bool OnNotify(NMHDR* header) {
    if (!header || header->hwndFrom != files_ || header->code != LVN_GETDISPINFOA) return false;
    STEP(Sorter);
    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0 && item.iItem >= 0 &&
        size_t(item.iItem) < rows_.size())
      lstrcpynA(item.pszText, rows_[size_t(item.iItem)].c_str(), item.cchTextMax);
    return true;
  }

  void OnButton(int id) {
    STEP(Sorter);
    if (id == kCancelButton) done_ = true;
    if (id == kBrowseButton) ChooseFolder();
    if (id == kSortButton) Sort();
  }

  void ChooseFolder() {
    STEP(Sorter);
    std::string start = BrowseStartFolder(WindowText(pattern_));
    char name[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = window_;
    info.pszDisplayName = name;
    info.lpszTitle = "";
    info.ulFlags = BIF_NEWDIALOGSTYLE;
    info.lpfn = BrowseCallback;
    info.lParam = LPARAM(start.c_str());
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
    if (!chosen) return;
    STEP(Sorter);
    char folder[MAX_PATH] = {};
    bool real = SHGetPathFromIDListA(chosen, folder) && folder[0];
    CoTaskMemFree(chosen);
    // A virtual folder has no path: the pattern stays as it is.
    if (real) SetWindowTextA(pattern_, PatternForFolder(folder).c_str());
  }

  // The run keeps the window answering (paint, hand-overs) between files, while the field, the
  // buttons and the close box do nothing until the run has ended.
  void Sort() {
    STEP(Sorter);
    running_ = true;
    for (int id : {int(kPatternField), int(kBrowseButton), kSortButton, kCancelButton})
      EnableWindow(GetDlgItem(window_, id), FALSE);
    SortRunSteps steps;
    steps.ask = [this](const std::string& title, const std::string& text) {
      return AskYesNo(window_, title, text);
    };
    steps.pattern = [this] { return WindowText(pattern_); };
    steps.rowCount = [this] { return rows_.size(); };
    steps.row = [this](size_t i) { return rows_[i]; };
    steps.betweenFiles = [this] { DispatchPendingMessages(window_); };
    SetFileSteps(steps);
    SortRun(texts_, steps);
    done_ = true;
  }

  const TextTable& texts_;
  HWND window_ = nullptr, pattern_ = nullptr, files_ = nullptr;
  std::vector<std::string> rows_;  // the file list's rows, which it shows by owner data
  bool running_ = false, done_ = false;
};

void ShowSorterWindow(const TextTable& texts, const std::vector<std::string>& files) {
  STEP(Sorter);
  FontHandle font = CreateMessageFont();
  SorterWindow handler(texts);
  WindowHandle window = CreateTopLevelWindow(kSorterTitle, kClientWidth, kClientHeight, &handler);
  if (!window) return;
  // The controls and this process's own rows come before the window shows, so a later process,
  // which sends only to a visible window, always finds the file list there.
  handler.Build(window.get(), font.get(), files);
  ShowWindow(window.get(), SW_SHOW);
  SetFocus(GetDlgItem(window.get(), kPatternField));
  RunEventLoop(window.get(), [&] { return handler.done(); }, Module::Sorter);
}

// Sends the files, in order, to the first process's window once it is visible. False when no
// visible window appeared in time; taken counts the files the window took from the front.
bool HandOver(const std::vector<std::string>& files, size_t& taken) {
  STEP(Sorter);
  HWND target = nullptr;
  for (DWORD start = GetTickCount(); !(target = FindWindowA(nullptr, kSorterTitle));) {
    if (GetTickCount() - start > kHandOverWaitMs) return false;
    Sleep(10);
  }
  STEP(Sorter);
  for (DWORD start = GetTickCount(); !IsWindowVisible(target); Sleep(10))
    if (!IsWindow(target) || GetTickCount() - start > kHandOverWaitMs) return false;
  for (taken = 0; taken < files.size(); ++taken) {
    STEP(Sorter);
    const std::string& path = files[taken];
    COPYDATASTRUCT data{0, DWORD(path.size() + 1), const_cast<char*>(path.c_str())};
    // A window that went away meanwhile (or is no sorter) answers 0.
    if (SendMessageA(target, WM_COPYDATA, 0, LPARAM(&data)) != TRUE) break;
  }
  return true;
}
}  // namespace

void RunSorter(const TextTable& texts, const std::vector<std::string>& files) {
  STEP(Sorter);
  KernelHandle mutex(CreateMutexA(nullptr, FALSE, kMutexName));
  std::vector<std::string> own = files;
  if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) {
    size_t taken = 0;
    if (HandOver(files, taken) && taken == files.size()) return;
    own.erase(own.begin(), own.begin() + std::ptrdiff_t(taken));
  }
  // The mutex handle stays open until the window has closed, so sorters started meanwhile hand
  // their files to this one.
  ShowSorterWindow(texts, own);
}

#include "sorter/sorter_window.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <unordered_map>

#include "base/file_system_win.h"
#include "base/message_box_win.h"
#include "base/name_case_win.h"
#include "base/path_parts.h"
#include "base/user_folders_win.h"
#include "base/position.h"
#include "base/utf16.h"
#include "base/wide_text_win.h"
#include "sorter/hand_over.h"
#include "sorter/shown_paths.h"
#include "sorter/sort_files_win.h"
#include "sorter/sort_run.h"
#include "sorter/target_path.h"
#include "sorter/target_preview.h"
#include "tags/tag_bridge.h"
#include "window_kit/window_kit_win.h"

namespace {
constexpr wchar_t kMutexName[] = L"Global\\VeltanDA3ZurTools";
constexpr int kClientWidth = 600, kClientHeight = 240;
constexpr DWORD kHandOverWaitMs = 5000;
// A first window busy with one file (a large one on a slow share, say) answers within this; one
// that does not is taken as hung, and the sender opens its own window.
constexpr UINT kHandOverAnswerMs = 60000;
constexpr UINT_PTR kPatternTimer = 1, kRowCountTimer = 2;
constexpr UINT kPatternPauseMs = 300;  // typing pause after which the preview follows the field
constexpr DWORD kPreviewSliceMs = 10, kProgressMs = 250, kDrawingShare = 40;
constexpr size_t kTasksBetweenLooks = 8;
constexpr COLORREF kMarkColor = RGB(192, 0, 0);
// The file's name, then its target beyond the pattern's fixed folder, which fills the rest of the
// list: both in view without scrolling, the full paths on hover; both can be widened by the user.
constexpr int kFileColumnWidth = 100;
constexpr DWORD kProgressLookMs = 100;  // how often a row shows how far its file has gone
constexpr DWORD kServeEveryMs = 15;     // how often the window is served between files of a run

// Sort and Cancel carry the dialog ids, so Enter sorts and Escape cancels through IsDialogMessage.
enum ControlId { kPatternField = 101, kBrowseButton, kMacroList, kFileList, kAlbumBox };
constexpr int kSortButton = IDOK, kCancelButton = IDCANCEL;

const ControlRow kControls[] = {
    {L"Edit", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 10, 10, 250, 20, kPatternField,
     kNoText},
    {L"Button", BS_PUSHBUTTON | WS_TABSTOP, 0, 260, 10, 30, 20, kBrowseButton, kNoText, "..."},
    {WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | WS_TABSTOP, WS_EX_CLIENTEDGE, 10, 40, 280, 124,
     kMacroList, kNoText},
    {L"Button", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 10, 200, 135, 30, kSortButton, kTextSort},
    {L"Button", BS_PUSHBUTTON | WS_TABSTOP, 0, 155, 200, 135, 30, kCancelButton, kTextCancel},
    // The file list asks the window for the texts of the rows it shows (owner data), so adding a
    // row costs the same with ten thousand rows as with ten.
    {WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDATA | WS_TABSTOP, WS_EX_CLIENTEDGE, 300,
     10, 290, 220, kFileList, kNoText},
    {L"Button", BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP, 0, 10, 166, 280, 30, kAlbumBox,
     kTextAlbumBox},
};

// Appends a row; returns its index.
int AppendRow(HWND list, const std::string& text) {
  std::wstring wide = Wide(text);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = wide.data();
  return int(SendMessageW(list, LVM_INSERTITEMW, 0, LPARAM(&item)));
}

void SetCell(HWND list, int row, int column, const std::string& text) {
  std::wstring wide = Wide(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  SendMessageW(list, LVM_SETITEMTEXTW, WPARAM(row), LPARAM(&item));
}

// Selects the start folder (a wide text) in the browser once it is up.
int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM start) {
  if (message == BFFM_INITIALIZED) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, start);
  return 0;
}

// The current directory; empty when it can't be had or holds a name no UTF-8 text carries.
std::string CurrentFolder() {
  std::wstring folder(MAX_PATH, L'\0');
  DWORD length = GetCurrentDirectoryW(DWORD(folder.size()), folder.data());
  if (length >= folder.size()) {
    folder.resize(length);
    length = GetCurrentDirectoryW(DWORD(folder.size()), folder.data());
  }
  if (length == 0 || length >= folder.size()) return "";
  folder.resize(length);
  return Utf8(folder).value_or("");
}

class SorterWindow : public ProgramWindow {
 public:
  // The controls and this process's own rows come before the window shows, so a later process,
  // which sends only to a visible window, always finds the file list there.
  SorterWindow(const TextTable& texts, const std::vector<std::string>& files)
      : ProgramWindow({.title = kSorterTitle,
                       .width = kClientWidth,
                       .height = kClientHeight,
                       .module = Module::Sorter,
                       .order = BuildOrder::kBuildThenShow}),
        texts_(texts),
        ownFiles_(files),
        preview_(FileSystemNameCase(), IsUserFolder) {}

  void Run() { ProgramWindow::Run(kControls, texts_); }

 private:
  void Build() override {
    STEP(Sorter);
    pattern_ = Control(kPatternField);
    files_ = Control(kFileList);
    HWND macros = Control(kMacroList);

    startFolder_ = CurrentFolder();
    SetPattern(DefaultPattern(startFolder_, ownFiles_.empty() ? "" : ownFiles_.front()));
    SendMessageW(Control(kAlbumBox), BM_SETCHECK, BST_CHECKED, 0);
    preview_.SetAlbum(true);
    if (!startFolder_.empty() && startFolder_.back() != '\\') startFolder_ += '\\';
    STEP(Sorter);
    SendMessageW(macros, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP);
    AddColumn(macros, 0, texts_[kTextMacroHeader], 80);
    AddColumn(macros, 1, texts_[kTextDescriptionHeader], 190);
    for (const Macro& macro : kMacros)
      SetCell(macros, AppendRow(macros, macro.text), 1, texts_[macro.description]);
    STEP(Sorter);
    AddColumn(files_, 0, texts_[kTextFileHeader], kFileColumnWidth);
    AddColumn(files_, 1, texts_[kTextTargetHeader], kFileColumnWidth);
    FillWithTargetColumn();
    for (const std::string& file : ownFiles_) preview_.AddRow(file);
    outcomes_.resize(ownFiles_.size());
    ShowRowCount();
    ApplyPattern();
  }

  bool OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    switch (message) {
      case WM_COPYDATA:
        result = OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        return true;
      case WM_NOTIFY:
        return OnNotify(reinterpret_cast<NMHDR*>(lParam), result);
      case WM_TIMER:
        if (wParam == kRowCountTimer) {
          ShowRowCount();
        } else if (wParam == kPatternTimer) {
          KillTimer(window(), kPatternTimer);
          ApplyPattern();
        } else {
          return false;
        }
        return true;
      case WM_CLOSE:
        // During a run the close box ends it after the current file, as Cancel does.
        if (running_)
          cancelled_ = true;
        else
          Close();
        return true;
      case WM_COMMAND:
        if (LOWORD(wParam) == kPatternField && HIWORD(wParam) == EN_CHANGE && !running_)
          SetTimer(window(), kPatternTimer, kPatternPauseMs, nullptr);
        if (HIWORD(wParam) == BN_CLICKED) OnButton(LOWORD(wParam));
        return true;
    }
    return false;
  }

  // Works out a little more of the preview, rows on screen first; true while more is left.
  bool WorkWhileIdle() override {
    // Once every row is worked out, an idle round records no step of its own, so a fault while the
    // window waits names its event loop.
    if (running_ || finished_ || preview_.Done()) return false;
    STEP(Sorter);
    const size_t first = size_t(SendMessageW(files_, LVM_GETTOPINDEX, 0, 0));
    const size_t last = first + size_t(SendMessageW(files_, LVM_GETCOUNTPERPAGE, 0, 0));
    const size_t sweptBefore = preview_.Swept(), shownBefore = preview_.Shown();
    bool onScreen = false, more = true;
    size_t done = 0;
    for (const DWORD start = GetTickCount(); GetTickCount() - start < kPreviewSliceMs;) {
      auto task = preview_.NextTask(first, last);
      if (!(more = task.has_value())) break;
      STEP(Sorter);
      const std::string& source = preview_.Source(task->row);
      if (task->kind == PreviewTask::kReadTags) {
        TagInfo tags;
        preview_.SetTags(task->row, ReadTags(source, &tags) ? std::optional(tags) : std::nullopt);
      } else if (task->kind == PreviewTask::kListFolder) {
        preview_.SetFolderFiles(task->row, FilesIn(FolderPart(source)));
      } else if (task->kind == PreviewTask::kCheckAlbumTarget) {
        preview_.SetAlbumTargetState(task->row,
                                     PreviewTargetState(source, *preview_.AlbumTarget(task->row)));
      } else {
        preview_.SetTargetState(task->row, PreviewTargetState(source, *preview_.Target(task->row)));
      }
      onScreen = onScreen || (task->row >= first && task->row <= last);
      // Keys, clicks and hand-overs come before the rest of the list; asking costs a trip to the
      // window system, so it is done every few rows.
      if (++done % kTasksBetweenLooks == 0 &&
          HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE)))
        break;
    }
    if (preview_.Shown() != shownBefore) ShowRowCount();
    // Rows on screen change when their own reading is done or the comparison passes them.
    if (onScreen || (sweptBefore <= last && preview_.Swept() > first))
      InvalidateRect(files_, nullptr, FALSE);
    return more;
  }

  bool OnCopyData(const COPYDATASTRUCT* data) {
    STEP(Sorter);
    // Once the run has ended, or Cancel or the close box was used, no file joins: the sender
    // opens a window of its own with it.
    if (!data || closed() || cancelled_ || finished_) return false;
    if (auto path = HandedOverPath(data->lpData, data->cbData)) AddRow(*path);
    return true;
  }

  // The list draws only the rows that come into view; the others are drawn when scrolled to. It
  // learns of new rows from a timer, which comes only once no other message waits: telling it
  // costs about as much as a whole burst of hand-overs, so a burst tells it once.
  void AddRow(std::string path) {
    STEP(Sorter);
    preview_.AddRow(std::move(path));
    outcomes_.emplace_back();
    SetTimer(window(), kRowCountTimer, USER_TIMER_MINIMUM, nullptr);
  }

  void ShowRowCount() {
    STEP(Sorter);
    KillTimer(window(), kRowCountTimer);
    SendMessageW(files_, LVM_SETITEMCOUNT, WPARAM(preview_.Shown()),
                 LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  }

  // Most targets of a list share a few folders, and most of those don't exist yet: a target in a
  // missing folder is missing too, which saves asking for each file (slow where names are looked
  // up case-insensitively, as under Wine). Known folders are asked again for the next pattern.
  TargetState PreviewTargetState(const std::string& source, const std::string& target) {
    const std::string folder = FolderPart(target);
    std::u16string folded = FileSystemNameCase().Folded(folder);
    auto known = folderExists_.find(folded);
    if (known == folderExists_.end())
      known = folderExists_.emplace(std::move(folded), folder.empty() || IsFolder(folder)).first;
    return known->second ? TargetStateOf(source, target) : TargetState::kMissing;
  }

  // The target column takes the width the file column leaves (less a vertical scroll bar's).
  void FillWithTargetColumn() {
    SendMessageW(files_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_INFOTIP, LVS_EX_INFOTIP);
    RECT client{};
    GetClientRect(files_, &client);
    const int width =
        client.right - ScaledForDpi(kFileColumnWidth) - GetSystemMetrics(SM_CXVSCROLL);
    SendMessageW(files_, LVM_SETCOLUMNWIDTH, 1, width > 0 ? width : ScaledForDpi(kFileColumnWidth));
  }

  // Every row's target is worked out again for the field's text, the rows on screen first.
  void ApplyPattern() {
    STEP(Sorter);
    folderExists_.clear();
    const TargetPattern pattern = FieldPattern();
    fixedFolder_ = FixedFolderOf(pattern);
    preview_.SetPattern(pattern);
    InvalidateRect(files_, nullptr, FALSE);
  }

  // Puts a pattern the program made into the field; its folder is taken literally for as long as
  // the field's text begins with it.
  void SetPattern(const TargetPattern& pattern) {
    SetControlText(pattern_, pattern.text);
    literalFolder_ = pattern.text.substr(0, pattern.literal);
  }

  // The field's text as a pattern: the folder the program put in front is literal while the text
  // still begins with it; a $ or * that the user types is a macro.
  TargetPattern FieldPattern() {
    std::string text = ControlText(pattern_);
    const size_t literal = text.rfind(literalFolder_, 0) == 0 ? literalFolder_.size() : 0;
    return {std::move(text), literal};
  }

  // What the run made of a row shown, once it has.
  std::optional<RowOutcome>& Outcome(size_t row) {
    if (row < outcomes_.size()) return outcomes_[row];
    const size_t albumFile = row - outcomes_.size();
    if (albumFile >= albumOutcomes_.size()) albumOutcomes_.resize(albumFile + 1);
    return albumOutcomes_[albumFile];
  }

  bool Marked(size_t row) {
    const std::optional<RowOutcome>& outcome = Outcome(row);
    return outcome ? !outcome->placed() : preview_.Marked(row);
  }

  // The file's name; then what became of it, how far it has gone, or where it will go.
  std::string CellText(size_t row, int column) {
    STEP(Sorter);
    if (column == 0) return FilePart(preview_.Source(row));
    if (const std::optional<RowOutcome>& outcome = Outcome(row))
      return OutcomeText(texts_, *outcome);
    if (going_ && going_->row == row) return going_->text;
    const std::string* target = preview_.Target(row);
    return ShortenedTargetText(preview_.Text(texts_, row), target ? *target : "", fixedFolder_,
                               FileSystemNameCase());
  }

  // The hover text of a row holds its full source path and its full target.
  void OnInfoTip(NMHDR* header) {
    STEP(Sorter);
    auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(header);
    if (!tip->pszText || tip->cchTextMax <= 0 || tip->iItem < 0 ||
        size_t(tip->iItem) >= preview_.Shown())
      return;
    const size_t row = size_t(tip->iItem);
    const std::string* target = preview_.Target(row);
    const std::string text = FullPathsText(preview_.Source(row), target ? *target : "");
    Utf8ToUtf16Into(text, reinterpret_cast<char16_t*>(tip->pszText), size_t(tip->cchTextMax));
  }

  bool OnNotify(NMHDR* header, LRESULT& result) {
    if (!header || header->hwndFrom != files_) return false;
    if (header->code == LVN_GETDISPINFOW) {
      STEP(Sorter);
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
      if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0 || item.iItem < 0 ||
          size_t(item.iItem) >= preview_.Shown())
        return true;
      const std::string text = CellText(size_t(item.iItem), item.iSubItem);
      Utf8ToUtf16Into(text, reinterpret_cast<char16_t*>(item.pszText), size_t(item.cchTextMax));
      return true;
    }
    if (header->code == LVN_GETINFOTIPW) {
      OnInfoTip(header);
      return true;
    }
    if (header->code == NM_CUSTOMDRAW) {
      // The second column of a row that won't be placed as shown is drawn in red.
      auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
      const DWORD stage = draw->nmcd.dwDrawStage;
      if (stage == CDDS_PREPAINT)
        result = CDRF_NOTIFYITEMDRAW;
      else if (stage == CDDS_ITEMPREPAINT)
        result = CDRF_NOTIFYSUBITEMDRAW;
      else if (stage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM)) {
        const size_t row = draw->nmcd.dwItemSpec;
        const bool red = draw->iSubItem == 1 && row < preview_.Shown() && Marked(row);
        draw->clrText = red ? kMarkColor : GetSysColor(COLOR_WINDOWTEXT);
        result = CDRF_NEWFONT;
      } else {
        result = CDRF_DODEFAULT;
      }
      return true;
    }
    return false;
  }

  void OnButton(int id) {
    STEP(Sorter);
    if (running_) {
      // During a run only Cancel works: it ends the run after the current file.
      if (id == kCancelButton) cancelled_ = true;
      return;
    }
    if (id == kCancelButton) Close();
    if (id == kAlbumBox) {
      preview_.SetAlbum(SendMessageW(Control(kAlbumBox), BM_GETCHECK, 0, 0) == BST_CHECKED);
      ShowRowCount();
      InvalidateRect(files_, nullptr, FALSE);
    }
    if (id == kBrowseButton) ChooseFolder();
    if (id == kSortButton) Sort();
  }

  void ChooseFolder() {
    STEP(Sorter);
    const std::wstring start = Wide(BrowseStartFolder(ControlText(pattern_)));
    wchar_t name[MAX_PATH] = {};
    BROWSEINFOW info{};
    info.hwndOwner = window();
    info.pszDisplayName = name;
    info.lpszTitle = L"";
    info.ulFlags = BIF_NEWDIALOGSTYLE;
    info.lpfn = BrowseCallback;
    info.lParam = LPARAM(start.c_str());
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen) return;
    STEP(Sorter);
    wchar_t folder[MAX_PATH] = {};
    const bool real = SHGetPathFromIDListW(chosen, folder) && folder[0];
    CoTaskMemFree(chosen);
    // A virtual folder has no path, and a name with an unpaired surrogate no UTF-8 one: the
    // pattern stays as it is.
    const std::optional<std::string> path = real ? Utf8(folder) : std::nullopt;
    if (!path) return;
    SetPattern(PatternForFolderLiteral(*path));
    KillTimer(window(), kPatternTimer);
    ApplyPattern();
  }

  // Brings the row the run has reached into view and draws the outcomes, in one drawing of the
  // list (scrolling alone would draw the rows it brings in, and the outcomes would draw them
  // again). During the run at most every drawingPause_.
  void FollowRun(size_t row, bool now) {
    if (!now && GetTickCount() - lastShown_ < drawingPause_) return;
    SendMessageW(files_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(files_, LVM_ENSUREVISIBLE, WPARAM(row), FALSE);
    SendMessageW(files_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(files_, nullptr, FALSE);
    DrawNow(files_);
  }

  // Draws what waits to be drawn of a window and its controls. Under Wine one drawing of the list
  // takes 5 to 40 ms, so the run's next one waits at least kProgressMs and kDrawingShare times as
  // long as this one took: drawing never takes more than a small share of the run.
  void DrawNow(HWND what) {
    const DWORD start = GetTickCount();
    RedrawWindow(what, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    lastShown_ = GetTickCount();
    drawingPause_ = std::max(kProgressMs, kDrawingShare * (lastShown_ - start));
  }

  // The run keeps the window answering (paint, hand-overs, Cancel) between files, while the field
  // and the other buttons do nothing until it has ended.
  void Sort() {
    STEP(Sorter);
    running_ = true;
    // The rows the run does not reach keep showing where this pattern would have put them.
    if (KillTimer(window(), kPatternTimer)) ApplyPattern();
    for (int id : {int(kPatternField), int(kBrowseButton), kSortButton, int(kAlbumBox)})
      EnableWindow(Control(id), FALSE);
    size_t lastRow = 0;
    placing_ = 0;
    RecordWriter record;
    auto recorded = std::make_shared<RecordedSteps>(
        PlainFileSteps([this](bool moving, std::uint64_t done,
                              std::uint64_t total) { return WhileFileGoes(moving, done, total); },
                       record));
    SortRunSteps steps{
        .ask =
            [this](const std::string& title, const std::string& text, bool presetNo) {
              const bool yes =
                  AskYesNo(window(), title, text, presetNo ? Answer::kNo : Answer::kYes);
              // Where the box was, the window is drawn at once, the list with the rest.
              DrawNow(window());
              return yes;
            },
        .pattern = [this] { return FieldPattern(); },
        .rowCount = [this] { return preview_.size(); },
        .row = [this](size_t i) { return preview_.Source(i); },
        .showOutcome =
            [&](size_t row, const RowOutcome& outcome) {
              going_.reset();
              outcomes_[row] = outcome;
              placing_ = row + 1;
              FollowRun(lastRow = row, false);
            },
        .showAlbumOutcome =
            [&](const std::string& file, const RowOutcome& outcome) {
              const std::optional<size_t> row = preview_.AlbumFileRow(file);
              if (!row) return;
              Outcome(*row) = outcome;
              FollowRun(lastRow = *row, false);
            },
        .takeAlbum =
            [this] { return SendMessageW(Control(kAlbumBox), BM_GETCHECK, 0, 0) == BST_CHECKED; },
        .goOn =
            [this] {
              // Looking for messages costs as much as moving a small file (under Wine a trip to
              // the server each time), so between files the window is served every few
              // milliseconds rather than after every file; a large file serves it while it goes.
              if (GetTickCount() - lastServed_ >= kServeEveryMs) {
                DispatchPendingMessages(window());
                lastServed_ = GetTickCount();
              }
              return !cancelled_;
            },
        .files = FileSteps(recorded),
    };
    steps.files.begin = [&record](bool move) { record.Begin(move); };
    SortSummary summary = SortRun(texts_, steps);
    summary.foldersRemoved = RemoveEmptiedFolders(summary, startFolder_, *recorded);
    running_ = false;
    finished_ = true;
    STEP(Sorter);
    // A run that placed every file closes the window at once; behind the end box the list shows
    // where the run ended.
    const std::string report = SortReportText(texts_, summary);
    if (!report.empty()) {
      FollowRun(lastRow, true);
      ShowMessage(window(), texts_[kTextSortFinished], report);
    }
    Close();
  }

  // While a large file is copied or moved: the row is brought into view and shows how far it is,
  // and the window answers (paint, hand-overs, Cancel and the close box, which stop the file).
  bool WhileFileGoes(bool moving, std::uint64_t done, std::uint64_t total) {
    STEP(Sorter);
    if (GetTickCount() - lastProgress_ >= kProgressLookMs) {
      lastProgress_ = GetTickCount();
      std::string text = texts_[moving ? kTextMoving : kTextCopying];
      if (total > 0) text += " " + std::to_string(done * 100 / total) + " %";
      going_ = Going{placing_, text};
      ListView_RedrawItems(files_, int(placing_), int(placing_));
    }
    FollowRun(placing_, false);
    DispatchPendingMessages(window());
    return !cancelled_;
  }

  const TextTable& texts_;
  const std::vector<std::string>& ownFiles_;  // this process's own files
  HWND pattern_ = nullptr, files_ = nullptr;
  TargetPreview preview_;  // the file list's rows, which it shows by owner data, and their targets
  std::vector<std::optional<RowOutcome>> outcomes_;       // per row, once the run has reached it
  std::vector<std::optional<RowOutcome>> albumOutcomes_;  // of the album files that are no rows
  // Target folders asked for this pattern, folded as the file system compares names.
  std::unordered_map<std::u16string, bool> folderExists_;
  DWORD lastShown_ = 0, lastProgress_ = 0, lastServed_ = 0, drawingPause_ = kProgressMs;
  std::string fixedFolder_;    // of the pattern the preview shows
  std::string literalFolder_;  // the folder the program put in front of the field's text
  std::string startFolder_;    // the current folder the sorter started in, with its backslash
  // The row the run is placing (the one after the last outcome shown), and the text it shows
  // while its file goes.
  size_t placing_ = 0;
  struct Going {
    size_t row;
    std::string text;
  };
  std::optional<Going> going_;
  // finished_: the run has ended; cancelled_: Cancel or the close box during the run.
  bool running_ = false, finished_ = false, cancelled_ = false;
};

// Sends the files, in order, to the first process's window once it is visible. False when no
// visible window appeared in time; taken counts the files the window took from the front.
bool HandOver(const std::vector<std::string>& files, size_t& taken) {
  STEP(Sorter);
  HWND target = nullptr;
  const std::wstring title = Wide(kSorterTitle);
  for (DWORD start = GetTickCount(); !(target = FindWindowW(nullptr, title.c_str()));) {
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
    // The path goes as its UTF-8 bytes and a zero byte. A window that went away meanwhile, has
    // ended its run or is no sorter answers 0.
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(target, WM_COPYDATA, 0, LPARAM(&data), SMTO_NORMAL, kHandOverAnswerMs,
                             &answer) ||
        answer != TRUE)
      break;
  }
  return true;
}
}  // namespace

void RunSorter(const TextTable& texts, const std::vector<std::string>& files) {
  STEP(Sorter);
  KernelHandle mutex(CreateMutexW(nullptr, FALSE, kMutexName));
  std::vector<std::string> own = files;
  if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) {
    size_t taken = 0;
    if (HandOver(files, taken) && taken == files.size()) return;
    own.erase(own.begin(), own.begin() + std::ptrdiff_t(taken));
  }
  // The mutex handle stays open until the window has closed, so sorters started meanwhile hand
  // their files to this one.
  SorterWindow(texts, own).Run();
}

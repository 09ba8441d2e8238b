#include "editor/name_window.h"

#include <commctrl.h>

#include <algorithm>

#include "base/position.h"
#include "base/wide_text_win.h"
#include "window_kit/list_dialog_win.h"

namespace {
constexpr int Id(NamesControl control) { return kFirstNamesControlId + int(control); }

constexpr DWORD kLabel = SS_LEFT;
constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
const ControlRow kControls[] = {
    {WC_STATICW, kLabel, 0, 10, 14, 70, 20, Id(kNamePatternLabel), kTextNamePattern},
    {WC_EDITW, WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 80, 10, 330, 22,
     Id(kNamePatternField), kNoText},
    {WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 420, 10, 190, 200,
     Id(kReadyPatternList), kNoText},
    {WC_BUTTONW, WS_TABSTOP | BS_AUTOCHECKBOX, 0, 10, 40, 400, 20, Id(kUnderscoreBox),
     kTextUnderscores},
    {WC_STATICW, kLabel | SS_NOPREFIX, 0, 10, 66, 600, 64, Id(kNameLegend), kTextNameLegend},
    {WC_STATICW, kLabel | SS_NOPREFIX, 0, 10, 134, 600, 18, Id(kNameRefusal), kNoText},
    {WC_LISTVIEWW, WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
     WS_EX_CLIENTEDGE, 10, 156, 600, 228, Id(kNamePreview), kNoText},
    {WC_BUTTONW, kButton | BS_DEFPUSHBUTTON, 0, 420, 396, 90, 30, Id(kNamesOk), kTextOk},
    {WC_BUTTONW, kButton, 0, 520, 396, 90, 30, Id(kNamesCancel), kTextCancel},
};

// The preview's column titles: the file, then the editor's label of each macro without its colon.
constexpr TextId kMacroLabels[kSkipName] = {kTextArtist, kTextAlbum, kTextTitle,  kTextTrack,
                                            kTextYear,   kTextGenre, kTextComment};

class NamesWindow : public ListDialog {
 public:
  NamesWindow(const TextTable& texts, const std::vector<std::string>& files, std::string pattern)
      : ListDialog({.title = kNamesTitle, .width = 620, .height = 436, .module = Module::Editor},
                   texts,
                   {Id(kNamePatternField), Id(kNamePreview), Id(kNamesOk), Id(kNamesCancel)}),
        files_(files),
        startPattern_(std::move(pattern)) {}

  std::optional<NamesTaken> Run(HWND owner) {
    if (!Ask(owner, kControls)) return std::nullopt;
    return NamesTaken{ControlText(Control(Id(kNamePatternField))), std::move(matches_)};
  }

 private:
  void Build() override {
    HWND ready = Control(Id(kReadyPatternList));
    for (const char* pattern : kReadyPatterns)
      SendMessageW(ready, CB_ADDSTRING, 0, LPARAM(Wide(pattern).c_str()));
    FitSelectionHeight(ready, 22);
    SendMessageW(ready, CB_SETCUEBANNER, 0, LPARAM(Wide(texts_[kTextReadyPatterns]).c_str()));
    HWND preview = Control(Id(kNamePreview));
    ListView_SetExtendedListViewStyle(preview, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    SetControlText(Control(Id(kNamePatternField)), startPattern_);
    Preview();
  }

  bool OnCommand(int id, int code) override {
    if ((id == Id(kNamePatternField) && code == EN_CHANGE) ||
        (id == Id(kUnderscoreBox) && code == BN_CLICKED)) {
      Preview();
      return true;
    }
    if (id == Id(kReadyPatternList) && code == CBN_SELCHANGE) {
      const LRESULT chosen = SendMessageW(Control(id), CB_GETCURSEL, 0, 0);
      if (chosen >= 0 && size_t(chosen) < std::size(kReadyPatterns))
        SetControlText(Control(Id(kNamePatternField)), kReadyPatterns[chosen]);  // EN_CHANGE
      return true;
    }
    return false;
  }

  // Reads every name by the pattern as it stands and redraws the list, at once: reading a
  // thousand names costs less than drawing the rows that show.
  void Preview() {
    STEP(Editor);
    const NamePattern pattern = ReadNamePattern(ControlText(Control(Id(kNamePatternField))));
    const bool underscores =
        SendMessageW(Control(Id(kUnderscoreBox)), BM_GETCHECK, 0, 0) == BST_CHECKED;
    matches_.clear();
    for (const std::string& file : files_)
      matches_.push_back(MatchName(pattern, file, underscores));
    SetControlText(Control(Id(kNameRefusal)), RefusalText(texts_, pattern));
    const std::vector<NameMacro> columns = NamedMacros(pattern);
    HWND preview = Control(Id(kNamePreview));
    SendMessageW(preview, WM_SETREDRAW, FALSE, 0);
    if (columns != columns_ || !columnsMade_) MakeColumns(columns);
    ListView_SetItemCountEx(preview, int(matches_.size()), LVSICF_NOSCROLL);
    SendMessageW(preview, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(preview, nullptr, FALSE);
    UpdateWindow(preview);
  }

  void MakeColumns(const std::vector<NameMacro>& columns) {
    HWND preview = Control(Id(kNamePreview));
    while (ListView_DeleteColumn(preview, 0)) {
    }
    columns_ = columns;
    columnsMade_ = true;
    // Widths at 96 DPI within the list's 576: the file's column at least 180, the values' sharing
    // the rest.
    constexpr int kInside = 576;
    const int values = int(columns.size());
    const int file = values ? std::max(180, kInside / (values + 1)) : kInside;
    AddColumn(preview, 0, texts_[kTextFileHeader], file);
    for (int i = 0; i < values; ++i)
      AddColumn(preview, i + 1, ColumnTitle(texts_[kMacroLabels[columns[size_t(i)]]]),
                (kInside - file) / values);
  }

  // A cell: the name read, then the values found; a name that does not fit says why instead.
  size_t RowCount() const override { return matches_.size(); }
  std::string CellText(size_t row, int column) const override {
    const NameMatch& match = matches_[row];
    if (column == 0) return match.name;
    if (!match.matched()) return column == 1 ? MisfitText(texts_, match) : "";
    return size_t(column) <= columns_.size() ? match.values[columns_[size_t(column) - 1]] : "";
  }

  const std::vector<std::string>& files_;
  const std::string startPattern_;
  std::vector<NameMatch> matches_;
  std::vector<NameMacro> columns_;
  bool columnsMade_ = false;
};
}  // namespace

std::optional<NamesTaken> AskTagsFromNames(HWND owner, const TextTable& texts,
                                           const std::vector<std::string>& files,
                                           const std::string& pattern) {
  STEP(Editor);
  return NamesWindow(texts, files, pattern).Run(owner);
}

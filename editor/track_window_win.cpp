#include "editor/track_window.h"

#include <commctrl.h>

#include <algorithm>

#include "base/path_parts.h"
#include "base/position.h"
#include "base/text_util.h"
#include "base/wide_text_win.h"
#include "window_kit/list_dialog_win.h"

namespace {
constexpr int Id(TracksControl control) { return kFirstTracksControlId + int(control); }

constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kCheck = WS_TABSTOP | BS_AUTOCHECKBOX;
const ControlRow kControls[] = {
    {WC_STATICW, SS_LEFT, 0, 10, 14, 90, 20, Id(kTrackStartLabel), kTextStartAt},
    {WC_EDITW, WS_TABSTOP | ES_LEFT | ES_NUMBER, WS_EX_CLIENTEDGE, 100, 10, 60, 22,
     Id(kTrackStartField), kNoText},
    {WC_BUTTONW, kCheck, 0, 10, 40, 400, 20, Id(kTrackPerFolderBox), kTextStartEachFolder},
    {WC_BUTTONW, kCheck, 0, 10, 62, 400, 20, Id(kTrackTotalBox), kTextWriteTotal},
    {WC_LISTVIEWW, WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
     WS_EX_CLIENTEDGE, 10, 90, 500, 260, Id(kTrackList), kNoText},
    {WC_BUTTONW, kButton, 0, 10, 360, 100, 28, Id(kTrackUpButton), kTextMoveUp},
    {WC_BUTTONW, kButton, 0, 116, 360, 100, 28, Id(kTrackDownButton), kTextMoveDown},
    {WC_BUTTONW, kButton | BS_DEFPUSHBUTTON, 0, 330, 360, 85, 28, Id(kTracksOk), kTextOk},
    {WC_BUTTONW, kButton, 0, 425, 360, 85, 28, Id(kTracksCancel), kTextCancel},
};

class TracksWindow : public ListDialog {
 public:
  TracksWindow(const TextTable& texts, const std::vector<std::string>& files)
      : ListDialog({.title = kTracksTitle, .width = 520, .height = 400, .module = Module::Editor},
                   texts, {Id(kTrackStartField), Id(kTrackList), Id(kTracksOk), Id(kTracksCancel)}),
        files_(files),
        order_(NumberingOrder(files)) {}

  std::optional<TracksTaken> Run(HWND owner) {
    if (!Ask(owner, kControls)) return std::nullopt;
    return TracksTaken{std::move(numbers_), WritesTotal()};
  }

 private:
  void Build() override {
    SetControlText(Control(Id(kTrackStartField)), "1");
    SendMessageW(Control(Id(kTrackStartField)), EM_LIMITTEXT, 6, 0);
    HWND list = Control(Id(kTrackList));
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    AddColumn(list, 0, texts_[kTextFileHeader], 300);
    AddColumn(list, 1, ColumnTitle(texts_[kTextTrack]), 60);
    AddColumn(list, 2, texts_[kTextTotalHeader], 120);
    Renumber();
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }

  bool OnCommand(int id, int code) override {
    if ((id == Id(kTrackStartField) && code == EN_CHANGE) ||
        ((id == Id(kTrackPerFolderBox) || id == Id(kTrackTotalBox)) && code == BN_CLICKED)) {
      Renumber();
      return true;
    }
    if ((id == Id(kTrackUpButton) || id == Id(kTrackDownButton)) && code == BN_CLICKED) {
      Move(id == Id(kTrackUpButton) ? -1 : 1);
      return true;
    }
    return false;
  }

  bool Checked(TracksControl box) const {
    return SendMessageW(Control(Id(box)), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  bool WritesTotal() const { return Checked(kTrackTotalBox); }

  // The numbers as the start, the boxes and the order now give them, shown at once.
  void Renumber() {
    STEP(Editor);
    const std::int32_t start =
        std::max(1, ParseLeadingInteger(ControlText(Control(Id(kTrackStartField)))));
    numbers_ = NumberTracks(files_, order_, start, Checked(kTrackPerFolderBox));
    HWND list = Control(Id(kTrackList));
    ListView_SetItemCountEx(list, int(order_.size()), LVSICF_NOSCROLL);
    InvalidateRect(list, nullptr, FALSE);
  }

  // Moves the selected row one place up or down; the selection goes with it.
  void Move(int step) {
    HWND list = Control(Id(kTrackList));
    const int row = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    const int to = row + step;
    if (row < 0 || to < 0 || to >= int(order_.size())) return;
    std::swap(order_[size_t(row)], order_[size_t(to)]);
    ListView_SetItemState(list, to, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, to, FALSE);
    Renumber();
  }

  // A row: the file (with its folder), its number, its total or that its format keeps none.
  size_t RowCount() const override { return order_.size(); }
  std::string CellText(size_t row, int column) const override {
    const std::string& file = files_[order_[row]];
    if (column == 0) {
      std::string folder = FolderPart(file);
      if (!folder.empty()) folder.pop_back();
      return FilePart(folder) + "\\" + FilePart(file);
    }
    const TrackNumber& number = numbers_[order_[row]];
    if (column == 1) return std::to_string(number.track);
    if (!WritesTotal()) return "";
    return TotalKeptIn(file) ? std::to_string(number.total) : texts_[kTextNoTotalKept];
  }

  const std::vector<std::string>& files_;
  std::vector<size_t> order_;
  std::vector<TrackNumber> numbers_;
};
}  // namespace

std::optional<TracksTaken> AskTrackNumbers(HWND owner, const TextTable& texts,
                                           const std::vector<std::string>& files) {
  STEP(Editor);
  return TracksWindow(texts, files).Run(owner);
}

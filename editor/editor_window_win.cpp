#include "editor/editor_window.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "base/path_parts.h"
#include "base/position.h"
#include "base/shell_open_win.h"
#include "base/wide_text_win.h"
#include "editor/editor_fields.h"
#include "editor/format_duration.h"
#include "window_kit/window_kit_win.h"

namespace {
constexpr int kClientWidth = 300, kClientHeight = 550;
constexpr int kStatusFieldWidth = 300;
constexpr int kSelectionHeight = 20;  // the closed genre list
constexpr int kOpenListHeight = 240;  // what the opened list adds below it
constexpr COLORREF kLinkColour = RGB(0, 0, 192);

// A control's id: kFirstEditorControlId plus its place in the creation order.
constexpr int Id(EditorControl control) { return kFirstEditorControlId + int(control); }

constexpr DWORD kFrame = BS_GROUPBOX;
constexpr DWORD kLabel = SS_LEFT;  // left-aligned, wraps at word ends
constexpr DWORD kField = WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr DWORD kShownField = kField | ES_READONLY;
constexpr DWORD kDigitField = kField | ES_NUMBER;
constexpr DWORD kEdge = WS_EX_CLIENTEDGE;

// The controls in creation order, which is also the Tab order. The status bar places itself.
const ControlRow kControls[] = {
    {WC_BUTTONW, kFrame, 0, 10, 10, 280, 140, Id(kAudioFrame), kTextAudioFrame},
    {WC_BUTTONW, kFrame, 0, 10, 160, 280, 330, Id(kTagFrame), kTextTagFrame},
    {WC_STATICW, kLabel, 0, 20, 30, 70, 20, Id(kBitrateLabel), kTextBitrate},
    {WC_STATICW, kLabel, 0, 20, 60, 70, 20, Id(kSampleRateLabel), kTextSampleRate},
    {WC_STATICW, kLabel, 0, 20, 90, 70, 20, Id(kChannelsLabel), kTextChannels},
    {WC_STATICW, kLabel, 0, 20, 120, 70, 20, Id(kLengthLabel), kTextLength},
    {WC_STATICW, kLabel, 0, 20, 180, 70, 20, Id(kTitleLabel), kTextTitle},
    {WC_STATICW, kLabel, 0, 20, 210, 70, 20, Id(kArtistLabel), kTextArtist},
    {WC_STATICW, kLabel, 0, 20, 240, 70, 20, Id(kAlbumLabel), kTextAlbum},
    {WC_STATICW, kLabel, 0, 20, 270, 70, 20, Id(kYearLabel), kTextYear},
    {WC_STATICW, kLabel, 0, 20, 300, 70, 20, Id(kCommentLabel), kTextComment},
    {WC_STATICW, kLabel, 0, 20, 330, 70, 20, Id(kTrackLabel), kTextTrack},
    {WC_STATICW, kLabel, 0, 20, 360, 70, 20, Id(kGenreLabel), kTextGenre},
    {WC_STATICW, kLabel, 0, 20, 390, 260, 40, Id(kWarningText), kTextVersionWarning},
    {WC_EDITW, kShownField, kEdge, 100, 30, 180, 20, Id(kBitrateField), kNoText},
    {WC_EDITW, kShownField, kEdge, 100, 60, 180, 20, Id(kSampleRateField), kNoText},
    {WC_EDITW, kShownField, kEdge, 100, 90, 180, 20, Id(kChannelsField), kNoText},
    {WC_EDITW, kShownField, kEdge, 100, 120, 180, 20, Id(kLengthField), kNoText},
    {STATUSCLASSNAMEW, 0, 0, 0, 0, 0, 0, Id(kStatusBar), kNoText},
    {WC_BUTTONW, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 20, 440, 130, 40, Id(kSaveButton), kTextSave},
    {WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 0, 150, 440, 130, 40, Id(kCancelButton), kTextCancel},
    {WC_EDITW, kField, kEdge, 100, 180, 180, 20, Id(kTitleField), kNoText},
    {WC_EDITW, kField, kEdge, 100, 210, 180, 20, Id(kArtistField), kNoText},
    {WC_EDITW, kField, kEdge, 100, 240, 180, 20, Id(kAlbumField), kNoText},
    {WC_EDITW, kDigitField, kEdge, 100, 270, 180, 20, Id(kYearField), kNoText},
    {WC_EDITW, kField, kEdge, 100, 300, 180, 20, Id(kCommentField), kNoText},
    {WC_EDITW, kDigitField, kEdge, 100, 330, 180, 20, Id(kTrackField), kNoText},
    {WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 100, 360, 180,
     kSelectionHeight + kOpenListHeight, Id(kGenreList), kNoText},
    {WC_STATICW, kLabel | SS_NOTIFY, 0, 10, 500, 280, 20, Id(kLink), kTextCredit},
};

class EditorWindow : public ProgramWindow {
 public:
  EditorWindow(const ProgramTables& tables, TagInfo& record, const std::string& fileName)
      : ProgramWindow({.title = kEditorTitle,
                       .width = kClientWidth,
                       .height = kClientHeight,
                       .module = Module::Editor}),
        tables_(tables),
        record_(record),
        fileName_(fileName) {}

  int Run() { return ProgramWindow::Run(kControls, tables_.texts) ? result_ : 0; }

 private:
  void Build() override {
    FitSelectionHeight(Control(Id(kGenreList)), kSelectionHeight);
    ShowRecord();
  }

  // The editing starts in the title, its text selected as a dialog selects a field Tab reaches;
  // the Tab order stays the creation order.
  HWND FirstFocus() const override {
    HWND title = Control(Id(kTitleField));
    SendMessageW(title, EM_SETSEL, 0, -1);
    return title;
  }

  bool OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    switch (message) {
      case WM_CLOSE:  // the close box, the system menu and Alt+F4
        Finish(0);
        return true;
      case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam));
      case DM_GETDEFID:  // Enter presses Save
        result = MAKELRESULT(Id(kSaveButton), DC_HASDEFID);
        return true;
      case WM_CTLCOLORSTATIC:
        if (HWND(lParam) != Control(Id(kLink))) return false;
        SetTextColor(HDC(wParam), kLinkColour);
        SetBkColor(HDC(wParam), GetSysColor(COLOR_BTNFACE));
        result = LRESULT(GetSysColorBrush(COLOR_BTNFACE));
        return true;
      case WM_SETCURSOR:
        if (HWND(wParam) != Control(Id(kLink))) return false;
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
        result = TRUE;
        return true;
      default:
        return false;
    }
  }

  void ShowRecord() {
    STEP(Editor);
    if (HWND status = Control(Id(kStatusBar))) {
      int fieldEnds[] = {ScaledForDpi(kStatusFieldWidth)};
      SendMessageW(status, SB_SETPARTS, 1, LPARAM(fieldEnds));
      SendMessageW(status, SB_SETTEXTW, 0, LPARAM(Wide(FilePart(fileName_)).c_str()));
    }
    const std::pair<int, std::string> texts[] = {
        {Id(kBitrateField), std::to_string(record_.bitrate)},
        {Id(kSampleRateField), std::to_string(record_.sampleRate)},
        {Id(kChannelsField), std::to_string(record_.channels)},
        {Id(kLengthField), FormatDuration(record_.length, ":")},
        {Id(kTitleField), record_.title},
        {Id(kArtistField), record_.artist},
        {Id(kAlbumField), record_.album},
        {Id(kYearField), std::to_string(record_.year)},
        {Id(kCommentField), record_.comment},
        {Id(kTrackField), std::to_string(record_.track)},
    };
    for (const auto& [id, text] : texts) SetControlText(Control(id), text);
    STEP(Editor);
    HWND genres = Control(Id(kGenreList));
    for (const std::string& name : tables_.genres)
      SendMessageW(genres, CB_ADDSTRING, 0, LPARAM(Wide(name).c_str()));
    std::optional<size_t> genre = FindGenre(tables_.genres, record_.genre);
    SendMessageW(genres, CB_SETCURSEL, genre ? WPARAM(*genre) : WPARAM(-1), 0);
  }

  bool OnCommand(int id, int code) {
    if (id == Id(kSaveButton) && code == BN_CLICKED) {
      STEP(Editor);
      LRESULT selected = SendMessageW(Control(Id(kGenreList)), CB_GETCURSEL, 0, 0);
      EditedFields fields{ControlText(Control(Id(kTitleField))),
                          ControlText(Control(Id(kArtistField))),
                          ControlText(Control(Id(kAlbumField))),
                          ControlText(Control(Id(kYearField))),
                          ControlText(Control(Id(kCommentField))),
                          ControlText(Control(Id(kTrackField))),
                          std::nullopt};
      if (selected != CB_ERR) fields.genre = size_t(selected);
      CopyBack(fields, tables_.genres, record_);
      Finish(1);
    } else if ((id == Id(kCancelButton) && code == BN_CLICKED) || id == IDCANCEL) {
      // Escape comes as IDCANCEL from IsDialogMessage, and cancels as the button does.
      Finish(0);
    } else if (id == Id(kLink) && code == STN_CLICKED) {
      OpenAddress(window(), Wide(kMakerWebAddress).c_str());  // the window goes on at once
    } else {
      return false;
    }
    return true;
  }

  void Finish(int result) {
    STEP(Editor);
    result_ = result;
    Close();
  }

  const ProgramTables& tables_;
  TagInfo& record_;
  const std::string& fileName_;
  int result_ = 0;
};
}  // namespace

int EditTags(const ProgramTables& tables, TagInfo& record, const std::string& fileName) {
  STEP(Editor);
  return EditorWindow(tables, record, fileName).Run();
}

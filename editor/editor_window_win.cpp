#include "editor/editor_window.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "base/path_parts.h"
#include "base/position.h"
#include "base/shell_open_win.h"
#include "editor/editor_fields.h"
#include "editor/format_duration.h"
#include "window_kit/window_kit_win.h"

namespace {
constexpr int kClientWidth = 300, kClientHeight = 550;
constexpr int kStatusFieldWidth = 300;
constexpr int kSelectionHeight = 20;  // the closed genre list
constexpr int kOpenListHeight = 240;  // what the opened list adds below it
constexpr COLORREF kLinkColour = RGB(0, 0, 192);

enum ControlId : int {
  kAudioFrame = 100,
  kTagFrame,
  kBitrateLabel,
  kSampleRateLabel,
  kChannelsLabel,
  kLengthLabel,
  kTitleLabel,
  kArtistLabel,
  kAlbumLabel,
  kYearLabel,
  kCommentLabel,
  kTrackLabel,
  kGenreLabel,
  kWarningText,
  kBitrateField,
  kSampleRateField,
  kChannelsField,
  kLengthField,
  kStatusBar,
  kSaveButton,
  kCancelButton,
  kTitleField,
  kArtistField,
  kAlbumField,
  kYearField,
  kCommentField,
  kTrackField,
  kGenreList,
  kLink,
};

constexpr DWORD kFrame = BS_GROUPBOX;
constexpr DWORD kLabel = SS_LEFT;  // left-aligned, wraps at word ends
constexpr DWORD kField = WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr DWORD kShownField = kField | ES_READONLY;
constexpr DWORD kDigitField = kField | ES_NUMBER;
constexpr DWORD kEdge = WS_EX_CLIENTEDGE;

// The controls in creation order, which is also the Tab order. The status bar places itself.
const ControlRow kControls[] = {
    {WC_BUTTONA, kFrame, 0, 10, 10, 280, 140, kAudioFrame, kTextAudioFrame},
    {WC_BUTTONA, kFrame, 0, 10, 160, 280, 330, kTagFrame, kTextTagFrame},
    {WC_STATICA, kLabel, 0, 20, 30, 70, 20, kBitrateLabel, kTextBitrate},
    {WC_STATICA, kLabel, 0, 20, 60, 70, 20, kSampleRateLabel, kTextSampleRate},
    {WC_STATICA, kLabel, 0, 20, 90, 70, 20, kChannelsLabel, kTextChannels},
    {WC_STATICA, kLabel, 0, 20, 120, 70, 20, kLengthLabel, kTextLength},
    {WC_STATICA, kLabel, 0, 20, 180, 70, 20, kTitleLabel, kTextTitle},
    {WC_STATICA, kLabel, 0, 20, 210, 70, 20, kArtistLabel, kTextArtist},
    {WC_STATICA, kLabel, 0, 20, 240, 70, 20, kAlbumLabel, kTextAlbum},
    {WC_STATICA, kLabel, 0, 20, 270, 70, 20, kYearLabel, kTextYear},
    {WC_STATICA, kLabel, 0, 20, 300, 70, 20, kCommentLabel, kTextComment},
    {WC_STATICA, kLabel, 0, 20, 330, 70, 20, kTrackLabel, kTextTrack},
    {WC_STATICA, kLabel, 0, 20, 360, 70, 20, kGenreLabel, kTextGenre},
    {WC_STATICA, kLabel, 0, 20, 390, 260, 40, kWarningText, kTextVersionWarning},
    {WC_EDITA, kShownField, kEdge, 100, 30, 180, 20, kBitrateField, kNoText},
    {WC_EDITA, kShownField, kEdge, 100, 60, 180, 20, kSampleRateField, kNoText},
    {WC_EDITA, kShownField, kEdge, 100, 90, 180, 20, kChannelsField, kNoText},
    {WC_EDITA, kShownField, kEdge, 100, 120, 180, 20, kLengthField, kNoText},
    {STATUSCLASSNAMEA, 0, 0, 0, 0, 0, 0, kStatusBar, kNoText},
    {WC_BUTTONA, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 20, 440, 130, 40, kSaveButton, kTextSave},
    {WC_BUTTONA, WS_TABSTOP | BS_PUSHBUTTON, 0, 150, 440, 130, 40, kCancelButton, kTextCancel},
    {WC_EDITA, kField, kEdge, 100, 180, 180, 20, kTitleField, kNoText},
    {WC_EDITA, kField, kEdge, 100, 210, 180, 20, kArtistField, kNoText},
    {WC_EDITA, kField, kEdge, 100, 240, 180, 20, kAlbumField, kNoText},
    {WC_EDITA, kDigitField, kEdge, 100, 270, 180, 20, kYearField, kNoText},
    {WC_EDITA, kField, kEdge, 100, 300, 180, 20, kCommentField, kNoText},
    {WC_EDITA, kDigitField, kEdge, 100, 330, 180, 20, kTrackField, kNoText},
    {WC_COMBOBOXA, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 100, 360, 180,
     kSelectionHeight + kOpenListHeight, kGenreList, kNoText},
    {WC_STATICA, kLabel | SS_NOTIFY, 0, 10, 500, 280, 20, kLink, kTextCredit},
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
    FitSelectionHeight(Control(kGenreList), kSelectionHeight);
    ShowRecord();
  }

  bool OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    switch (message) {
      case WM_CLOSE:  // the close box, the system menu and Alt+F4
        Finish(0);
        return true;
      case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam));
      case DM_GETDEFID:  // Enter presses Save
        result = MAKELRESULT(kSaveButton, DC_HASDEFID);
        return true;
      case WM_CTLCOLORSTATIC:
        if (HWND(lParam) != Control(kLink)) return false;
        SetTextColor(HDC(wParam), kLinkColour);
        SetBkColor(HDC(wParam), GetSysColor(COLOR_BTNFACE));
        result = LRESULT(GetSysColorBrush(COLOR_BTNFACE));
        return true;
      case WM_SETCURSOR:
        if (HWND(wParam) != Control(kLink)) return false;
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
        result = TRUE;
        return true;
      default:
        return false;
    }
  }

  void ShowRecord() {
    STEP(Editor);
    if (HWND status = Control(kStatusBar)) {
      int fieldEnds[] = {ScaledForDpi(kStatusFieldWidth)};
      SendMessageA(status, SB_SETPARTS, 1, LPARAM(fieldEnds));
      SendMessageA(status, SB_SETTEXTA, 0, LPARAM(FilePart(fileName_).c_str()));
    }
    const std::pair<int, std::string> texts[] = {
        {kBitrateField, std::to_string(record_.bitrate)},
        {kSampleRateField, std::to_string(record_.sampleRate)},
        {kChannelsField, std::to_string(record_.channels)},
        {kLengthField, FormatDuration(record_.length, ":")},
        {kTitleField, record_.title},
        {kArtistField, record_.artist},
        {kAlbumField, record_.album},
        {kYearField, std::to_string(record_.year)},
        {kCommentField, record_.comment},
        {kTrackField, std::to_string(record_.track)},
    };
    for (const auto& [id, text] : texts) SetWindowTextA(Control(id), text.c_str());
    STEP(Editor);
    HWND genres = Control(kGenreList);
    for (const std::string& name : tables_.genres)
      SendMessageA(genres, CB_ADDSTRING, 0, LPARAM(name.c_str()));
    std::optional<size_t> genre = FindGenre(tables_.genres, record_.genre);
    SendMessageA(genres, CB_SETCURSEL, genre ? WPARAM(*genre) : WPARAM(-1), 0);
  }

  bool OnCommand(int id, int code) {
    if (id == kSaveButton && code == BN_CLICKED) {
      STEP(Editor);
      LRESULT selected = SendMessageA(Control(kGenreList), CB_GETCURSEL, 0, 0);
      EditedFields fields{WindowText(Control(kTitleField)),
                          WindowText(Control(kArtistField)),
                          WindowText(Control(kAlbumField)),
                          WindowText(Control(kYearField)),
                          WindowText(Control(kCommentField)),
                          WindowText(Control(kTrackField)),
                          std::nullopt};
      if (selected != CB_ERR) fields.genre = size_t(selected);
      CopyBack(fields, tables_.genres, record_);
      Finish(1);
    } else if (id == kCancelButton && code == BN_CLICKED) {
      Finish(0);
    } else if (id == kLink && code == STN_CLICKED) {
      OpenAddress(window(), kMakerWebAddress);  // the window goes on at once
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

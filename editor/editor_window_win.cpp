#include "editor/editor_window.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <atomic>
#include <string>
#include <thread>
#include <tuple>

#include "base/path_parts.h"
#include "base/file_system_win.h"
#include "base/message_box_win.h"
#include "base/position.h"
#include "base/shell_open_win.h"
#include "base/system_message_win.h"
#include "base/text_util.h"
#include "base/wide_text_win.h"
#include "editor/cover_image_win.h"
#include "editor/format_duration.h"
#include "editor/name_window.h"
#include "editor/track_window.h"
#include "settings/preference_file.h"
#include "settings/settings.h"
#include "settings/settings_folder.h"
#include "window_kit/window_kit_win.h"

namespace {
constexpr int kClientWidth = 520, kClientHeight = 550;
constexpr int kStatusFieldWidth = 520;
constexpr int kCoverSide = 200;
// The largest picture file Add takes: far above any cover, far below what a tag can hold.
constexpr DWORD kLargestPictureFile = 64 << 20;
constexpr int kSelectionHeight = 20;  // the closed genre list
constexpr int kOpenListHeight = 240;  // what the opened list adds below it
constexpr COLORREF kLinkColour = RGB(0, 0, 192);
// How long a save of several files goes before the window says how far it is, and how often it
// says so again: a repaint per file would cost the save more than some of its files take.
constexpr UINT kProgressAfterMs = 300, kProgressEveryMs = 100;
constexpr UINT_PTR kProgressTimer = 1;
// The worker's word to the window: one more file done (wParam: how many), and the end of the save.
constexpr UINT kFileSaved = WM_APP + 1, kSaveEnded = WM_APP + 2;
// The fields show first; the cover is read and decoded on a worker, which says so by this word.
constexpr UINT kCoverLoaded = WM_APP + 3;
constexpr size_t kLongestNames = 500;  // bytes of file names in the status bar and its tip

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
    {STATUSCLASSNAMEW, SBARS_TOOLTIPS, 0, 0, 0, 0, 0, Id(kStatusBar), kNoText},
    {WC_BUTTONW, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 20, 440, 130, 40, Id(kSaveButton), kTextSave},
    {WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 0, 150, 440, 130, 40, Id(kCancelButton), kTextCancel},
    {WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 0, 105, 440, 90, 40, Id(kOneByOneButton),
     kTextOneByOne},
    {WC_EDITW, kField, kEdge, 100, 180, 180, 20, Id(kTitleField), kNoText},
    {WC_EDITW, kField, kEdge, 100, 210, 180, 20, Id(kArtistField), kNoText},
    {WC_EDITW, kField, kEdge, 100, 240, 180, 20, Id(kAlbumField), kNoText},
    {WC_EDITW, kDigitField, kEdge, 100, 270, 180, 20, Id(kYearField), kNoText},
    {WC_EDITW, kField, kEdge, 100, 300, 180, 20, Id(kCommentField), kNoText},
    {WC_EDITW, kDigitField, kEdge, 100, 330, 180, 20, Id(kTrackField), kNoText},
    {WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 100, 360, 180,
     kSelectionHeight + kOpenListHeight, Id(kGenreList), kNoText},
    {WC_STATICW, kLabel | SS_NOTIFY, 0, 10, 500, 280, 20, Id(kLink), kTextCredit},
    {WC_STATICW, WS_TABSTOP | SS_OWNERDRAW | SS_NOTIFY, kEdge, 310, 16, kCoverSide, kCoverSide,
     Id(kCoverBox), kTextNoCover},
    {WC_STATICW, kLabel | SS_NOPREFIX, 0, 310, 222, 200, 20, Id(kCoverLine), kNoText},
    {WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 0, 310, 244, 64, 28, Id(kCoverAddButton),
     kTextCoverAdd},
    {WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 0, 378, 244, 64, 28, Id(kCoverSaveAsButton),
     kTextCoverSaveAs},
    {WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 0, 446, 244, 64, 28, Id(kCoverRemoveButton),
     kTextCoverRemove},
    {WC_STATICW, kLabel, 0, 310, 350, 200, 40, Id(kCoverWarning), kNoText},
    {WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 0, 310, 280, 200, 28, Id(kFromNameButton),
     kTextFromName},
    {WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 0, 310, 312, 200, 28, Id(kNumberTracksButton),
     kTextNumberTracks},
};

// The pattern kept from the last time, and where it is kept.
constexpr char kNamePatternKey[] = "NamePattern";
std::string PreferencesPath() { return SettingsFolder() + kPreferenceFileName; }

// The cover buttons, also the items of the box's context menu.
constexpr EditorControl kCoverButtons[] = {kCoverAddButton, kCoverSaveAsButton, kCoverRemoveButton};

// A file's bytes, at most limit of them; nothing when it cannot be read or is larger.
std::optional<std::string> FileBytes(const std::wstring& path, DWORD limit) {
  const FileHandle file(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  LARGE_INTEGER size{};
  std::string bytes;
  if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > limit ||
      !ReadRest(file.get(), bytes))
    return std::nullopt;
  return bytes;
}

// Paints the hint in grey into a drop-down list's field while nothing is selected.
LRESULT CALLBACK PaintHint(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR hint) {
  const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (message == WM_PAINT && SendMessageW(list, CB_GETCURSEL, 0, 0) == CB_ERR &&
      GetComboBoxInfo(list, &info)) {
    const HDC dc = GetDC(list);
    const HGDIOBJ font = SelectObject(dc, HGDIOBJ(SendMessageW(list, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    RECT field = info.rcItem;
    field.left += ScaledForDpi(2);
    DrawTextW(dc, reinterpret_cast<const wchar_t*>(hint), -1, &field,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, font);
    ReleaseDC(list, dc);
  }
  // The list repaints its field at once on these, without WM_PAINT: the hint follows.
  if (message == WM_SETFOCUS || message == WM_KILLFOCUS || message == WM_ENABLE ||
      message == CB_SETCURSEL)
    InvalidateRect(list, nullptr, FALSE);
  if (message == WM_NCDESTROY) RemoveWindowSubclass(list, PaintHint, 0);
  return result;
}

// The tag fields and the window's control for each, in TagField order.
constexpr EditorControl kTagFields[] = {kTitleField,   kArtistField, kAlbumField, kYearField,
                                        kCommentField, kTrackField,  kGenreList};

class EditorWindow : public ProgramWindow {
 public:
  // One file: Save ends the window with what was typed. Several: Save hands what was typed to
  // write, for each file in turn. Fields typed in another window start as changed; so do its cover
  // change and a track total it was to write.
  EditorWindow(const ProgramTables& tables, const std::vector<TagInfo>& records,
               const std::vector<std::string>& fileNames, bool single,
               const WriteTypedFields& write = {}, const EditedFields* typed = nullptr,
               CoverLoader loadCover = {})
      : ProgramWindow({.title = kEditorTitle,
                       .width = kClientWidth,
                       .height = kClientHeight,
                       .module = Module::Editor}),
        tables_(tables),
        records_(records),
        fileNames_(fileNames),
        single_(single),
        write_(write),
        changed_(typed ? typed->changed : ChangedFields()),
        loadCover_(std::move(loadCover)),
        coverChange_(typed ? typed->cover : CoverChange()),
        typedTotal_(typed ? typed->trackTotal : std::nullopt) {}

  ~EditorWindow() override {
    stop_ = true;
    if (saver_.joinable()) saver_.join();
    if (coverLoader_.joinable()) coverLoader_.join();
  }

  EditorResult Run() {
    if (!ProgramWindow::Run(kControls, tables_.texts)) return {};
    return {end_, fields_, std::move(perFile_)};
  }

 private:
  void Build() override {
    FitSelectionHeight(Control(Id(kGenreList)), kSelectionHeight);
    // Several files share the button row with "One by one"; one file has the row as it always had.
    HWND oneByOne = Control(Id(kOneByOneButton));
    EnableWindow(Control(Id(kNumberTracksButton)), !single_);
    if (single_) {
      ShowWindow(oneByOne, SW_HIDE);
      EnableWindow(oneByOne, FALSE);
    } else {
      for (const auto& [id, x, width] : {std::tuple{kSaveButton, 20, 85}, {kCancelButton, 195, 85}})
        SetWindowPos(Control(Id(id)), nullptr, ScaledForDpi(x), ScaledForDpi(440),
                     ScaledForDpi(width), ScaledForDpi(40), SWP_NOZORDER);
    }
    filling_ = true;
    ShowFields(ShownFieldsOf(records_, tables_.genres));
    filling_ = false;
    DragAcceptFiles(window(), TRUE);
    SetWindowSubclass(Control(Id(kCoverBox)), CoverBoxInput, 0, DWORD_PTR(this));
    LoadCover();
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
        Finish(EditorEnd::kCancelled);
        return true;
      case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam));
      case DM_GETDEFID:  // Enter presses Save
        result = MAKELRESULT(Id(kSaveButton), DC_HASDEFID);
        return true;
      case WM_TIMER:
        if (wParam != kProgressTimer) return false;
        if (!showProgress_) SetTimer(window(), kProgressTimer, kProgressEveryMs, nullptr);
        showProgress_ = true;
        ShowProgress();
        return true;
      case kFileSaved:
        saved_ = size_t(wParam);
        return true;
      case kSaveEnded:
        saver_.join();
        end_ = EditorEnd::kSaved;
        Close();
        return true;
      case kCoverLoaded:
        CoverLoaded();
        return true;
      case WM_DRAWITEM:
        if (wParam != WPARAM(Id(kCoverBox))) return false;
        DrawCover(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
      case WM_CONTEXTMENU:
        if (HWND(wParam) != Control(Id(kCoverBox))) return false;
        CoverMenu(lParam);
        return true;
      case WM_DROPFILES:
        DropOnCover(HDROP(wParam));
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

  // A field shows the shared text; where the files differ it stays empty under the grey hint.
  void ShowShared(EditorControl control, const std::optional<std::string>& text) {
    HWND field = Control(Id(control));
    SetControlText(field, text.value_or(""));
    if (!text) SendMessageW(field, EM_SETCUEBANNER, TRUE, LPARAM(hint_.c_str()));
  }

  void ShowFields(const ShownFields& shown) {
    STEP(Editor);
    if (HWND status = Control(Id(kStatusBar))) {
      int fieldEnds[] = {ScaledForDpi(kStatusFieldWidth)};
      SendMessageW(status, SB_SETPARTS, 1, LPARAM(fieldEnds));
      // Several files: their count, then their names, which the bar's tip shows whole; a tip
      // stays a line, so the names of a large selection end in how many more there are.
      std::string names;
      size_t named = 0;
      for (; named < fileNames_.size() && names.size() < kLongestNames; ++named)
        names += (names.empty() ? "" : ", ") + FilePart(fileNames_[named]);
      if (named < fileNames_.size())
        names += " " + FillIn(tables_.texts[kTextMoreNotPlaced], "%1", fileNames_.size() - named);
      const std::string text =
          single_ ? names
                  : FillIn(tables_.texts[kTextFileCount], "%1", fileNames_.size()) + ": " + names;
      SendMessageW(status, SB_SETTEXTW, 0, LPARAM(Wide(text).c_str()));
      if (!single_) SendMessageW(status, SB_SETTIPTEXTW, 0, LPARAM(Wide(names).c_str()));
    }
    ShowShared(kBitrateField, shown.bitrate);
    ShowShared(kSampleRateField, shown.sampleRate);
    ShowShared(kChannelsField, shown.channels);
    ShowShared(kLengthField, FormatDuration(shown.length, ":"));
    for (size_t field = 0; field < kGenreTag; ++field)
      ShowShared(kTagFields[field], shown.texts[field]);
    STEP(Editor);
    HWND genres = Control(Id(kGenreList));
    // A drop-down list has no cue of its own everywhere (Wine's draws none): the list paints the
    // hint itself while nothing is picked.
    // Several genres, or one the list does not name, are shown the same way: a pick replaces them.
    genreHint_ = shown.genreDiffers ? hint_ : Wide(shown.unlistedGenre);
    if (!genreHint_.empty()) SetWindowSubclass(genres, PaintHint, 0, DWORD_PTR(genreHint_.c_str()));
    for (const std::string& name : tables_.genres)
      SendMessageW(genres, CB_ADDSTRING, 0, LPARAM(Wide(name).c_str()));
    SendMessageW(genres, CB_SETCURSEL, shown.genre ? WPARAM(*shown.genre) : WPARAM(-1), 0);
  }

  bool OnCommand(int id, int code) {
    if (id == Id(kSaveButton) && code == BN_CLICKED) {
      Save();
    } else if ((id == Id(kCancelButton) && code == BN_CLICKED) || id == IDCANCEL) {
      // Escape comes as IDCANCEL from IsDialogMessage, and cancels as the button does.
      Finish(EditorEnd::kCancelled);
    } else if (id == Id(kOneByOneButton) && code == BN_CLICKED) {
      Finish(EditorEnd::kOneByOne);
    } else if (id == Id(kCoverAddButton) && code == BN_CLICKED) {
      ChooseCover();
    } else if (id == Id(kFromNameButton) && code == BN_CLICKED) {
      FromNames();
    } else if (id == Id(kNumberTracksButton) && code == BN_CLICKED) {
      NumberTracks();
    } else if (id == Id(kCoverSaveAsButton) && code == BN_CLICKED) {
      SaveCoverAs();
    } else if (id == Id(kCoverRemoveButton) && code == BN_CLICKED) {
      coverChange_ = {CoverChange::kRemove, ""};
      ShowCover();
    } else if (id == Id(kLink) && code == STN_CLICKED) {
      OpenAddress(window(), Wide(kMakerWebAddress).c_str());  // the window goes on at once
    } else if (code == EN_CHANGE || code == CBN_SELCHANGE) {
      // What the user typed or picked is what a save writes; filling the window is no change. A
      // field typed in loses its hint: emptied, it now stands for an empty field in every file,
      // and shows so.
      for (size_t field = 0; field < kTagFieldCount; ++field) {
        if (id != Id(kTagFields[field]) || filling_) continue;
        changed_.set(field);
        // Typed over values of each file's own: what is typed goes to every file.
        if (ownFields_[field]) typedOver_.set(field);
        if (code == EN_CHANGE) SendMessageW(Control(id), EM_SETCUEBANNER, FALSE, LPARAM(L""));
      }
    } else {
      return false;
    }
    return true;
  }

  // What the fields hold now, and which of them the user typed or picked in.
  void ReadFields() {
    LRESULT selected = SendMessageW(Control(Id(kGenreList)), CB_GETCURSEL, 0, 0);
    fields_ = {ControlText(Control(Id(kTitleField))),
               ControlText(Control(Id(kArtistField))),
               ControlText(Control(Id(kAlbumField))),
               ControlText(Control(Id(kYearField))),
               ControlText(Control(Id(kCommentField))),
               ControlText(Control(Id(kTrackField))),
               std::nullopt,
               changed_,
               coverChange_};
    if (selected != CB_ERR) fields_.genre = size_t(selected);
    if (selected == CB_ERR) fields_.genreText = genreText_;
    // A total typed in another window goes with its track number while that stands.
    if (typedTotal_ && fields_.track == std::to_string(records_.front().track))
      fields_.trackTotal = typedTotal_;
  }

  // Fills the fields from the files' names through the window "Tags from file names"; the
  // pattern is kept in the preferences for next time, every other key of the file kept. One file:
  // the values stand in its fields as if typed. Several: each file keeps its own values for Save,
  // and a field shows what they share, or its hint.
  void FromNames() {
    STEP(Editor);
    std::string pattern = kReadyPatterns[0];
    {
      PreferenceFile preferences;
      preferences.OpenExisting(PreferencesPath());
      pattern = preferences.ReadString(kNamePatternKey, pattern);
    }
    const std::optional<NamesTaken> taken =
        AskTagsFromNames(window(), tables_.texts, fileNames_, pattern);
    if (!taken) return;
    {
      PreferenceFile preferences;
      if (!preferences.OpenExisting(PreferencesPath())) preferences.CreateNew(PreferencesPath());
      preferences.WriteString(kNamePatternKey, taken->pattern);
    }
    // The fields the pattern names take each file's value anew; values an earlier pattern or the
    // numbering gave the other fields stay.
    ChangedFields named;
    for (NameMacro macro : NamedMacros(ReadNamePattern(taken->pattern)))
      named.set(kMacroFields[macro]);
    if (named[kTrackTag]) trackTotals_.clear();
    TakeValues(named, [&](size_t file, size_t field) -> std::optional<std::string> {
      const NameMatch& match = taken->matches[file];
      for (size_t macro = 0; macro < kSkipName; ++macro)
        if (kMacroFields[macro] == field && match.matched() && !match.values[macro].empty())
          return match.values[macro];
      return std::nullopt;
    });
  }

  // Numbers the files' tracks through the window "Number tracks": each file's number (and total,
  // where asked for) counts as typed for that file, as values from names do.
  void NumberTracks() {
    STEP(Editor);
    const std::optional<TracksTaken> taken = AskTrackNumbers(window(), tables_.texts, fileNames_);
    if (!taken) return;
    trackTotals_.assign(records_.size(), std::nullopt);
    if (taken->writeTotal)
      for (size_t file = 0; file < records_.size(); ++file)
        trackTotals_[file] = taken->numbers[file].total;
    TakeValues(ChangedFields().set(kTrackTag), [&](size_t file, size_t) {
      return std::optional(std::to_string(taken->numbers[file].track));
    });
  }

  // Takes a value per file for each of the given fields (none: the file keeps its own) and shows
  // what the files then share, or the hint where they differ.
  void TakeValues(
      const ChangedFields& fields,
      const std::function<std::optional<std::string>(size_t file, size_t field)>& valueOf) {
    if (fileValues_.empty()) fileValues_.assign(records_.size(), {});
    for (size_t field = 0; field < kTagFieldCount; ++field)
      if (fields[field])
        for (size_t file = 0; file < records_.size(); ++file)
          fileValues_[file][field] = valueOf(file, field);
    for (size_t field = 0; field < kTagFieldCount; ++field) {
      if (!fields[field]) continue;
      std::optional<std::string> shared;  // what every file is to hold, where they agree
      bool named = false, differ = false;
      for (size_t file = 0; file < records_.size(); ++file) {
        const std::optional<std::string>& value = fileValues_[file][field];
        named = named || value;
        const std::string now = value.value_or(RecordText(records_[file], TagField(field)));
        // Genres are one where they differ in capitals alone, as the list compares them.
        differ = differ || (shared && (field == kGenreTag ? !EqualsIgnoringAsciiCase(*shared, now)
                                                          : *shared != now));
        if (!shared) shared = now;
      }
      if (!named) continue;
      ownFields_.set(field);
      typedOver_.reset(field);
      ShowNamed(TagField(field), differ ? std::nullopt : shared);
    }
  }

  // Shows a field filled from names: the value every file is to hold, or nothing under the hint
  // where they differ. One file's field counts as typed.
  void ShowNamed(TagField field, const std::optional<std::string>& value) {
    HWND control = Control(Id(kTagFields[field]));
    filling_ = !single_;
    if (field == kGenreTag) {
      const std::optional<size_t> listed = value ? FindGenre(tables_.genres, *value) : std::nullopt;
      genreText_ = value && !listed ? *value : "";
      genreHint_ = value ? Wide(genreText_) : hint_;
      if (!genreHint_.empty())
        SetWindowSubclass(control, PaintHint, 0, DWORD_PTR(genreHint_.c_str()));
      SendMessageW(control, CB_SETCURSEL, listed ? WPARAM(*listed) : WPARAM(-1), 0);
      InvalidateRect(control, nullptr, FALSE);
    } else {
      SetControlText(control, value.value_or(""));
      SendMessageW(control, EM_SETCUEBANNER, TRUE, LPARAM(value ? L"" : hint_.c_str()));
    }
    if (single_) changed_.set(field);
    filling_ = false;
  }

  // What Save writes into one file: what was typed, and the values its name or the numbering gave
  // it for the fields they named, unless typed over; a file whose name did not fit keeps those
  // fields.
  EditedFields FieldsFor(size_t file) const {
    EditedFields fields = fields_;
    if (fileValues_.empty()) return fields;
    for (size_t field = 0; field < kTagFieldCount; ++field) {
      if (!ownFields_[field] || typedOver_[field]) continue;
      const std::optional<std::string>& value = fileValues_[file][field];
      fields.changed.set(field, value.has_value());
      if (!value) continue;
      if (field == kTrackTag && !trackTotals_.empty()) fields.trackTotal = trackTotals_[file];
      if (field != kGenreTag) {
        FieldText(fields, TagField(field)) = *value;
        continue;
      }
      fields.genre = FindGenre(tables_.genres, *value);
      fields.genreText = fields.genre ? "" : *value;
    }
    return fields;
  }

  // The files' cover: for one file, or the one every file shares, read and decoded on a worker
  // while the window answers; several different ones are only said to differ.
  void LoadCover() {
    STEP(Editor);
    std::vector<CoverSummary> covers;
    for (const TagInfo& record : records_) covers.push_back(record.cover);
    const SharedCover shared = SharedCoverOf(covers);
    differentCovers_ = shared == SharedCover::kDifferent;
    ShowCover();
    if (shared != SharedCover::kSame || !loadCover_ || coverChange_.kind != CoverChange::kKeep)
      return;
    SetControlText(Control(Id(kCoverBox)), tables_.texts[kTextCoverLoading]);
    coverLoader_ = std::thread([this, window = window(), side = ScaledForDpi(kCoverSide) - 4,
                                background = GetSysColor(COLOR_BTNFACE)] {
      CoInitializeEx(nullptr, COINIT_MULTITHREADED);
      loaded_.stored = loadCover_(fileNames_.front());
      if (loaded_.stored)
        loaded_.decoded = DecodeCover(loaded_.stored->picture.data, side, background);
      CoUninitialize();
      PostMessageW(window, kCoverLoaded, 0, 0);
    });
  }
  // The worker's cover taken over; its picture is shown unless another took its place meanwhile.
  void CoverLoaded() {
    coverLoader_.join();
    stored_ = std::move(loaded_.stored);
    if (coverChange_.kind == CoverChange::kKeep && stored_)
      ShowCover(std::move(loaded_.decoded));
    else
      ShowCover();
    loaded_ = {};
  }

  // The picture the box shows: the new one, else the stored one unless it is to go.
  const std::string* ShownData() const {
    if (coverChange_.kind == CoverChange::kSet) return &coverChange_.data;
    return coverChange_.kind == CoverChange::kKeep && stored_ ? &stored_->picture.data : nullptr;
  }

  // Shows the cover as it will be after Save: the picture (decoded into the one image the window
  // holds), the line that describes it, and the buttons that apply to it.
  void ShowCover() {
    const std::string* data = ShownData();
    ShowCover(data ? DecodeCover(*data, ScaledForDpi(kCoverSide) - 4, GetSysColor(COLOR_BTNFACE))
                   : std::nullopt);
  }
  void ShowCover(std::optional<DecodedCover> decoded) {
    STEP(Editor);
    const TextTable& texts = tables_.texts;
    const std::string* data = ShownData();
    const bool stored = data && coverChange_.kind == CoverChange::kKeep;
    decoded_ = std::move(decoded);
    std::string line, box;
    if (data) {
      const std::optional<ImageSize> size =
          decoded_ ? ImageSize{decoded_->width, decoded_->height} : ImageSizeOf(*data);
      line = CoverLine(*data, stored ? stored_->picture.mime : "", size);
      if (!decoded_) line += " " + texts[kTextCannotShow];
      if (stored && !stored_->front) line += " " + texts[kTextNotFrontCover];
      if (stored && stored_->pictures > 1)
        line += ", " + FillIn(texts[kTextPictureCount], "%1", stored_->pictures);
    } else {
      const bool differ = differentCovers_ && coverChange_.kind == CoverChange::kKeep;
      box = texts[differ ? kTextDifferentCovers : kTextNoCover];
    }
    SetControlText(Control(Id(kCoverBox)), box);
    SetControlText(Control(Id(kCoverLine)), line);
    SetControlText(Control(Id(kCoverWarning)),
                   data && data->size() > kLargePictureBytes ? texts[kTextLargeCover] : "");
    // Front covers are there (or will be) to replace and remove.
    const bool fronts = coverChange_.kind == CoverChange::kSet ||
                        (coverChange_.kind == CoverChange::kKeep &&
                         ((stored_ && stored_->front) || differentCovers_));
    SetControlText(Control(Id(kCoverAddButton)), texts[fronts ? kTextCoverReplace : kTextCoverAdd]);
    EnableWindow(Control(Id(kCoverSaveAsButton)), data != nullptr && !saving_);
    EnableWindow(Control(Id(kCoverRemoveButton)), fronts && !saving_);
    EnableWindow(Control(Id(kCoverAddButton)), !saving_);
    InvalidateRect(Control(Id(kCoverBox)), nullptr, TRUE);
  }

  void DrawCover(const DRAWITEMSTRUCT& item) {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    RECT area = item.rcItem;
    if (GetFocus() == item.hwndItem) DrawFocusRect(item.hDC, &area);
    if (decoded_) {
      BITMAP size{};
      GetObjectW(decoded_->bitmap.get(), sizeof size, &size);
      const HDC memory = CreateCompatibleDC(item.hDC);
      const HGDIOBJ old = SelectObject(memory, decoded_->bitmap.get());
      BitBlt(item.hDC, (area.left + area.right - size.bmWidth) / 2,
             (area.top + area.bottom - size.bmHeight) / 2, size.bmWidth, size.bmHeight, memory, 0,
             0, SRCCOPY);
      SelectObject(memory, old);
      DeleteDC(memory);
      return;
    }
    const std::wstring text = Wide(ControlText(item.hwndItem));
    const HGDIOBJ font =
        SelectObject(item.hDC, HGDIOBJ(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(COLOR_GRAYTEXT));
    InflateRect(&area, -ScaledForDpi(12), 0);
    RECT measured = area;
    DrawTextW(item.hDC, text.c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    area.top += (area.bottom - area.top - (measured.bottom - measured.top)) / 2;
    DrawTextW(item.hDC, text.c_str(), -1, &area, DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
    SelectObject(item.hDC, font);
  }

  // The box takes the focus when clicked, shows it, and takes Ctrl+V, Shift+Insert and WM_PASTE.
  static LRESULT CALLBACK CoverBoxInput(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR self) {
    auto* editor = reinterpret_cast<EditorWindow*>(self);
    switch (message) {
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
        SetFocus(box);
        break;
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
        InvalidateRect(box, nullptr, FALSE);
        break;
      case WM_KEYDOWN:
        if ((wParam == 'V' && GetKeyState(VK_CONTROL) < 0) ||
            (wParam == VK_INSERT && GetKeyState(VK_SHIFT) < 0))
          editor->PasteCover();
        break;
      case WM_PASTE:
        editor->PasteCover();
        return 0;
      case WM_NCDESTROY:
        RemoveWindowSubclass(box, CoverBoxInput, 0);
        break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
  }

  // What the clipboard holds as a cover: an image file (the first of those copied in Explorer),
  // PNG bytes, or a picture, encoded as PNG.
  void PasteCover() {
    STEP(Editor);
    if (saving_ || !OpenClipboard(window())) return;
    std::wstring file;
    std::optional<std::string> bytes;
    const UINT png = RegisterClipboardFormatW(L"PNG");
    if (HANDLE drop = GetClipboardData(CF_HDROP)) {
      file.resize(DragQueryFileW(HDROP(drop), 0, nullptr, 0) + 1);
      file.resize(DragQueryFileW(HDROP(drop), 0, file.data(), UINT(file.size())));
    } else if (HANDLE data = IsClipboardFormatAvailable(png) ? GetClipboardData(png) : nullptr) {
      if (const void* locked = GlobalLock(data)) {
        bytes.emplace(static_cast<const char*>(locked), GlobalSize(data));
        GlobalUnlock(data);
      }
    } else if (HANDLE bitmap = GetClipboardData(CF_BITMAP)) {
      bytes = PngOfBitmap(HBITMAP(bitmap));
    }
    CloseClipboard();
    if (!file.empty()) return TakeCover(file);
    if (bytes) TakeCoverBytes(std::move(*bytes));
  }

  // The box's context menu holds the three buttons, as they stand.
  void CoverMenu(LPARAM at) {
    POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (at == LPARAM(-1)) {  // from the keyboard: at the box
      RECT box;
      GetWindowRect(Control(Id(kCoverBox)), &box);
      point = {box.left, box.top};
    }
    const HMENU menu = CreatePopupMenu();
    for (EditorControl button : kCoverButtons) {
      const HWND control = Control(Id(button));
      AppendMenuW(menu, MF_STRING | (IsWindowEnabled(control) ? 0 : MF_GRAYED), UINT(Id(button)),
                  Wide(ControlText(control)).c_str());
    }
    const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0,
                                      window(), nullptr);
    DestroyMenu(menu);
    if (chosen) OnCommand(chosen, BN_CLICKED);
  }

  // A picture file dropped on the box does what Add does.
  void DropOnCover(HDROP drop) {
    POINT point{};
    RECT box;
    GetWindowRect(Control(Id(kCoverBox)), &box);
    MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&box), 2);
    std::wstring name(DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
    const bool onBox = DragQueryPoint(drop, &point) && PtInRect(&box, point) &&
                       DragQueryFileW(drop, 0, name.data(), UINT(name.size()));
    DragFinish(drop);
    name.resize(wcslen(name.c_str()));
    if (onBox && !saving_) TakeCover(name);
  }

  // The folder of the (first) file, where the dialogs start.
  std::wstring FileFolder() const { return Wide(FolderPart(fileNames_.front())); }

  void ChooseCover() {
    STEP(Editor);
    const std::wstring filter =
        Wide(tables_.texts[kTextPictureFiles]) + L'\0' + L"*.jpg;*.jpeg;*.jpe;*.png" + L'\0';
    const std::wstring folder = FileFolder();
    std::wstring name(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window();
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = DWORD(name.size());
    dialog.lpstrInitialDir = folder.c_str();
    dialog.Flags =
        OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&dialog)) return;
    name.resize(wcslen(name.c_str()));
    TakeCover(name);
  }

  // A JPEG or PNG file becomes the new front cover, shown at once and written on Save; anything
  // else gets a box and changes nothing.
  void TakeCover(const std::wstring& path) {
    STEP(Editor);
    TakeCoverBytes(FileBytes(path, kLargestPictureFile).value_or(""));
  }
  void TakeCoverBytes(std::string bytes) {
    const ImageKind kind = ImageKindOf(bytes);
    if (kind != ImageKind::kJpeg && kind != ImageKind::kPng)
      return ShowMessage(window(), tables_.texts[kTextError], tables_.texts[kTextNotAnImage]);
    coverChange_ = {CoverChange::kSet, std::move(bytes)};
    ShowCover();
  }

  // Writes the shown picture's bytes, as they are, where the user says: folder.jpg or cover.png
  // (as its kind says) beside the file offered; the dialog asks before replacing a file.
  void SaveCoverAs() {
    STEP(Editor);
    const std::string* data = ShownData();
    if (!data) return;
    const ImageKind kind = ImageKindOf(*data);
    std::string extension(KindName(kind).empty() ? "jpg" : KindName(kind));
    for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (kind == ImageKind::kJpeg) extension = "jpg";
    std::wstring name = Wide((kind == ImageKind::kJpeg ? "folder." : "cover.") + extension);
    name.resize(32768, L'\0');
    const std::wstring folder = FileFolder(), defaultExtension = Wide(extension);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window();
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = DWORD(name.size());
    dialog.lpstrInitialDir = folder.c_str();
    dialog.lpstrDefExt = defaultExtension.c_str();
    dialog.Flags =
        OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&dialog)) return;
    const FileHandle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), data->data(), DWORD(data->size()), &written, nullptr) ||
        written != data->size())
      ShowMessage(window(), tables_.texts[kTextError], SystemMessage(GetLastError()));
  }

  void Save() {
    STEP(Editor);
    if (saving_) return;
    ReadFields();
    if (single_) {
      end_ = EditorEnd::kSaved;
      return Close();
    }
    // The files are saved one after the other on a worker; the window answers meanwhile, and only
    // Cancel (or the close box) is left to press: it stops the save between two files.
    saving_ = true;
    for (EditorControl control : kTagFields) EnableWindow(Control(Id(control)), FALSE);
    for (EditorControl control : {kSaveButton, kOneByOneButton, kCoverAddButton, kCoverSaveAsButton,
                                  kCoverRemoveButton, kFromNameButton, kNumberTracksButton})
      EnableWindow(Control(Id(control)), FALSE);
    SetFocus(Control(Id(kCancelButton)));
    SetTimer(window(), kProgressTimer, kProgressAfterMs, nullptr);
    saver_ = std::thread([this, window = window()] {
      for (size_t file = 0; file < records_.size() && !stop_; ++file) {
        write_(file, FieldsFor(file));
        PostMessageW(window, kFileSaved, WPARAM(file + 1), 0);
      }
      PostMessageW(window, kSaveEnded, 0, 0);
    });
  }

  void ShowProgress() {
    if (!showProgress_) return;
    const std::string text =
        FillIn(FillIn(tables_.texts[kTextSavingFiles], "%1", saved_), "%2", records_.size());
    SendMessageW(Control(Id(kStatusBar)), SB_SETTEXTW, 0, LPARAM(Wide(text).c_str()));
  }

  void Finish(EditorEnd end) {
    STEP(Editor);
    if (end == EditorEnd::kOneByOne) {
      // Each file's editor starts with what it would have saved here: the values its name or
      // the numbering gave it travel with what was typed.
      ReadFields();
      if (!fileValues_.empty())
        for (size_t file = 0; file < records_.size(); ++file) perFile_.push_back(FieldsFor(file));
    }
    // A save under way ends between two files; the window closes when the worker has stopped.
    if (saving_) {
      stop_ = true;
      return;
    }
    end_ = end;
    Close();
  }

  const ProgramTables& tables_;
  const std::wstring hint_ = Wide(tables_.texts[kTextDifferentValues]);
  std::wstring genreHint_;
  const std::vector<TagInfo>& records_;
  const std::vector<std::string>& fileNames_;
  bool single_;
  WriteTypedFields write_;
  EditorEnd end_ = EditorEnd::kCancelled;
  ChangedFields changed_;
  EditedFields fields_;
  bool filling_ = false, saving_ = false, showProgress_ = false;
  size_t saved_ = 0;
  std::atomic<bool> stop_ = false;
  std::thread saver_;
  CoverLoader loadCover_;
  std::thread coverLoader_;  // reads and decodes the shared cover into loaded_, once
  struct {
    std::optional<ShownCover> stored;
    std::optional<DecodedCover> decoded;
  } loaded_;
  CoverChange coverChange_;           // what Save does to the cover
  std::optional<ShownCover> stored_;  // the files' shared cover as read
  bool differentCovers_ = false;
  std::optional<DecodedCover> decoded_;  // the one picture the window holds decoded
  // Values of each file's own, per file and field (from its name, or numbered); the fields that
  // hold such values, and those typed over since; a genre no list entry names, to write as it is.
  std::vector<std::array<std::optional<std::string>, kTagFieldCount>> fileValues_;
  ChangedFields ownFields_, typedOver_;
  std::vector<std::optional<std::int32_t>> trackTotals_;  // per file, from the numbering
  std::optional<std::int32_t> typedTotal_;                // one file's, from another window
  std::vector<EditedFields> perFile_;                     // for "One by one", where they differ
  std::string genreText_;
};
}  // namespace

EditorResult EditTags(const ProgramTables& tables, const TagInfo& record,
                      const std::string& fileName, const EditedFields* typed,
                      const CoverLoader& loadCover) {
  STEP(Editor);
  std::vector<TagInfo> records{record};
  if (typed) CopyBack(*typed, tables.genres, records.front());
  const std::vector<std::string> names{fileName};
  return EditorWindow(tables, records, names, true, {}, typed, loadCover).Run();
}

EditorResult EditTogether(const ProgramTables& tables, const std::vector<TagInfo>& records,
                          const std::vector<std::string>& fileNames, const WriteTypedFields& write,
                          const CoverLoader& loadCover) {
  STEP(Editor);
  return EditorWindow(tables, records, fileNames, false, write, nullptr, loadCover).Run();
}

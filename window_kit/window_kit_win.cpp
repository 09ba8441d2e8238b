#include "window_kit/window_kit_win.h"

#include <commctrl.h>

#include <functional>

#include "base/position.h"
#include "base/wide_text_win.h"
#include "window_kit/resources.h"

namespace {
constexpr wchar_t kWindowClass[] = L"VeltanDA3ZurWindow";
constexpr int kLayoutDpi = 96;
constexpr DWORD kTopLevelStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(create->lpCreateParams));
  }
  auto* handler = reinterpret_cast<ProgramWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  LRESULT result = 0;
  if (handler && handler->OnMessage(message, wParam, lParam, result)) return result;
  return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterWindowClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  // The program's icon in the sizes the title bar, the taskbar and Alt+Tab draw.
  windowClass.hIcon = static_cast<HICON>(
      LoadImageW(windowClass.hInstance, MAKEINTRESOURCEW(DA3_PROGRAM_ICON), IMAGE_ICON,
                 GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
  windowClass.hIconSm = static_cast<HICON>(
      LoadImageW(windowClass.hInstance, MAKEINTRESOURCEW(DA3_PROGRAM_ICON), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  registered = RegisterClassExW(&windowClass) != 0;
}

// A top-level window whose client area is width x height at 96 DPI, at the default position,
// hidden. Messages go to handler from the first one on.
WindowHandle CreateTopLevelWindow(const char* title, int width, int height,
                                  ProgramWindow* handler) {
  STEP(DA3Rudi);
  RegisterWindowClass();
  RECT frame{0, 0, ScaledForDpi(width), ScaledForDpi(height)};
  AdjustWindowRectEx(&frame, kTopLevelStyle, FALSE, 0);
  return WindowHandle(CreateWindowExW(0, kWindowClass, Wide(title).c_str(), kTopLevelStyle,
                                      CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                                      frame.bottom - frame.top, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), handler));
}

// One control from its table row, in the font.
HWND CreateControl(HWND parent, const ControlRow& row, const TextTable& texts, HFONT font) {
  STEP(DA3Rudi);
  const std::wstring text = Wide(row.textId == kNoText ? row.fixedText : texts[row.textId]);
  HWND control = CreateWindowExW(
      row.exStyle, row.className, text.c_str(), WS_CHILD | WS_VISIBLE | row.style,
      ScaledForDpi(row.x), ScaledForDpi(row.y), ScaledForDpi(row.width), ScaledForDpi(row.height),
      parent, reinterpret_cast<HMENU>(INT_PTR(row.id)), GetModuleHandleW(nullptr), nullptr);
  if (control && font) SendMessageW(control, WM_SETFONT, WPARAM(font), FALSE);
  return control;
}

// Runs the event loop until done() holds: waits for input at most 5 ms at a time, then dispatches
// what arrived. Each round records a step of the module. idle does a short piece of background work
// after each round and returns true while more is left; the loop then does not wait.
void RunEventLoop(HWND window, const std::function<bool()>& done, Module module,
                  const std::function<bool()>& idle) {
  bool busy = false;
  while (!done()) {
    STEP_IN(module);  // recorded anew after every handler: a fault while idle names the loop
    MsgWaitForMultipleObjects(0, nullptr, FALSE, busy ? 0 : 5, QS_ALLINPUT);
    DispatchPendingMessages(window);
    busy = !done() && idle();
  }
}
}  // namespace

int ScaledForDpi(int pixels) {
  static const int dpi = [] {
    HDC screen = GetDC(nullptr);
    const int logPixels = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return logPixels > 0 ? logPixels : kLayoutDpi;
  }();
  return MulDiv(pixels, dpi, kLayoutDpi);
}

FontHandle CreateMessageFont() {
  STEP(DA3Rudi);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    return FontHandle(static_cast<HFONT>(nullptr));
  return FontHandle(CreateFontIndirectW(&metrics.lfMessageFont));
}

void AddColumn(HWND list, int index, const std::string& text, int width) {
  std::wstring wide = Wide(text);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = wide.data();
  column.cx = ScaledForDpi(width);
  SendMessageW(list, LVM_INSERTCOLUMNW, WPARAM(index), LPARAM(&column));
}

std::string ColumnTitle(std::string label) {
  if (!label.empty() && label.back() == ':') label.pop_back();
  return label;
}

void FitSelectionHeight(HWND list, int height) {
  STEP(DA3Rudi);
  // The closed height follows the item height by an amount that differs between systems, so it
  // is measured once after setting the item height to itself.
  auto closedHeight = [list] {
    RECT rect{};
    GetWindowRect(list, &rect);
    return int(rect.bottom - rect.top);
  };
  LRESULT item = list ? SendMessageW(list, CB_GETITEMHEIGHT, WPARAM(-1), 0) : CB_ERR;
  if (item == CB_ERR) return;
  SendMessageW(list, CB_SETITEMHEIGHT, WPARAM(-1), item);
  int excess = closedHeight() - ScaledForDpi(height);
  if (excess != 0) SendMessageW(list, CB_SETITEMHEIGHT, WPARAM(-1), LPARAM(item - excess));
}

void DispatchPendingMessages(HWND window) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

ProgramWindow::~ProgramWindow() {
  // The derived window is gone by now: the messages of the window's end go to the default handling.
  if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

bool ProgramWindow::Run(std::span<const ControlRow> controls, const TextTable& texts) {
  STEP_IN(frame_.module);
  font_ = CreateMessageFont();
  window_ = CreateTopLevelWindow(frame_.title, frame_.width, frame_.height, this);
  if (!window_) return false;
  if (frame_.order == BuildOrder::kShowThenBuild) ShowWindow(window_.get(), SW_SHOW);
  STEP_IN(frame_.module);
  for (const ControlRow& row : controls) CreateControl(window_.get(), row, texts, font_.get());
  Build();
  if (frame_.order == BuildOrder::kBuildThenShow) ShowWindow(window_.get(), SW_SHOW);
  SetFocus(FirstFocus());
  STEP_IN(frame_.module);
  RunEventLoop(
      window_.get(), [this] { return closed_; }, frame_.module, [this] { return WorkWhileIdle(); });
  return true;
}

HWND ProgramWindow::FirstFocus() const { return GetNextDlgTabItem(window_.get(), nullptr, FALSE); }

bool ProgramWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_GETFONT) {
    result = LRESULT(font_.get());
    return true;
  }
  return OnWindowMessage(message, wParam, lParam, result);
}

std::string ControlText(HWND window) {
  std::wstring text(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(size_t(GetWindowTextW(window, text.data(), int(text.size()))));
  return Utf8Shown(text);
}

void SetControlText(HWND window, std::string_view text) {
  SetWindowTextW(window, Wide(text).c_str());
}

// The smallest GUI process: registers a class and shows a window. Without arguments it handles
// what is waiting and ends (the hand-over benchmark starts fifty of these); with "stay" it keeps
// the window until it is closed (the editor benchmark times how soon the window is visible).
#include <windows.h>

#include <cstring>

namespace {
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "TrivialGui";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowA("TrivialGui", "Trivial", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 200, 100, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  MSG message;
  if (std::strcmp(commandLine, "stay") == 0) {
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
  }
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  DestroyWindow(window);
  return 0;
}

// Move-only owners for Win32 handles, so every exit path releases them exactly once.
#pragma once
#include <windows.h>

#include <memory>
#include <type_traits>

struct FileCloser {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
// A file handle; INVALID_HANDLE_VALUE counts as none.
class FileHandle {
 public:
  explicit FileHandle(HANDLE h = INVALID_HANDLE_VALUE)
      : handle_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  explicit operator bool() const { return bool(handle_); }
  HANDLE get() const { return handle_.get(); }
  void reset() { handle_.reset(); }

 private:
  std::unique_ptr<void, FileCloser> handle_;
};

// A kernel object handle (mutex, process, thread); null counts as none.
using KernelHandle = std::unique_ptr<void, FileCloser>;

struct KeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using KeyHandle = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

struct WindowDestroyer {
  void operator()(HWND window) const { DestroyWindow(window); }
};
using WindowHandle = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

struct FontDeleter {
  void operator()(HFONT font) const { DeleteObject(font); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// Move-only owners for handles, so every exit path releases them exactly once: one Owner template
// and the Win32 handles the program and its tests hold, each an alias of it.
#pragma once
#include <windows.h>

#include <utility>

// Whether INVALID_HANDLE_VALUE, which CreateFile and FindFirstFile give on failure, counts as none.
inline constexpr bool kInvalidIsNone = true;

// Owns one handle, as the call that made it gave it, and hands it to Release when it goes.
// Move-only, so no copy can release a handle twice. A null handle counts as none, and so does
// INVALID_HANDLE_VALUE where invalidIsNone says so; none is never released.
template <typename Handle, auto Release, bool invalidIsNone = false>
class Owner {
 public:
  Owner() = default;
  explicit Owner(Handle handle) : handle_(handle) {}
  Owner(Owner&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
  Owner& operator=(Owner other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
  }
  ~Owner() {
    if (*this) Release(handle_);
  }

  explicit operator bool() const {
    return handle_ != Handle{} && !(invalidIsNone && handle_ == INVALID_HANDLE_VALUE);
  }
  Handle get() const { return handle_; }
  void reset() { *this = Owner(); }

 private:
  Handle handle_{};
};

// A file; also a pipe or a console buffer, whatever CreateFile opens.
using FileHandle = Owner<HANDLE, CloseHandle, kInvalidIsNone>;
// A kernel object (mutex, event, process, thread, snapshot).
using KernelHandle = Owner<HANDLE, CloseHandle>;
// A search begun by FindFirstFile.
using FindHandle = Owner<HANDLE, FindClose, kInvalidIsNone>;
using KeyHandle = Owner<HKEY, RegCloseKey>;
using LibraryHandle = Owner<HMODULE, FreeLibrary>;
using WindowHandle = Owner<HWND, DestroyWindow>;
using FontHandle = Owner<HFONT, DeleteObject>;
using BitmapHandle = Owner<HBITMAP, DeleteObject>;

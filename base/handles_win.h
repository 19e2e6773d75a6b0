// Owners for the system handles that kit and os hold: each closes its handle
// the way the system asks for that kind, exactly once.
#pragma once

#include "base/unique_handle.h"
#include "base/win32.h"

namespace base {

// A handle that null means none of, closed by one call (`kClose`).
template <typename T, auto kClose>
struct NullTraits {
  using Type = T;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { kClose(h); }
};
template <typename T, auto kClose>
using NullHandle = UniqueHandle<NullTraits<T, kClose>>;

// A kernel object (a token, a process).
using KernelHandle = NullHandle<HANDLE, CloseHandle>;

// An open file: CreateFileW fails with INVALID_HANDLE_VALUE, not null.
struct FileTraits {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { CloseHandle(h); }
};
using FileHandle = UniqueHandle<FileTraits>;

// A directory search (FindFirstFileW).
struct FindTraits {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { FindClose(h); }
};
using FindHandle = UniqueHandle<FindTraits>;

// A pen, brush, bitmap, font or region of our own making.
template <typename T>
using Gdi = NullHandle<T, DeleteObject>;
using Icon = NullHandle<HICON, DestroyIcon>;
using Menu = NullHandle<HMENU, DestroyMenu>;

// A DC we created (CreateCompatibleDC), or a printer's that the print
// dialog made for us, is deleted...
using MemoryDc = NullHandle<HDC, DeleteDC>;
using PrinterDc = MemoryDc;

// ...one the system lent us (GetDC) is released to the window it came from.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd = nullptr) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// Movable global memory (GlobalAlloc; the print dialog's settings); once
// the clipboard has taken it, Release() it.
using GlobalMemory = NullHandle<HGLOBAL, GlobalFree>;

// A COM object, released once; Put() for a call that hands one out
// (through reinterpret_cast<void**>, as COM's calls want it).
template <typename Interface>
void ReleaseCom(Interface* object) {
  object->Release();
}
template <typename Interface>
using ComPtr = NullHandle<Interface*, ReleaseCom<Interface>>;

// An object selected into a DC for a scope; the one it replaced goes back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, old_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace base

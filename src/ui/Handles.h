// Move-only owners of Win32 handles and scope guards for device contexts, so that no path
// (exceptions included) leaks a GDI object or leaves one selected.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace ui {

template <class T, class Deleter, T Invalid = T{}>
class Handle {
 public:
  Handle() = default;
  explicit Handle(T h) : h_(h) {}
  ~Handle() { reset(); }
  Handle(Handle&& o) noexcept : h_(std::exchange(o.h_, Invalid)) {}
  Handle& operator=(Handle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, Invalid));
    return *this;
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  T get() const { return h_; }
  explicit operator bool() const { return h_ != Invalid; }
  T release() { return std::exchange(h_, Invalid); }
  void reset(T h = Invalid) {
    if (h_ != Invalid) Deleter{}(h_);
    h_ = h;
  }

 private:
  T h_ = Invalid;
};

struct WindowDeleter { void operator()(HWND h) const { DestroyWindow(h); } };
struct MenuDeleter { void operator()(HMENU h) const { DestroyMenu(h); } };
struct IconDeleter { void operator()(HICON h) const { DestroyIcon(h); } };
struct GdiDeleter { void operator()(HGDIOBJ h) const { DeleteObject(h); } };
struct ImageListDeleter { void operator()(HIMAGELIST h) const { ImageList_Destroy(h); } };
struct KeyDeleter { void operator()(HKEY h) const { RegCloseKey(h); } };
struct KernelDeleter { void operator()(HANDLE h) const { CloseHandle(h); } };
struct DcDeleter { void operator()(HDC h) const { DeleteDC(h); } };

using WindowHandle = Handle<HWND, WindowDeleter>;
using MenuHandle = Handle<HMENU, MenuDeleter>;
using IconHandle = Handle<HICON, IconDeleter>;
using BitmapHandle = Handle<HBITMAP, GdiDeleter>;
using BrushHandle = Handle<HBRUSH, GdiDeleter>;
using FontHandle = Handle<HFONT, GdiDeleter>;
using PenHandle = Handle<HPEN, GdiDeleter>;
using RegionHandle = Handle<HRGN, GdiDeleter>;
using ImageListHandle = Handle<HIMAGELIST, ImageListDeleter>;
using KeyHandle = Handle<HKEY, KeyDeleter>;
using KernelHandle = Handle<HANDLE, KernelDeleter>;  // null means none (mutexes, threads, events)
using MemoryDcHandle = Handle<HDC, DcDeleter>;

// GetDC/ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND w) : w_(w), dc_(GetDC(w)) {}
  ~WindowDC() { if (dc_) ReleaseDC(w_, dc_); }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND w_;
  HDC dc_;
};

// BeginPaint/EndPaint.
class PaintDC {
 public:
  explicit PaintDC(HWND w) : w_(w) { dc_ = BeginPaint(w, &ps_); }
  ~PaintDC() { EndPaint(w_, &ps_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC get() const { return dc_; }
  const RECT& area() const { return ps_.rcPaint; }

 private:
  HWND w_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
};

// SelectObject that puts the previous object back.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  ~Selection() { if (old_) SelectObject(dc_, old_); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace ui

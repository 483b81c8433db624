#include "ui/Window.h"

#include "ui/Application.h"

#include <commctrl.h>

namespace ui {

namespace {
constexpr wchar_t kObjectProp[] = L"QuilletObject";
constexpr UINT_PTR kSubclassId = 0x5154;
}  // namespace

Window::~Window() {
  if (hwnd_) {
    HWND w = hwnd_;
    RemovePropW(w, kObjectProp);
    if (subclassed_) RemoveWindowSubclass(w, &Window::SubclassProc, kSubclassId);
    hwnd_ = nullptr;
    DestroyWindow(w);
  }
}

Window* Window::FromHandle(HWND w) {
  return w ? static_cast<Window*>(GetPropW(w, kObjectProp)) : nullptr;
}

void Window::RegisterWindowClass(const wchar_t* className, UINT style, HICON icon, HCURSOR cursor) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  HINSTANCE inst = GetModuleHandleW(nullptr);
  if (GetClassInfoExW(inst, className, &wc)) return;
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = &Window::OwnProc;
  wc.hInstance = inst;
  wc.hIcon = icon;
  wc.hIconSm = icon;
  wc.hCursor = cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = className;
  RegisterClassExW(&wc);
}

HWND Window::CreateOwn(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                       int w, int h, HWND parent, UINT_PTR id) {
  return CreateWindowExW(exStyle, className, title, style, x, y, w, h, parent, reinterpret_cast<HMENU>(id),
                         GetModuleHandleW(nullptr), this);
}

HWND Window::CreateSubclassed(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x,
                              int y, int w, int h, HWND parent, UINT_PTR id) {
  HWND hw = CreateWindowExW(exStyle, className, title, style, x, y, w, h, parent, reinterpret_cast<HMENU>(id),
                            GetModuleHandleW(nullptr), nullptr);
  if (!hw) return nullptr;
  hwnd_ = hw;
  SetPropW(hw, kObjectProp, this);
  subclassed_ = SetWindowSubclass(hw, &Window::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  return hw;
}

bool Window::Reflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool Window::ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  HWND child = nullptr;
  switch (msg) {
    case WM_NOTIFY:
      child = reinterpret_cast<NMHDR*>(lp)->hwndFrom;
      break;
    case WM_COMMAND:
      child = reinterpret_cast<HWND>(lp);
      break;
    case WM_DRAWITEM:
      if (wp) child = reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem;
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      child = reinterpret_cast<HWND>(lp);
      break;
    default:
      return false;
  }
  Window* target = FromHandle(child);
  return target && target->Reflected(msg, wp, lp, result);
}

LRESULT Window::Default(UINT msg, WPARAM wp, LPARAM lp) {
  if (subclassed_) return DefSubclassProc(hwnd_, msg, wp, lp);
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT r = 0;
  if (ReflectToChild(msg, wp, lp, r)) return r;
  return Default(msg, wp, lp);
}

LRESULT Window::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  bool handled = false;
  try {
    result = HandleMessage(msg, wp, lp);
    handled = true;
  } catch (...) {
    Application::Instance().HandleException(std::current_exception());
  }
  if (!handled) {
    // The handler failed half-way: let the system finish the message sanely.
    try {
      result = Default(msg, wp, lp);
    } catch (...) {
    }
  }
  if (msg == WM_NCDESTROY) {
    HWND w = hwnd_;
    RemovePropW(w, kObjectProp);
    if (subclassed_) RemoveWindowSubclass(w, &Window::SubclassProc, kSubclassId);
    subclassed_ = false;
    hwnd_ = nullptr;
  }
  return result;
}

LRESULT CALLBACK Window::OwnProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self = FromHandle(w);
  if (!self && msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    if (self) {
      self->hwnd_ = w;
      SetPropW(w, kObjectProp, self);
    }
  }
  if (!self) return DefWindowProcW(w, msg, wp, lp);
  return self->Dispatch(msg, wp, lp);
}

LRESULT CALLBACK Window::SubclassProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<Window*>(data);
  if (!self || self->hwnd_ != w) return DefSubclassProc(w, msg, wp, lp);
  return self->Dispatch(msg, wp, lp);
}

}  // namespace ui

#include "ui/Control.h"

#include "ui/Application.h"

namespace ui {

Control::Control(Component* owner, std::wstring name) : Component(owner, std::move(name)) {}

Control::~Control() {
  if (action_) action_->Unsubscribe(subscription_);
}

void Control::SetBounds(int x, int y, int w, int h) {
  if (hwnd_) SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT Control::Bounds() const {
  RECT r{};
  if (!hwnd_) return r;
  GetWindowRect(hwnd_, &r);
  if (HWND parent = GetParent(hwnd_)) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int Control::Width() const {
  RECT r = Bounds();
  return r.right - r.left;
}

int Control::Height() const {
  RECT r = Bounds();
  return r.bottom - r.top;
}

int Control::ClientWidth() const {
  RECT r{};
  if (hwnd_) GetClientRect(hwnd_, &r);
  return r.right;
}

int Control::ClientHeight() const {
  RECT r{};
  if (hwnd_) GetClientRect(hwnd_, &r);
  return r.bottom;
}

bool Control::Visible() const { return hwnd_ && (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE); }

void Control::SetVisible(bool v) {
  if (hwnd_ && v != Visible()) ShowWindow(hwnd_, v ? SW_SHOWNA : SW_HIDE);
}

bool Control::Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }

void Control::SetEnabled(bool e) {
  if (hwnd_) EnableWindow(hwnd_, e);
}

bool Control::CanFocus() const {
  for (HWND w = hwnd_; w; w = GetParent(w)) {
    if (!IsWindowVisible(w) || !IsWindowEnabled(w)) return false;
    if (!(GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD)) break;
  }
  return hwnd_ != nullptr;
}

bool Control::Focused() const { return hwnd_ && GetFocus() == hwnd_; }

void Control::SetFocus() {
  if (hwnd_) ::SetFocus(hwnd_);
}

void Control::Repaint() {
  if (hwnd_) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

std::wstring Control::Caption() const {
  if (!hwnd_) return {};
  std::wstring s(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
  s.resize(static_cast<size_t>(GetWindowTextW(hwnd_, s.data(), static_cast<int>(s.size()))));
  return s;
}

void Control::SetCaption(const std::wstring& c) {
  if (hwnd_) SetWindowTextW(hwnd_, c.c_str());
}

void Control::SetFont(HFONT f) {
  if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
}

void Control::SetAction(Action* a) {
  if (action_) action_->Unsubscribe(subscription_);
  action_ = a;
  if (action_) {
    subscription_ = action_->Subscribe([this] { ActionChanged(); });
    ActionChanged();
  }
}

void Control::ExecuteAction() {
  if (!action_) return;
  Action* a = action_;
  Guarded([&] {
    a->ActionComponent = this;
    a->Execute();
  });
}

void Control::ActionChanged() {
  if (!action_) return;
  SetEnabled(action_->Enabled());
  SetHint(action_->Hint().empty() ? action_->Caption() : action_->Hint());
}

bool Control::SetStringProperty(std::wstring_view property, const std::wstring& value) {
  if (SameName(property, L"Caption")) {
    SetCaption(value);
    return true;
  }
  if (SameName(property, L"Hint")) {
    SetHint(value);
    return true;
  }
  return false;
}

std::optional<std::wstring> Control::GetStringProperty(std::wstring_view property) const {
  if (SameName(property, L"Caption")) return Caption();
  if (SameName(property, L"Hint")) return hint_;
  return std::nullopt;
}

}  // namespace ui

#include "ui/TrayIcon.h"

#include "ui/Application.h"
#include "ui/ImageList.h"
#include "ui/PopupMenu.h"

#include <shellapi.h>
#include <windowsx.h>

namespace ui {

namespace {
constexpr UINT kIconId = 1;
}

TrayIcon::TrayIcon(Component* owner, std::wstring name)
    : Component(owner, std::move(name)), taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {
  RegisterWindowClass(kTrayWindowClass, 0);
  // A top-level (not message-only) window: only those hear the taskbar's restart broadcast.
  CreateOwn(WS_EX_TOOLWINDOW, kTrayWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr);
}

TrayIcon::~TrayIcon() {
  if (added_) Notify(NIM_DELETE);
}

bool TrayIcon::Notify(DWORD message) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = hwnd_;
  nid.uID = kIconId;
  nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
  nid.uCallbackMessage = kTrayCallbackMessage;
  nid.hIcon = icon_.get();
  lstrcpynW(nid.szTip, hint_.c_str(), static_cast<int>(std::size(nid.szTip)));
  if (message == NIM_SETVERSION) nid.uVersion = NOTIFYICON_VERSION_4;
  return Shell_NotifyIconW(message, &nid);
}

void TrayIcon::SetVisible(bool v) {
  visible_ = v;
  if (v && !added_) {
    if (!icon_ && Icons) icon_.reset(Icons->MakeIcon(iconIndex_));
    added_ = Notify(NIM_ADD);
    if (added_) version4_ = Notify(NIM_SETVERSION);
  } else if (!v && added_) {
    Notify(NIM_DELETE);
    added_ = false;
  }
}

void TrayIcon::SetHint(const std::wstring& hint) {
  hint_ = hint;
  if (added_) Notify(NIM_MODIFY);
}

void TrayIcon::SetIconIndex(int index) {
  if (index == iconIndex_ && icon_) return;
  iconIndex_ = index;
  if (Icons) {
    if (HICON icon = Icons->MakeIcon(index)) icon_.reset(icon);
  }
  if (added_) Notify(NIM_MODIFY);
}

LRESULT TrayIcon::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == taskbarCreated_) {
    // Explorer restarted and forgot every icon.
    added_ = false;
    if (visible_) SetVisible(true);
    return 0;
  }
  if (msg == kTrayCallbackMessage) {
    const UINT event = LOWORD(lp);
    POINT pt;
    GetCursorPos(&pt);
    if (version4_ && (event == WM_CONTEXTMENU || event == WM_LBUTTONUP || event == WM_RBUTTONUP)) {
      pt = {GET_X_LPARAM(wp), GET_Y_LPARAM(wp)};
      if (pt.x == 0 && pt.y == 0) GetCursorPos(&pt);
    }
    switch (event) {
      case WM_LBUTTONUP:
        if (OnMouseUp) OnMouseUp(MouseButton::Left, pt.x, pt.y);
        break;
      case WM_RBUTTONUP:
        if (OnMouseUp) OnMouseUp(MouseButton::Right, pt.x, pt.y);
        if (!version4_ && Menu) Menu->Popup(pt.x, pt.y);
        break;
      case WM_CONTEXTMENU:
        if (Menu) Menu->Popup(pt.x, pt.y);
        break;
    }
    return 0;
  }
  return Window::HandleMessage(msg, wp, lp);
}

bool TrayIcon::SetStringProperty(std::wstring_view property, const std::wstring& value) {
  if (SameName(property, L"Hint")) {
    SetHint(value);
    return true;
  }
  return false;
}

std::optional<std::wstring> TrayIcon::GetStringProperty(std::wstring_view property) const {
  if (SameName(property, L"Hint")) return hint_;
  return std::nullopt;
}

}  // namespace ui

#include "ui/NotifyPopup.h"

#include "ui/Window.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

namespace ui {

namespace {
constexpr wchar_t kClass[] = L"QuilletNotifyPopup";
constexpr UINT_PTR kAnimTimer = 1, kStayTimer = 2;
constexpr UINT kStepMs = 10;

HFONT MakeFont(const PopupFont& f) {
  LOGFONTW lf{};
  lf.lfHeight = -f.pixels;
  lf.lfWeight = f.bold ? FW_BOLD : FW_NORMAL;
  lf.lfUnderline = f.underline;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(lf.lfFaceName, f.face.c_str(), LF_FACESIZE);
  return CreateFontIndirectW(&lf);
}
}  // namespace

class NotifyPopup::PopupWindow : public Window {
 public:
  PopupWindow(NotifyPopup& owner, std::wstring title, std::wstring text, int slot)
      : owner_(owner), title_(std::move(title)), text_(std::move(text)) {
    titleFont_.reset(MakeFont(owner.TitleFont));
    textFont_.reset(MakeFont(owner.TextFont));
    hoverFont_.reset(MakeFont(owner.HoverFont));
    HMONITOR mon = MonitorFromWindow(owner.MonitorOf, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(mon, &mi);
    work_ = mi.rcWork;
    x_ = work_.right - owner.Width - owner.StartOffsetX;
    restY_ = work_.bottom - owner.StartOffsetY - (slot + 1) * (owner.Height + owner.Margin);
    y_ = owner.AllowScroll ? work_.bottom : restY_;
    RegisterWindowClass(kClass, CS_DROPSHADOW);
    CreateOwn(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClass, L"", WS_POPUP, x_, y_, owner.Width,
              owner.Height, nullptr);
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    if (owner.AllowScroll)
      SetTimer(hwnd_, kAnimTimer, kStepMs, nullptr);
    else
      SetTimer(hwnd_, kStayTimer, owner.ShowMilliseconds, nullptr);
  }

  void Close() {
    if (hwnd_) DestroyWindow(hwnd_);
  }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_TIMER:
        if (wp == kAnimTimer) Step();
        if (wp == kStayTimer) {
          KillTimer(hwnd_, kStayTimer);
          leaving_ = true;
          if (owner_.AllowScroll)
            SetTimer(hwnd_, kAnimTimer, kStepMs, nullptr);
          else
            Finish();
        }
        return 0;
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT:
        Paint();
        return 0;
      case WM_MOUSEMOVE: {
        const bool over = OverText(lp);
        if (over != hover_) {
          hover_ = over;
          InvalidateRect(hwnd_, nullptr, FALSE);
        }
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd_, 0};
        TrackMouseEvent(&tme);
        return 0;
      }
      case WM_MOUSELEAVE:
        hover_ = false;
        InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
      case WM_SETCURSOR: {
        POINT pt;
        GetCursorPos(&pt);
        ScreenToClient(hwnd_, &pt);
        const bool link = owner_.AllowHyperlink && owner_.HandCursorOverText && PtInRect(&textRect_, pt);
        SetCursor(LoadCursorW(nullptr, link ? IDC_HAND : IDC_ARROW));
        return TRUE;
      }
      case WM_LBUTTONUP:
        if (OverText(lp) && owner_.AllowHyperlink && owner_.OpenLinkOnClick && !owner_.URL.empty()) {
          const std::wstring url = owner_.URL;
          if (owner_.OnOpenLink)
            owner_.OnOpenLink(url);
          else
            ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        }
        Finish();
        return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
  }

 private:
  bool OverText(LPARAM lp) const {
    POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    return PtInRect(&textRect_, pt) != FALSE;
  }

  void Step() {
    if (!leaving_) {
      y_ = std::max(restY_, y_ - owner_.ScrollSpeed);
      if (y_ == restY_) {
        KillTimer(hwnd_, kAnimTimer);
        SetTimer(hwnd_, kStayTimer, owner_.ShowMilliseconds, nullptr);
      }
    } else {
      y_ += owner_.ScrollSpeed;
      if (y_ >= work_.bottom) {
        Finish();
        return;
      }
    }
    SetWindowPos(hwnd_, HWND_TOPMOST, x_, y_, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  }

  void Finish() {
    KillTimer(hwnd_, kAnimTimer);
    KillTimer(hwnd_, kStayTimer);
    DestroyWindow(hwnd_);
  }

  void Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT rc;
    GetClientRect(hwnd_, &rc);
    TRIVERTEX v[2] = {
        {0, 0, static_cast<COLOR16>(GetRValue(owner_.GradientFrom) << 8),
         static_cast<COLOR16>(GetGValue(owner_.GradientFrom) << 8),
         static_cast<COLOR16>(GetBValue(owner_.GradientFrom) << 8), 0},
        {rc.right, rc.bottom, static_cast<COLOR16>(GetRValue(owner_.GradientTo) << 8),
         static_cast<COLOR16>(GetGValue(owner_.GradientTo) << 8),
         static_cast<COLOR16>(GetBValue(owner_.GradientTo) << 8), 0}};
    GRADIENT_RECT gr{0, 1};
    GradientFill(dc, v, 2, &gr, 1, GRADIENT_FILL_RECT_V);
    if (owner_.BackgroundPicture) {
      BITMAP bm{};
      GetObjectW(owner_.BackgroundPicture, sizeof bm, &bm);
      HDC mem = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(mem, owner_.BackgroundPicture);
      SetStretchBltMode(dc, HALFTONE);
      StretchBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
      SelectObject(mem, old);
      DeleteDC(mem);
    }
    FrameRect(dc, &rc, GetSysColorBrush(COLOR_BTNSHADOW));
    int textLeft = 8;
    if (owner_.Icon) {
      DrawIconEx(dc, owner_.IconPosition.x, owner_.IconPosition.y, owner_.Icon, 16, 16, 0, nullptr, DI_NORMAL);
      textLeft = owner_.IconPosition.x + 16 + 6;
    }
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, titleFont_.get());
    SetTextColor(dc, owner_.TitleFont.color);
    RECT title{textLeft, owner_.IconPosition.y, rc.right - 6, owner_.IconPosition.y + 18};
    DrawTextW(dc, title_.c_str(), -1, &title, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    const PopupFont& tf = hover_ && owner_.AllowHyperlink ? owner_.HoverFont : owner_.TextFont;
    SelectObject(dc, hover_ && owner_.AllowHyperlink ? hoverFont_.get() : textFont_.get());
    SetTextColor(dc, tf.color);
    RECT area{6, title.bottom + 4, rc.right - 6, rc.bottom - 6};
    RECT calc = area;
    const UINT fmt = DT_WORDBREAK | DT_NOPREFIX | (owner_.TextCentred ? DT_CENTER : DT_LEFT);
    DrawTextW(dc, text_.c_str(), -1, &calc, fmt | DT_CALCRECT);
    const int h = std::min<int>(calc.bottom - calc.top, area.bottom - area.top);
    const int w = calc.right - calc.left;
    textRect_ = {owner_.TextCentred ? area.left + (area.right - area.left - w) / 2 : area.left,
                 area.top + (area.bottom - area.top - h) / 2, 0, 0};
    textRect_.right = textRect_.left + w;
    textRect_.bottom = textRect_.top + h;
    RECT draw{area.left, textRect_.top, area.right, textRect_.bottom};
    DrawTextW(dc, text_.c_str(), -1, &draw, fmt);
    SelectObject(dc, old);
    EndPaint(hwnd_, &ps);
  }

  NotifyPopup& owner_;
  std::wstring title_, text_;
  FontHandle titleFont_, textFont_, hoverFont_;
  RECT work_{}, textRect_{};
  int x_ = 0, y_ = 0, restY_ = 0;
  bool leaving_ = false, hover_ = false;
};

NotifyPopup::NotifyPopup(Component* owner, std::wstring name) : Component(owner, std::move(name)) {}

NotifyPopup::~NotifyPopup() { ClosePopups(); }

int NotifyPopup::OpenCount() const {
  return static_cast<int>(std::count_if(popups_.begin(), popups_.end(), [](auto& p) { return p->Handle() != nullptr; }));
}

void NotifyPopup::ShowPopup(const std::wstring& title, const std::wstring& text) {
  // Popups that have slid away are only freed here, never inside their own window procedure.
  std::erase_if(popups_, [](auto& p) { return p->Handle() == nullptr; });
  if (!Cascade) ClosePopups();
  const int slot = Cascade ? static_cast<int>(popups_.size()) : 0;
  popups_.push_back(std::make_unique<PopupWindow>(*this, title, text, slot));
}

void NotifyPopup::ClosePopups() {
  for (auto& p : popups_) p->Close();
  popups_.clear();
}

bool NotifyPopup::SetStringProperty(std::wstring_view property, const std::wstring& value) {
  if (SameName(property, L"URL")) {
    URL = value;
    return true;
  }
  return false;
}

std::optional<std::wstring> NotifyPopup::GetStringProperty(std::wstring_view property) const {
  if (SameName(property, L"URL")) return URL;
  return std::nullopt;
}

}  // namespace ui

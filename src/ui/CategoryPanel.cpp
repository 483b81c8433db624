#include "ui/CategoryPanel.h"

#include "ui/Application.h"

#include <windowsx.h>

namespace ui {

namespace {
constexpr wchar_t kGroupClass[] = L"QuilletCategoryGroup";
constexpr wchar_t kPanelClass[] = L"QuilletCategoryPanel";
constexpr wchar_t kSurfaceClass[] = L"QuilletCategorySurface";

COLORREF Mix(COLORREF a, COLORREF b, int percentB) {
  auto ch = [&](int shift) {
    return (((a >> shift) & 0xFF) * (100 - percentB) + ((b >> shift) & 0xFF) * percentB) / 100;
  };
  return RGB(ch(0), ch(8), ch(16));
}
}  // namespace

// ---- group

CategoryPanelGroup::CategoryPanelGroup(Component* owner, std::wstring name, HWND parent, HFONT font,
                                       COLORREF color, int headerHeight)
    : Control(owner, std::move(name)), font_(font), color_(color), brush_(CreateSolidBrush(color)),
      headerHeight_(headerHeight) {
  RegisterWindowClass(kGroupClass, 0);
  CreateOwn(WS_EX_CONTROLPARENT, kGroupClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 100, parent);
  SetFont(font);
}

void CategoryPanelGroup::SetFont(HFONT f) {
  font_ = f;
  LOGFONTW lf{};
  GetObjectW(f, sizeof lf, &lf);
  lf.lfWeight = FW_BOLD;
  headerFont_.reset(CreateFontIndirectW(&lf));
  for (CategoryPanel* p : panels_) InvalidateRect(p->Handle(), nullptr, TRUE);
}

void CategoryPanelGroup::SetHeaderHeight(int h) {
  headerHeight_ = h;
  Realign();
}

bool CategoryPanelGroup::AllPanelsCollapsed() const {
  for (CategoryPanel* p : panels_)
    if (!p->Collapsed()) return false;
  return true;
}

void CategoryPanelGroup::Realign() {
  RECT rc;
  GetClientRect(hwnd_, &rc);
  int y = 0;
  for (CategoryPanel* p : panels_) {
    const int h = p->Collapsed() ? headerHeight_ : p->ExpandedHeight();
    SetWindowPos(p->Handle(), nullptr, 0, y, rc.right, h, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(p->Surface(), nullptr, 0, headerHeight_, rc.right, std::max(0, p->ExpandedHeight() - headerHeight_),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(p->Surface(), p->Collapsed() ? SW_HIDE : SW_SHOWNA);
    y += h;
  }
}

LRESULT CategoryPanelGroup::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT rc;
      GetClientRect(hwnd_, &rc);
      FillRect(reinterpret_cast<HDC>(wp), &rc, brush_.get());
      return 1;
    }
    case WM_SIZE:
      Realign();
      break;
  }
  return Control::HandleMessage(msg, wp, lp);
}

// ---- panel

CategoryPanel::CategoryPanel(Component* owner, std::wstring name, CategoryPanelGroup& group, std::wstring caption)
    : Control(owner, std::move(name)), group_(group), caption_(std::move(caption)) {
  RegisterWindowClass(kPanelClass, CS_HREDRAW);
  CreateOwn(WS_EX_CONTROLPARENT, kPanelClass, caption_.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100,
            100, group.Handle());
  surface_.Create(hwnd_, group.ColorBrush());
  group.panels_.push_back(this);
  group.Realign();
}

void CategoryPanel::SurfaceWindow::Create(HWND parent, HBRUSH background) {
  background_ = background;
  RegisterWindowClass(kSurfaceClass, 0);
  CreateOwn(WS_EX_CONTROLPARENT, kSurfaceClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 10, 10, parent);
}

LRESULT CategoryPanel::SurfaceWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND) {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    FillRect(reinterpret_cast<HDC>(wp), &rc, background_);
    return 1;
  }
  if (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLOREDIT) {
    LRESULT r = 0;
    if (ReflectToChild(msg, wp, lp, r)) return r;
  }
  if (msg == WM_LBUTTONDOWN) {
    // Dragging the empty body of the window moves it.
    HWND top = GetAncestor(hwnd_, GA_ROOT);
    ReleaseCapture();
    SendMessageW(top, WM_SYSCOMMAND, 0xF012, 0);
    return 0;
  }
  return Window::HandleMessage(msg, wp, lp);
}

int CategoryPanel::SurfaceWidth() const {
  RECT r{};
  GetClientRect(Surface(), &r);
  return r.right;
}

int CategoryPanel::SurfaceHeight() const { return std::max(0, expandedHeight_ - group_.HeaderHeight()); }

void CategoryPanel::SetCollapsed(bool c) {
  if (c == collapsed_) return;
  collapsed_ = c;
  group_.Realign();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void CategoryPanel::SetExpandedHeight(int h) {
  expandedHeight_ = h;
  group_.Realign();
}

void CategoryPanel::Expand() {
  SetCollapsed(false);
  if (group_.OnExpand) group_.OnExpand(*this);
}

void CategoryPanel::Collapse() {
  SetCollapsed(true);
  if (group_.OnCollapse) group_.OnCollapse(*this);
}

void CategoryPanel::SetCaption(const std::wstring& c) {
  caption_ = c;
  Control::SetCaption(c);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void CategoryPanel::PaintHeader(HDC dc) {
  RECT rc;
  GetClientRect(hwnd_, &rc);
  const int hh = group_.HeaderHeight();
  RECT header{0, 0, rc.right, hh};
  // A soft vertical gradient from the window colour, darker at the foot, with a hairline under it.
  const COLORREF base = group_.Color();
  const COLORREF top = hot_ ? Mix(base, RGB(255, 255, 255), 60) : Mix(base, RGB(255, 255, 255), 35);
  const COLORREF bottom = Mix(base, RGB(120, 100, 60), 18);
  TRIVERTEX v[2] = {{0, 0, static_cast<COLOR16>(GetRValue(top) << 8), static_cast<COLOR16>(GetGValue(top) << 8),
                     static_cast<COLOR16>(GetBValue(top) << 8), 0},
                    {header.right, header.bottom, static_cast<COLOR16>(GetRValue(bottom) << 8),
                     static_cast<COLOR16>(GetGValue(bottom) << 8), static_cast<COLOR16>(GetBValue(bottom) << 8), 0}};
  GRADIENT_RECT gr{0, 1};
  GradientFill(dc, v, 2, &gr, 1, GRADIENT_FILL_RECT_V);
  PenHandle line(CreatePen(PS_SOLID, 1, Mix(base, RGB(90, 70, 40), 40)));
  {
    Selection s(dc, line.get());
    MoveToEx(dc, 0, hh - 1, nullptr);
    LineTo(dc, rc.right, hh - 1);
  }
  Selection f(dc, group_.HeaderFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(60, 45, 20));
  RECT text{hh / 2 + 2, 0, rc.right - HeaderRightReserve - hh * 2, hh};
  DrawTextW(dc, caption_.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
  // Chevron: points up on an open panel, down on a closed one.
  const int cx = rc.right - HeaderRightReserve - hh / 2 - 4, cy = hh / 2, s = std::max(4, hh / 4);
  PenHandle chev(CreatePen(PS_SOLID, std::max(2, hh / 9), RGB(110, 90, 55)));
  Selection sp(dc, chev.get());
  const int dir = collapsed_ ? 1 : -1;
  POINT pts[3] = {{cx - s, cy - dir * s / 2}, {cx, cy + dir * s / 2}, {cx + s, cy - dir * s / 2}};
  Polyline(dc, pts, 3);
}

LRESULT CategoryPanel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintDC pdc(hwnd_);
      RECT rc;
      GetClientRect(hwnd_, &rc);
      // Paint into memory: the header repaints on every hover change.
      MemoryDcHandle mem(CreateCompatibleDC(pdc.get()));
      BitmapHandle bmp(CreateCompatibleBitmap(pdc.get(), rc.right, group_.HeaderHeight()));
      {
        Selection sel(mem.get(), bmp.get());
        PaintHeader(mem.get());
        BitBlt(pdc.get(), 0, 0, rc.right, group_.HeaderHeight(), mem.get(), 0, 0, SRCCOPY);
      }
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintHeader(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_MOUSEMOVE:
      if (!hot_) {
        hot_ = true;
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd_, 0};
        TrackMouseEvent(&tme);
        InvalidateRect(hwnd_, nullptr, FALSE);
      }
      return 0;
    case WM_MOUSELEAVE:
      hot_ = false;
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP:
      if (GET_Y_LPARAM(lp) < group_.HeaderHeight()) {
        if (collapsed_)
          Expand();
        else
          Collapse();
      }
      return 0;
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
  }
  return Control::HandleMessage(msg, wp, lp);
}

}  // namespace ui

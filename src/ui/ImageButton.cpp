#include "ui/ImageButton.h"

#include "ui/Handles.h"
#include "ui/ImageList.h"

#include <windowsx.h>

namespace ui {

namespace {
constexpr wchar_t kClass[] = L"QuilletImageButton";
}

ImageButton::ImageButton(Component* owner, std::wstring name, HWND parent, ImageList& images, int normal, int hot,
                         int down)
    : Control(owner, std::move(name)), images_(images), normal_(normal), hot_(hot), down_(down) {
  RegisterWindowClass(kClass, 0, nullptr, LoadCursorW(nullptr, IDC_HAND));
  CreateOwn(0, kClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, images.ImageWidth(), images.ImageHeight(), parent);
}

LRESULT ImageButton::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintDC dc(hwnd_);
      RECT rc;
      GetClientRect(hwnd_, &rc);
      // The parent's background shows through the picture's transparent parts.
      HWND parent = GetParent(hwnd_);
      HBRUSH bg = reinterpret_cast<HBRUSH>(SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                                                        reinterpret_cast<LPARAM>(hwnd_)));
      FillRect(dc.get(), &rc, bg ? bg : GetSysColorBrush(COLOR_BTNFACE));
      // A parent that paints itself (a panel header) paints the part under the button too.
      POINT origin{0, 0};
      MapWindowPoints(hwnd_, parent, &origin, 1);
      POINT old;
      SetViewportOrgEx(dc.get(), -origin.x, -origin.y, &old);
      SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
      SetViewportOrgEx(dc.get(), old.x, old.y, nullptr);
      const int index = pressed_ && over_ ? down_ : over_ ? hot_ : normal_;
      images_.Draw(dc.get(), index, (rc.right - images_.ImageWidth()) / 2, (rc.bottom - images_.ImageHeight()) / 2);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (!over_) {
        over_ = true;
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd_, 0};
        TrackMouseEvent(&tme);
        InvalidateRect(hwnd_, nullptr, FALSE);
      }
      if (pressed_) {
        POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        RECT rc;
        GetClientRect(hwnd_, &rc);
        const bool inside = PtInRect(&rc, pt);
        if (inside != over_) {
          over_ = inside;
          InvalidateRect(hwnd_, nullptr, FALSE);
        }
      }
      return 0;
    case WM_MOUSELEAVE:
      over_ = false;
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      SetCapture(hwnd_);
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP: {
      const bool click = pressed_ && over_;
      pressed_ = false;
      ReleaseCapture();
      InvalidateRect(hwnd_, nullptr, FALSE);
      if (click) ExecuteAction();
      return 0;
    }
    case WM_CAPTURECHANGED:
      pressed_ = false;
      return 0;
  }
  return Control::HandleMessage(msg, wp, lp);
}

}  // namespace ui

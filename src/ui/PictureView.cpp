#include "ui/PictureView.h"

namespace ui {

namespace {
constexpr wchar_t kClass[] = L"QuilletPictureView";
}

PictureView::PictureView(Component* owner, std::wstring name, HWND parent) : Control(owner, std::move(name)) {
  RegisterWindowClass(kClass, CS_HREDRAW | CS_VREDRAW);
  CreateOwn(WS_EX_CLIENTEDGE, kClass, L"", WS_CHILD | WS_TABSTOP, 0, 0, 100, 100, parent);
}

void PictureView::SetBitmap(HBITMAP bitmap) {
  bitmap_.reset(bitmap);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

LRESULT PictureView::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintDC dc(hwnd_);
      RECT rc;
      GetClientRect(hwnd_, &rc);
      FillRect(dc.get(), &rc, GetSysColorBrush(COLOR_WINDOW));
      BITMAP bm{};
      if (bitmap_ && GetObjectW(bitmap_.get(), sizeof bm, &bm) && bm.bmWidth > 0 && bm.bmHeight > 0) {
        int w = rc.right, h = MulDiv(bm.bmHeight, rc.right, bm.bmWidth);
        if (h > rc.bottom) h = rc.bottom, w = MulDiv(bm.bmWidth, rc.bottom, bm.bmHeight);
        MemoryDcHandle mem(CreateCompatibleDC(dc.get()));
        Selection sel(mem.get(), bitmap_.get());
        SetStretchBltMode(dc.get(), HALFTONE);
        StretchBlt(dc.get(), (rc.right - w) / 2, (rc.bottom - h) / 2, w, h, mem.get(), 0, 0, bm.bmWidth, bm.bmHeight,
                   SRCCOPY);
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
      ::SetFocus(hwnd_);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
  }
  return Control::HandleMessage(msg, wp, lp);
}

}  // namespace ui

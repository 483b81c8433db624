#include "ui/Form.h"

#include "ui/Application.h"
#include "ui/PopupMenu.h"

namespace ui {

ShiftState CurrentShiftState() {
  ShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= kShift;
  if (GetKeyState(VK_MENU) < 0) s |= kAlt;
  if (GetKeyState(VK_CONTROL) < 0) s |= kCtrl;
  return s;
}

int WindowDpi(HWND w) {
  // Windows 10 1607 and later; older systems fall back to the screen's dpi.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static auto fn = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (fn && w) {
    if (UINT d = fn(w)) return static_cast<int>(d);
  }
  HDC dc = GetDC(nullptr);
  const int d = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return d > 0 ? d : 96;
}

Form::Form(Component* owner, std::wstring name, const FormStyle& style)
    : Component(owner, std::move(name)),
      fontFace_(style.fontFace),
      fontPixels_(style.fontPixels),
      color_(style.color),
      brush_(CreateSolidBrush(style.color)) {
  actions_ = Make<ActionList>(L"ActMan");
  RegisterWindowClass(style.className, CS_DBLCLKS, style.icon);
  DWORD ex = style.onTaskbar ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW;
  DWORD ws = style.borderless ? WS_POPUP : (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
  CreateOwn(ex | WS_EX_CONTROLPARENT, style.className, style.caption.c_str(), ws | WS_CLIPCHILDREN, 0, 0, 100, 100,
            nullptr);
  dpi_ = WindowDpi(hwnd_);
  MakeFont();
  keyFilterId_ = Application::Instance().AddKeyFilter([this](MSG& msg) { return PreviewKey(msg); });
  idleUpdaterId_ = Application::Instance().AddIdleUpdater([this] {
    if (hwnd_ && IsWindowVisible(hwnd_)) actions_->UpdateAll();
  });
}

Form::~Form() {
  Application::Instance().RemoveKeyFilter(keyFilterId_);
  Application::Instance().RemoveIdleUpdater(idleUpdaterId_);
  if (Application::Instance().MainForm == this) Application::Instance().MainForm = nullptr;
}

void Form::MakeFont() {
  LOGFONTW lf{};
  lf.lfHeight = -Scale(fontPixels_);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(lf.lfFaceName, fontFace_.c_str(), LF_FACESIZE);
  font_.reset(CreateFontIndirectW(&lf));
}

bool Form::Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
void Form::Show() { ShowWindow(hwnd_, SW_SHOW); }
void Form::Hide() { ShowWindow(hwnd_, SW_HIDE); }

void Form::SetStayOnTop(bool on) {
  SetWindowPos(hwnd_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool Form::StayOnTop() const { return GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST; }

void Form::SetClientSize(int w, int h) {
  RECT r{0, 0, w, h};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetPosition(int left, int top) {
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT Form::BoundsOnScreen() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return r;
}

int Form::Width() const {
  RECT r = BoundsOnScreen();
  return r.right - r.left;
}

int Form::Height() const {
  RECT r = BoundsOnScreen();
  return r.bottom - r.top;
}

void Form::Close() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(canClose);
  if (!canClose) return;
  if (inModal_) {
    if (!modalResult_) modalResult_ = IDCANCEL;
    return;
  }
  ShowWindow(hwnd_, SW_HIDE);
  if (Application::Instance().MainForm == this) Application::Instance().Terminate(0);
}

int Form::ShowModal() {
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  std::vector<HWND> disabled;
  std::pair<HWND, std::vector<HWND>*> search{hwnd_, &disabled};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM p) -> BOOL {
        auto* list = reinterpret_cast<std::pair<HWND, std::vector<HWND>*>*>(p);
        if (w != list->first && IsWindowVisible(w) && IsWindowEnabled(w)) list->second->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  for (HWND w : disabled) EnableWindow(w, FALSE);
  modalResult_ = 0;
  inModal_ = true;
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  auto& app = Application::Instance();
  while (!modalResult_ && !app.Terminated()) {
    app.ProcessMessages();
    if (modalResult_ || app.Terminated()) break;
    WaitMessage();
  }
  inModal_ = false;
  for (HWND w : disabled) EnableWindow(w, TRUE);
  ShowWindow(hwnd_, SW_HIDE);
  if (owner) SetForegroundWindow(owner);
  return modalResult_;
}

void Form::DragMove() {
  ReleaseCapture();
  // SC_MOVE | HTCAPTION: the system's own move loop.
  SendMessageW(hwnd_, WM_SYSCOMMAND, 0xF012, 0);
}

bool Form::PreviewKey(MSG& msg) {
  if (!hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
  const WORD vk = static_cast<WORD>(msg.wParam);
  const ShiftState shift = CurrentShiftState();
  if (vk != VK_SHIFT && vk != VK_CONTROL && vk != VK_MENU) {
    const ShortCut sc = MakeShortCut(vk, shift & kCtrl, shift & kShift, shift & kAlt);
    if (actions_->ExecuteShortCut(sc)) return true;
  }
  if (KeyPreview && OnKeyDown) {
    WORD key = vk;
    OnKeyDown(key, shift);
    if (key == 0) return true;
  }
  return false;
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT r = 0;
  if (PopupMenu::HandleOwnerMessage(msg, wp, lp, r)) return r;
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT rc;
      GetClientRect(hwnd_, &rc);
      FillRect(reinterpret_cast<HDC>(wp), &rc, brush_.get());
      return 1;
    }
    case WM_CLOSE:
      Close();
      return 0;
    case WM_LBUTTONDOWN:
      DragMove();
      return 0;
    case WM_CTLCOLORSTATIC: {
      if (ReflectToChild(msg, wp, lp, r)) return r;
      SetBkColor(reinterpret_cast<HDC>(wp), color_);
      return reinterpret_cast<LRESULT>(brush_.get());
    }
    case 0x02E0: {  // WM_DPICHANGED
      dpi_ = HIWORD(wp);
      MakeFont();
      const RECT* suggested = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      if (OnDpiChanged) OnDpiChanged();
      return 0;
    }
  }
  return Window::HandleMessage(msg, wp, lp);
}

bool Form::SetStringProperty(std::wstring_view property, const std::wstring& value) {
  if (SameName(property, L"Caption")) {
    SetWindowTextW(hwnd_, value.c_str());
    return true;
  }
  return false;
}

std::optional<std::wstring> Form::GetStringProperty(std::wstring_view property) const {
  if (SameName(property, L"Caption")) {
    wchar_t buf[512];
    GetWindowTextW(hwnd_, buf, 512);
    return std::wstring(buf);
  }
  return std::nullopt;
}

}  // namespace ui

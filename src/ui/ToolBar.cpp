#include "ui/ToolBar.h"

#include <commctrl.h>

#include "ui/Application.h"
#include "ui/ImageList.h"

namespace ui {

ToolButton::ToolButton(Component* owner, std::wstring name, ToolBar& bar, Action* action, int imageIndex, bool check)
    : Component(owner, std::move(name)), bar_(bar), action_(action), imageIndex_(imageIndex), check_(check),
      command_(static_cast<int>(bar.Buttons().size()) + 1) {
  bar.AddButton(this);
  if (action_) subscription_ = action_->Subscribe([this] { Sync(); });
  Sync();
}

ToolButton::~ToolButton() {
  if (action_) action_->Unsubscribe(subscription_);
}

bool ToolButton::Down() const {
  return check_ && SendMessageW(bar_.Handle(), TB_ISBUTTONCHECKED, static_cast<WPARAM>(command_), 0);
}

void ToolButton::SetDown(bool down) {
  SendMessageW(bar_.Handle(), TB_CHECKBUTTON, static_cast<WPARAM>(command_), MAKELPARAM(down ? TRUE : FALSE, 0));
}

int ToolButton::Width() const {
  RECT r{};
  const LRESULT index = SendMessageW(bar_.Handle(), TB_COMMANDTOINDEX, static_cast<WPARAM>(command_), 0);
  SendMessageW(bar_.Handle(), TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  return r.right - r.left;
}

void ToolButton::SetCaption(const std::wstring& c) {
  caption_ = c;
  ShowCaption();
}

void ToolButton::ShowCaption() {
  if (!action_ || !bar_.captions_) return;
  TBBUTTONINFOW info{};
  info.cbSize = sizeof info;
  info.dwMask = TBIF_TEXT;
  info.pszText = const_cast<wchar_t*>(caption_.c_str());
  SendMessageW(bar_.Handle(), TB_SETBUTTONINFOW, static_cast<WPARAM>(command_), reinterpret_cast<LPARAM>(&info));
  // A new text makes the bar measure its buttons again: keep them at the designed size.
  bar_.ApplyButtonSize();
}

bool ToolButton::SetStringProperty(std::wstring_view property, const std::wstring& value) {
  if (SameName(property, L"Caption")) {
    SetCaption(value);
    return true;
  }
  if (SameName(property, L"Hint")) {
    hint_ = value;
    return true;
  }
  return false;
}

std::optional<std::wstring> ToolButton::GetStringProperty(std::wstring_view property) const {
  if (SameName(property, L"Caption")) return caption_;
  if (SameName(property, L"Hint")) return hint_;
  return std::nullopt;
}

void ToolButton::Sync() {
  if (!action_) return;
  if (action_->Caption() != caption_) SetCaption(action_->Caption());
  SendMessageW(bar_.Handle(), TB_ENABLEBUTTON, static_cast<WPARAM>(command_), MAKELPARAM(action_->Enabled(), 0));
  SendMessageW(bar_.Handle(), TB_HIDEBUTTON, static_cast<WPARAM>(command_), MAKELPARAM(!action_->Visible(), 0));
  if (check_ && action_->Checked() != Down()) SetDown(action_->Checked());
}

ToolBar::ToolBar(Component* owner, std::wstring name, HWND parent, ImageList* images)
    : Control(owner, std::move(name)) {
  CreateSubclassed(0, TOOLBARCLASSNAMEW, L"",
                   WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | TBSTYLE_TRANSPARENT | CCS_NODIVIDER |
                       CCS_NORESIZE | CCS_NOPARENTALIGN,
                   0, 0, 100, 24, parent);
  SendMessageW(hwnd_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  if (images) {
    SendMessageW(hwnd_, TB_SETBITMAPSIZE, 0, MAKELPARAM(images->ImageWidth(), images->ImageHeight()));
    SendMessageW(hwnd_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images->SystemList()));
  }
}

void ToolBar::AddButton(ToolButton* b) {
  buttons_.push_back(b);
  TBBUTTON tb{};
  tb.iBitmap = b->action_ ? b->imageIndex_ : 6;
  tb.idCommand = b->command_;
  tb.fsState = TBSTATE_ENABLED;
  tb.fsStyle = static_cast<BYTE>(!b->action_ ? BTNS_SEP : b->check_ ? BTNS_CHECK : BTNS_BUTTON);
  SendMessageW(hwnd_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&tb));
}

void ToolBar::SetIndent(int pixels) {
  // Undo an earlier shift of the window first (see below).
  if (shift_) {
    RECT r = Bounds();
    SetWindowPos(hwnd_, nullptr, r.left - shift_, r.top, r.right - r.left + shift_, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    shift_ = 0;
  }
  SendMessageW(hwnd_, TB_SETINDENT, static_cast<WPARAM>(pixels), 0);
  RECT first{};
  if (pixels > 0 && SendMessageW(hwnd_, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first)) && first.left != pixels) {
    // This toolbar stores the indent without laying its buttons out again (Wine's does): move the
    // transparent bar instead, which looks the same.
    SendMessageW(hwnd_, TB_SETINDENT, 0, 0);
    RECT r = Bounds();
    SetWindowPos(hwnd_, nullptr, r.left + pixels, r.top, r.right - r.left - pixels, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    shift_ = pixels;
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

int ToolBar::Indent() const {
  RECT first{};
  SendMessageW(hwnd_, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  return shift_ + first.left;
}

void ToolBar::ShowCaptions(int buttonWidth, int buttonHeight) {
  captions_ = true;
  buttonWidth_ = buttonWidth;
  buttonHeight_ = buttonHeight;
  // A narrow button shows as much of its caption as fits rather than trading letters for dots.
  SendMessageW(hwnd_, TB_SETPADDING, 0, MAKELPARAM(2, 6));
  SendMessageW(hwnd_, TB_SETDRAWTEXTFLAGS, DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS | DT_NOCLIP, DT_NOCLIP);
  for (ToolButton* b : buttons_) b->ShowCaption();
  ApplyButtonSize();
}

void ToolBar::ApplyButtonSize() {
  if (!captions_) return;
  SendMessageW(hwnd_, TB_SETBUTTONWIDTH, 0, MAKELPARAM(buttonWidth_, buttonWidth_));
  SendMessageW(hwnd_, TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
  InvalidateRect(hwnd_, nullptr, TRUE);
}

int ToolBar::ButtonHeight() const { return HIWORD(SendMessageW(hwnd_, TB_GETBUTTONSIZE, 0, 0)); }

bool ToolBar::Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND) {
    const int id = LOWORD(wp);
    for (ToolButton* b : buttons_) {
      if (b->command_ != id || !b->action_) continue;
      Action* a = b->action_;
      Guarded([&] {
        a->ActionComponent = b;
        a->Execute();
      });
      // A check button's state belongs to its action.
      b->Sync();
      result = 0;
      return true;
    }
    return false;
  }
  if (msg == WM_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(lp);
    if (hdr->code == TBN_GETINFOTIPW) {
      auto* tip = reinterpret_cast<NMTBGETINFOTIPW*>(lp);
      for (ToolButton* b : buttons_) {
        if (b->command_ != tip->iItem || !b->action_) continue;
        std::wstring text = !b->hint_.empty()             ? b->hint_
                            : !b->action_->Hint().empty() ? b->action_->Hint()
                                                          : b->action_->Caption();
        if (b->action_->GetShortCut()) text += L" (" + ShortCutText(b->action_->GetShortCut()) + L")";
        lstrcpynW(tip->pszText, text.c_str(), tip->cchTextMax);
      }
      result = 0;
      return true;
    }
  }
  return false;
}

}  // namespace ui

#include "ui/RichEdit.h"

#include <richedit.h>

namespace ui {

namespace {
const wchar_t* RichEditClass() {
  static const wchar_t* cls = [] {
    if (LoadLibraryW(L"msftedit.dll")) return L"RICHEDIT50W";
    LoadLibraryW(L"riched20.dll");
    return RICHEDIT_CLASSW;
  }();
  return cls;
}
}  // namespace

RichEdit::RichEdit(Component* owner, std::wstring name, HWND parent, HFONT font) : Control(owner, std::move(name)) {
  CreateSubclassed(WS_EX_CLIENTEDGE, RichEditClass(), L"",
                   WS_CHILD | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL, 0, 0, 100, 100,
                   parent);
  // The control's default character format can be a bold system face: give it ours before any text.
  SetFont(font);
  SendMessageW(hwnd_, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
}

bool RichEdit::Modified() const { return SendMessageW(hwnd_, EM_GETMODIFY, 0, 0) != 0; }
void RichEdit::SetModified(bool m) { SendMessageW(hwnd_, EM_SETMODIFY, m, 0); }
void RichEdit::SetReadOnly(bool r) { SendMessageW(hwnd_, EM_SETREADONLY, r, 0); }

}  // namespace ui

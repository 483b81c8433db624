#include "ui/Memo.h"

namespace ui {

Memo::Memo(Component* owner, std::wstring name, HWND parent, HFONT font) : Control(owner, std::move(name)) {
  CreateSubclassed(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL,
                   0, 0, 100, 40, parent);
  SetFont(font);
}

bool Memo::Modified() const { return SendMessageW(hwnd_, EM_GETMODIFY, 0, 0) != 0; }
void Memo::SetModified(bool m) { SendMessageW(hwnd_, EM_SETMODIFY, m, 0); }

}  // namespace ui

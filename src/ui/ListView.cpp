#include "ui/ListView.h"

#include <commctrl.h>

namespace ui {

ListView::ListView(Component* owner, std::wstring name, HWND parent, Kind kind) : Control(owner, std::move(name)) {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_SHOWSELALWAYS | LVS_SINGLESEL;
  style |= kind == Kind::Report ? (LVS_REPORT | LVS_NOCOLUMNHEADER) : LVS_ICON;
  CreateSubclassed(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", style, 0, 0, 100, 100, parent);
  DWORD ex = LVS_EX_DOUBLEBUFFER;
  if (kind == Kind::Report) ex |= LVS_EX_FULLROWSELECT;
  ListView_SetExtendedListViewStyle(hwnd_, ex);
  if (kind == Kind::Report) {
    LVCOLUMNW col{};
    col.mask = LVCF_WIDTH;
    col.cx = 100;
    ListView_InsertColumn(hwnd_, 0, &col);
  }
}

int ListView::ItemCount() const { return ListView_GetItemCount(hwnd_); }

int ListView::SelectedIndex() const { return ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED); }

void ListView::SelectItem(int index) {
  ListView_SetItemState(hwnd_, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(hwnd_, index, FALSE);
}

bool ListView::Reflected(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
  if (msg != WM_NOTIFY || reinterpret_cast<NMHDR*>(lp)->code != NM_DBLCLK || !OnDblClick) return false;
  OnDblClick(*this);
  result = 0;
  return true;
}

LRESULT ListView::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCALCSIZE && !ShowHorizScroll) {
    if (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_HSCROLL) ShowScrollBar(hwnd_, SB_HORZ, FALSE);
  }
  return Control::HandleMessage(msg, wp, lp);
}

}  // namespace ui

// The clip lists: the refill pass that rebuilds the open panel's list from its store, the
// worker that paces the passes, and the NeedUpdate marks.
#include "main/CurInsWindow.h"

#include <commctrl.h>

#include <stdexcept>

#include "records/RefillGrid.h"
#include "records/RefillWorker.h"
#include "records/RichText.h"
#include "store/Database.h"
#include "ui/Application.h"

namespace {

void InsertEmptyItems(HWND list, int count, bool pictures) {
  SendMessageW(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), 0);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
  item.pszText = const_cast<wchar_t*>(L"");
  // A text item shows the one picture of its list; a picture item shows nothing until its
  // thumbnail is in (one that cannot be read keeps no picture).
  item.iImage = pictures ? I_IMAGENONE : 0;
  for (int i = 0; i < count; ++i) {
    item.iItem = i;
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
}

void SetItemText(HWND list, int index, int subItem, const std::wstring& text) {
  LVITEMW item{};
  item.iSubItem = subItem;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void SetItemData(HWND list, int index, std::int64_t id, int image = -3) {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  // Only the low 32 bits, as the commands that read it back expect (high half 0).
  item.lParam = static_cast<LPARAM>(static_cast<std::uint32_t>(id));
  if (image != -3) {
    item.mask |= LVIF_IMAGE;
    item.iImage = image;
  }
  SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

// The picture list keeps the size text as sub-item 1, which needs a second (unseen) column.
void EnsureSubItemColumn(HWND list) {
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = 100;
  for (; columns < 2; ++columns) SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(columns), reinterpret_cast<LPARAM>(&column));
}

class RedrawPause {
 public:
  explicit RedrawPause(HWND window) : window_(window) {
    if (!window_) return;
    wasVisible_ = (GetWindowLongPtrW(window_, GWL_STYLE) & WS_VISIBLE) != 0;
    SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
  }
  ~RedrawPause() {
    if (!window_) return;
    SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    // Turning redrawing back on also marks the window visible: a hidden editor (the list is
    // showing) must stay hidden.
    if (!wasVisible_)
      SetWindowLongPtrW(window_, GWL_STYLE, GetWindowLongPtrW(window_, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_VISIBLE));
    InvalidateRect(window_, nullptr, TRUE);
  }
  RedrawPause(const RedrawPause&) = delete;
  RedrawPause& operator=(const RedrawPause&) = delete;

 private:
  HWND window_;
  bool wasVisible_ = false;
};

int ClientWidth(HWND window) {
  RECT rc{};
  GetClientRect(window, &rc);
  return rc.right - rc.left;
}

}  // namespace

void TCurInsWindow::SetNeedUpdate(int which, bool value) {
  switch (which) {
    case 1:
      LV_Text->NeedUpdate = LV_Img->NeedUpdate = value;
      break;
    case 2:
      LV_Text->NeedUpdate = value;
      break;
    case 3:
      LV_Img->NeedUpdate = value;
      break;
    default:
      LV_Text->NeedUpdate = LV_Img->NeedUpdate = false;
      break;
  }
}

void TCurInsWindow::SetListNeedUpdate(ui::ListView* list, bool value) {
  SetNeedUpdate(list == LV_Text ? 2 : list == LV_Img ? 3 : 1, value);
}

void TCurInsWindow::CreateRefillWorker() {
  RefillWorker = std::make_unique<TThr>(
      [this] { Refill(); },
      [](const std::function<void()>& work) { ui::Application::Instance().Synchronize(work); },
      [](HANDLE thread) { ui::Application::Instance().WaitForThread(thread); });
}

void TCurInsWindow::WakeRefillWorker() {
  if (RefillWorker) RefillWorker->Wake();
}

void TCurInsWindow::StopRefillWorker() {
  // Stop raises the stop count before it wakes the worker, so no further pass starts.
  if (RefillWorker) RefillWorker->Stop();
  RefillWorker.reset();
}

void TCurInsWindow::TakeAfterRefillAction() {
  // While the idle machine has yet to start a refill, this pass was asked for before the command
  // that set the follow-up (the worker may still owe an earlier wake-up): the follow-up belongs
  // to the refill that command requested.
  if (PendingAction == idle::kRefillText || PendingAction == idle::kRefillImages) return;
  if (AfterRefillAction != 0) {
    PendingAction = AfterRefillAction;
    AfterRefillAction = 0;
  }
}

void TCurInsWindow::Refill() {
  ui::ListView* list = ActiveList;
  if (!list) return;
  if (!list->NeedUpdate) {
    TakeAfterRefillAction();
    return;
  }
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  const bool pictures = list == LV_Img;
  ui::CategoryPanel* panel = pictures ? CP_Img : CP_Text;
  const HWND lv = list->Handle();
  try {
    std::unique_ptr<qstore::SINGLE_DATA_REC> record;
    try {
      if (Tag != 0) A_ShowHideExecute(*A_ShowHide);
      ListView_DeleteAllItems(lv);
      PB_DbReadTrack->SetRange(0);
      PB_DbReadTrack->SetPosition(0);
      PB_DbReadTrack->SetVisible(true);
      BindStoreForList(list);
      AllDb->CurrentRecordId = 0;
      qstore::Base_DB* store = AllDb->ActiveStore();
      std::vector<std::int64_t> ids;
      if (store) {
        store->Open(false);
        store->GetIds(ids);
      }
      const int n = static_cast<int>(ids.size());
      HIMAGELIST thumbs = pictures ? IL_Thumbs->SystemList() : nullptr;
      if (pictures) {
        ImageList_RemoveAll(thumbs);
        EnsureSubItemColumn(lv);
      }
      record = std::make_unique<qstore::SINGLE_DATA_REC>(pictures);
      panel->SetEnabled(false);
      PB_DbReadTrack->SetRange(n);
      refill::GridWalker grid(refill::GridColumns(ClientWidth(lv)));
      InsertEmptyItems(lv, n, pictures);
      int animation = 8;
      // The tray icon alternates 8, 0, 8, ... as records go by, but no faster than the eye can
      // follow: every change is a round trip to the shell, which costs more than a record.
      DWORD lastAnimation = 0;
      const HWND editor = ActiveTextEditor ? ActiveTextEditor->Handle() : nullptr;
      // Nobody watches the converting editor or the half-filled list: no painting until the end.
      RedrawPause pauseEditor(editor), pauseList(lv);
      for (int k = n - 1, p = 0; k >= 0; --k, ++p) {
        const DWORD now = GetTickCount();
        if (p == 0 || now - lastAnimation >= 100) {
          MainTrayIcon->SetIconIndex(animation);
          animation = animation == 8 ? 0 : 8;
          lastAnimation = now;
        }
        if (!pictures) {
          if (!editor || !store->Read(*record, false, ids[k])) throw std::runtime_error("text record unreadable");
          records::LoadRichText(editor, record->Body.View());
          SetItemText(lv, p, 0, records::PlainText(editor));
          SetItemData(lv, p, ids[k]);
        } else {
          try {
            if (!store->Read(*record, false, ids[k])) throw std::runtime_error("picture record unreadable");
            const int image = ImageList_Add(thumbs, record->Thumbnail->Handle(), nullptr);
            if (image < 0) throw std::runtime_error("thumbnail refused");
            SetItemData(lv, p, ids[k], image);
            SetItemText(lv, p, 1, record->SizeText);
          } catch (...) {
            // The picture keeps its cell, without thumbnail, id or size text.
          }
          POINT at{grid.X(), grid.Y()};
          SendMessageW(lv, LVM_SETITEMPOSITION32, static_cast<WPARAM>(p), reinterpret_cast<LPARAM>(&at));
          grid.Advance();
        }
        PB_DbReadTrack->SetPosition(p + 1);
        record->Reset();
      }
      PB_DbReadTrack->SetVisible(false);
      panel->SetEnabled(true);
      if (list->CanFocus()) list->SetFocus();
      TakeAfterRefillAction();
    } catch (...) {
      // The pass ends early; a pending follow-up stays pending.
      PB_DbReadTrack->SetVisible(false);
      panel->SetEnabled(true);
    }
  } catch (...) {
  }
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  MainTrayIcon->SetIconIndex(0);
  if (AllDb)
    if (qstore::Base_DB* store = AllDb->ActiveStore()) store->Close();
  list->NeedUpdate = false;
}

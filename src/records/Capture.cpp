// Taking whatever is on the clipboard into a new record, the clipboard commands of the two
// record editors with their one enabling rule, and the popup menus of the editors and lists.
//
// A capture runs in two passes through the idle machine: the first picks the panel (asking for a
// refill of the other list when that one is open), the second opens a new record in the panel's
// editor and pastes into it. The record is not stored here: the user saves or cancels it.
#include "main/CurInsWindow.h"

#include <commctrl.h>
#include <richedit.h>
#include <windowsx.h>

#include <string>

#include "editor/ExtendEdit.h"
#include "records/ClipboardData.h"
#include "store/Database.h"
#include "ui/Application.h"

namespace {

// Pictures of the two menu image lists, by index (tools/art-main draws them in this order).
enum MenuImage {
  kImgInsert = 0,
  kImgAdd,
  kImgEdit,
  kImgDelete,
  kImgRefresh,
  kImgCut,
  kImgCopy,
  kImgPaste,
  kImgUndo,
  kImgExpand,
  kImgPreview,
  kImgSaveAs,
  kImgSelectAll,
};

// The picture format that programs built on the Delphi class library register; such a program
// may offer only that format for a picture it copies.
UINT ClassLibraryPictureFormat() {
  static const UINT format = RegisterClipboardFormatW(L"Delphi Picture");
  return format;
}

bool ClipboardHasText() { return IsClipboardFormatAvailable(CF_TEXT); }

bool ClipboardHasPicture() {
  return IsClipboardFormatAvailable(CF_BITMAP) || IsClipboardFormatAvailable(ClassLibraryPictureFormat()) ||
         IsClipboardFormatAvailable(CF_METAFILEPICT);
}

// The editor's selection onto the clipboard as rich and plain text, rendered at once (the rich
// edit's own copy leaves the rendering to this program for later, lost when it ends).
bool CopyTextSelection(HWND editor) {
  return records::PutTextOnClipboard(GetAncestor(editor, GA_ROOT), records::SelectedRichText(editor),
                                     records::SelectedPlainText(editor));
}

constexpr UINT_PTR kPopupSubclassId = 0x504D;

// Where a menu asked for from the keyboard (Shift+F10, the menu key) opens: at the selected item
// of a list, at the caret of an editor, else near the control's top left corner.
POINT KeyboardMenuPoint(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  POINT at{r.left + 8, r.top + 8};
  wchar_t cls[32] = {};
  GetClassNameW(window, cls, 32);
  if (lstrcmpiW(cls, WC_LISTVIEWW) == 0) {
    const int item = ListView_GetNextItem(window, -1, LVNI_SELECTED);
    RECT itemRect{};
    itemRect.left = LVIR_ICON;
    if (item >= 0 && ListView_GetItemRect(window, item, &itemRect, LVIR_ICON)) {
      at = {(itemRect.left + itemRect.right) / 2, (itemRect.top + itemRect.bottom) / 2};
      ClientToScreen(window, &at);
    }
  } else {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetCurrentThreadId(), &info) && info.hwndCaret == window) {
      at = {info.rcCaret.left, info.rcCaret.bottom};
      ClientToScreen(window, &at);
    }
  }
  return at;
}

// Opens the attached popup menu where the user asked for it.
LRESULT CALLBACK PopupMenuProc(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  if (msg == WM_CONTEXTMENU) {
    // The commands act on what the user pointed at: the comment field, say, gives up the focus.
    if (IsWindowVisible(window) && IsWindowEnabled(window) && GetFocus() != window) SetFocus(window);
    POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    if (lp == -1) at = KeyboardMenuPoint(window);
    auto* menu = reinterpret_cast<ui::PopupMenu*>(data);
    ui::Guarded([&] { menu->Popup(at.x, at.y); });
    return 0;
  }
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(window, PopupMenuProc, kPopupSubclassId);
  return DefSubclassProc(window, msg, wp, lp);
}

}  // namespace

void TCurInsWindow::CreateCaptureCommands() {
  IL_Icons1 = Make<ui::ImageList>(L"IL_Icons1", 16, 16);
  IL_Icons1->AddStripResource(L"IL_ICONS1");
  IL_Icons2 = Make<ui::ImageList>(L"IL_Icons2", 16, 16);
  IL_Icons2->AddStripResource(L"IL_ICONS2");

  PM_Edit = Make<ui::PopupMenu>(L"PM_Edit");
  PM_List = Make<ui::PopupMenu>(L"PM_List");
  for (ui::PopupMenu* menu : {PM_Edit, PM_List}) {
    menu->Images = IL_Icons1;
    menu->OwnerWindow = hwnd_;
  }
  auto add = [](ui::PopupMenu* menu, const wchar_t* name, ui::Action* action, int image) {
    return menu->Items().Add(menu->Make<ui::MenuItem>(name, action ? L"" : L"-", action, image));
  };
  MI_Undo = add(PM_Edit, L"MI_Undo", A_Undo, kImgUndo);
  MI_SelectAllSep = add(PM_Edit, L"MI_SelectAllSep", nullptr, -1);
  MenuItem3 = add(PM_Edit, L"MenuItem3", A_Cut, kImgCut);
  MenuItem1 = add(PM_Edit, L"MenuItem1", A_Copy, kImgCopy);
  MenuItem4 = add(PM_Edit, L"MenuItem4", A_Paste, kImgPaste);
  N17 = add(PM_Edit, L"N17", nullptr, -1);
  MI_SaveAs = add(PM_Edit, L"MI_SaveAs", A_SaveImgToFile, kImgSaveAs);
  MI_UndoSep1 = add(PM_Edit, L"MI_UndoSep1", nullptr, -1);
  MI_Preview = add(PM_Edit, L"MI_Preview", A_PreviewImage, kImgPreview);
  MI_UndoSep2 = add(PM_Edit, L"MI_UndoSep2", nullptr, -1);
  MI_SelectAll = add(PM_Edit, L"MI_SelectAll", A_SelectAll, kImgSelectAll);

  Vurivuzu1 = add(PM_List, L"Vurivuzu1", A_VurivuZu, kImgInsert);
  N1 = add(PM_List, L"N1", nullptr, -1);
  Add1 = add(PM_List, L"Add1", A_Add, kImgAdd);
  Edit1 = add(PM_List, L"Edit1", A_Edit, kImgEdit);
  Delete1 = add(PM_List, L"Delete1", A_Delete, kImgDelete);
  MI_PM_List_Sep1 = add(PM_List, L"MI_PM_List_Sep1", nullptr, -1);
  MI_RichEdit = add(PM_List, L"MI_RichEdit", A_ExpandEdit, kImgExpand);
  MI_PM_List_Sep2 = add(PM_List, L"MI_PM_List_Sep2", nullptr, -1);
  MI_SaveAs1 = add(PM_List, L"MI_SaveAs1", A_SaveImgToFile, kImgSaveAs);
  MI_PM_List_Sep3 = add(PM_List, L"MI_PM_List_Sep3", nullptr, -1);
  MI_Preview1 = add(PM_List, L"MI_Preview1", A_PreviewImage, kImgPreview);
  N15 = add(PM_List, L"N15", nullptr, -1);
  ARefresh1 = add(PM_List, L"ARefresh1", A_Refresh, kImgRefresh);

  PM_Edit->OnPopup = [this](ui::PopupMenu&) { PM_EditPopup(); };
  PM_List->OnPopup = [this](ui::PopupMenu&) { PM_ListPopup(); };
  AttachPopupMenu(*AREDB_Text, *PM_Edit);
  AttachPopupMenu(*IDB_Img, *PM_Edit);
  AttachPopupMenu(*LV_Text, *PM_List);
  AttachPopupMenu(*LV_Img, *PM_List);

  A_TakeFrom->OnExecute = [this](ui::Action& a) { TakeFromClipboard(&a); };
  A_AddText->OnExecute = [this](ui::Action& a) {
    a.ActionComponent = MI_AddTextRecord;
    TakeFromClipboard(&a);
  };
  A_AddPicture->OnExecute = [this](ui::Action& a) {
    a.ActionComponent = MI_AddPictureRecord;
    TakeFromClipboard(&a);
  };
  A_Cut->OnExecute = [this](ui::Action&) { CutExecute(); };
  A_Copy->OnExecute = [this](ui::Action&) { CopyExecute(); };
  A_Paste->OnExecute = [this](ui::Action&) { PasteExecute(); };
  A_SelectAll->OnExecute = [this](ui::Action&) { SelectAllExecute(); };
  A_Undo->OnExecute = [this](ui::Action&) { UndoExecute(); };
  for (ui::Action* a : {A_Cut, A_Copy, A_Paste, A_SelectAll, A_Undo, A_PreviewImage, A_SaveImgToFile})
    a->OnUpdate = [this](ui::Action& sender) { EditCommandsUpdate(sender); };
}

void TCurInsWindow::AttachPopupMenu(ui::Control& control, ui::PopupMenu& menu) {
  SetWindowSubclass(control.Handle(), PopupMenuProc, kPopupSubclassId, reinterpret_cast<DWORD_PTR>(&menu));
}

void TCurInsWindow::UsePopupImagesOf(ui::ListView* list) {
  ui::ImageList* images = list == LV_Img ? IL_Icons2 : IL_Icons1;
  PM_Edit->Images = images;
  PM_List->Images = images;
}

void TCurInsWindow::PM_EditPopup() {
  const bool pictures = ActiveList == LV_Img;
  for (ui::MenuItem* item : {MI_Undo, MI_SelectAll, MI_SelectAllSep, MI_UndoSep1, MI_UndoSep2}) item->Visible = !pictures;
  for (ui::MenuItem* item : {MI_SaveAs, MI_Preview}) item->Visible = pictures;
}

void TCurInsWindow::PM_ListPopup() {
  const bool pictures = ActiveList == LV_Img;
  MI_RichEdit->Visible = !pictures;
  for (ui::MenuItem* item : {MI_SaveAs1, MI_PM_List_Sep2, MI_Preview1, MI_PM_List_Sep3}) item->Visible = pictures;
}

// ---- capture

void TCurInsWindow::TakeFromClipboard(ui::Action* sender, bool secondPass) {
  if (A_SetBarPos->Tag != 0 || ExtendedEditorOpen()) return;
  if (sender && sender->ActionComponent && sender->ActionComponent == MI_AddTextRecord) MI_NewRecord->Tag = 1;
  if (sender && sender->ActionComponent && sender->ActionComponent == MI_AddPictureRecord) MI_NewRecord->Tag = 2;
  const std::intptr_t kind = MI_NewRecord->Tag;
  ui::ListView* list = nullptr;
  if (kind == 1 || (kind == 0 && ClipboardHasText()))
    list = LV_Text;
  else if (kind == 2 || (kind == 0 && ClipboardHasPicture()))
    list = LV_Img;
  else
    return;

  if (!secondPass) {
    if (ActiveList == list) {
      PendingAction = idle::kTakeFrom;
    } else {
      // The requested kind stays in the tag across the refill of the other list.
      PendingAction = RefillStateFor(list);
      AfterRefillAction = idle::kTakeFrom;
    }
    idle::IdleStep(*this, *this);
    return;
  }

  MI_NewRecord->Tag = 0;
  if (A_SwWindowOnCursor->Checked())
    A_ShowExecute(nullptr);
  else
    A_ShowExecute(A_Show);
  A_Add->ActionComponent = nullptr;
  A_Add->Execute();
  // Gives the editor time to settle before the paste.
  Sleep(100);
  PasteExecute();
  if (ActiveList == LV_Text) {
    if (ActiveTextEditor) {
      SendMessageW(ActiveTextEditor->Handle(), EM_SETSEL, 0, 0);
      if (ActiveTextEditor->CanFocus()) ActiveTextEditor->SetFocus();
    }
  } else if (IDB_Img->CanFocus()) {
    IDB_Img->SetFocus();
  }
}

// ---- clipboard commands

void TCurInsWindow::EditCommandsUpdate(ui::Action& sender) {
  try {
    const bool textShowing = ActiveTextEditor && ActiveTextEditor->CanFocus();
    const bool pictureShowing = IDB_Img->CanFocus();
    const bool pictures = ActiveList == LV_Img;
    const bool previewOrSaveAs = &sender == A_PreviewImage || &sender == A_SaveImgToFile;
    if (!textShowing && !pictureShowing) {
      sender.SetEnabled(previewOrSaveAs && pictures && LV_Img->SelectedIndex() >= 0);
      return;
    }
    if (previewOrSaveAs) {
      sender.SetEnabled(pictures && !EditPicture.Empty());
      return;
    }
    // The comment field keeps its own clipboard keys: Ctrl+X there cuts comment text, it must not
    // cut the picture (and with it delete the record).
    if (E_ImgComment->Focused()) {
      sender.SetEnabled(false);
      return;
    }
    const HWND editor = ActiveTextEditor ? ActiveTextEditor->Handle() : nullptr;
    bool enabled = false;
    if (&sender == A_Undo) {
      enabled = editor && SendMessageW(editor, EM_CANUNDO, 0, 0) != 0;
    } else if (&sender == A_SelectAll) {
      enabled = !pictures && editor && GetWindowTextLengthW(editor) > 0;
    } else if (&sender == A_Copy || &sender == A_Cut) {
      if (pictures) {
        enabled = !EditPicture.Empty();
      } else if (editor) {
        CHARRANGE selection{};
        SendMessageW(editor, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
        enabled = selection.cpMax > selection.cpMin;
      }
    } else if (&sender == A_Paste) {
      enabled = pictures ? ClipboardHasPicture() : ClipboardHasText();
    }
    sender.SetEnabled(enabled);
  } catch (...) {
    sender.SetEnabled(true);
  }
}

void TCurInsWindow::PasteExecute() {
  try {
    if (ActiveList == LV_Text) {
      if (ActiveTextEditor && ActiveTextEditor->CanFocus() && CountClipboardFormats() > 0)
        SendMessageW(ActiveTextEditor->Handle(), WM_PASTE, 0, 0);
    } else if (ActiveList == LV_Img) {
      if (IDB_Img->CanFocus() && CountClipboardFormats() > 0 && IsClipboardFormatAvailable(CF_BITMAP)) {
        ui::Bitmap pasted;
        if (records::OpenClipboardFor(hwnd_)) {
          try {
            if (HANDLE bitmap = GetClipboardData(CF_BITMAP)) pasted.AssignHandle(static_cast<HBITMAP>(bitmap));
          } catch (...) {
            CloseClipboard();
            throw;
          }
          CloseClipboard();
        }
        if (!pasted.Empty()) {
          EditPicture = std::move(pasted);
          EditPicture.SetModified(true);
          ShowEditPicture();
        }
      }
    }
  } catch (...) {
    // A clipboard that cannot be read leaves the editor as it was.
  }
  ui::Application::Instance().ProcessMessages();
}

void TCurInsWindow::CopyExecute() {
  try {
    if (ActiveList == LV_Text) {
      // A plain copy: it leaves the text, its undo history and its modified flag alone, so typing
      // that has not been saved yet can still be saved afterwards.
      if (ActiveTextEditor && ActiveTextEditor->CanFocus()) CopyTextSelection(ActiveTextEditor->Handle());
    } else if (ActiveList == LV_Img) {
      if (IDB_Img->CanFocus() && !EditPicture.Empty()) records::PutPictureOnClipboard(hwnd_, EditPicture);
    }
  } catch (...) {
  }
}

void TCurInsWindow::CutExecute() {
  try {
    if (ActiveList == LV_Text) {
      if (ActiveTextEditor && ActiveTextEditor->CanFocus()) {
        ActiveTextEditor->SetFocus();
        // Removed only once it is on the clipboard; the removal can be undone.
        if (CopyTextSelection(ActiveTextEditor->Handle()))
          SendMessageW(ActiveTextEditor->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
      }
      return;
    }
    if (ActiveList != LV_Img || !IDB_Img->CanFocus()) return;
    IDB_Img->SetFocus();
    // Nothing is cut that did not reach the clipboard.
    if (!EditPicture.Empty() && !records::PutPictureOnClipboard(hwnd_, EditPicture)) return;
    EditPicture = ui::Bitmap();
    EditPicture.SetModified(false);
    ShowEditPicture();
    IDB_Img->SetHint(L"");
    // The picture of a stored record is gone, so the record goes too. A picture being added has
    // no record yet: the editor stays open on an empty new record and the list is left alone
    // (its selected item is some other record).
    const std::int64_t open = AllDb ? AllDb->CurrentRecordId : 0;
    if (open != 0 && SelectedRecordId(LV_Img) == static_cast<std::uint32_t>(open)) DeleteExecute();
  } catch (...) {
  }
}

void TCurInsWindow::SelectAllExecute() {
  try {
    if (ActiveList == LV_Text && ActiveTextEditor && ActiveTextEditor->CanFocus())
      SendMessageW(ActiveTextEditor->Handle(), EM_SETSEL, 0, -1);
  } catch (...) {
  }
}

void TCurInsWindow::UndoExecute() {
  try {
    if (ActiveList != LV_Text || !ActiveTextEditor || !ActiveTextEditor->CanFocus()) return;
    if (SendMessageW(ActiveTextEditor->Handle(), EM_CANUNDO, 0, 0)) SendMessageW(ActiveTextEditor->Handle(), WM_UNDO, 0, 0);
  } catch (...) {
  }
}

// Editing clips in the main window: the switch between a panel's list and its editor, Add,
// Edit, Save, Delete, Cancel and Refresh, and their enabling rules. Save and Delete run in two
// phases: the first changes the store and asks for a refill, the second (from the idle machine,
// after the refill) selects the item the list's Tag names.
#include "main/CurInsWindow.h"

#include <commctrl.h>
#include <richedit.h>

#include <string>

#include "editor/ExtendEdit.h"
#include "lang/LangPARAM.h"
#include "records/Image_procs.h"
#include "records/RichText.h"
#include "shared/Protocol.h"
#include "shared/TextCodec.h"
#include "store/Database.h"
#include "ui/Application.h"

namespace {

DWORD CALLBACK CollectRtf(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* written) {
  reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(count));
  *written = count;
  return 0;
}

// The editor's content as an RTF document.
ui::MemoryStream RichTextOf(HWND edit) {
  std::string rtf;
  EDITSTREAM es{};
  es.dwCookie = reinterpret_cast<DWORD_PTR>(&rtf);
  es.pfnCallback = CollectRtf;
  SendMessageW(edit, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&es));
  return ui::MemoryStream(rtf);
}

// There is no numbered message for a write the store refused, so this one is English only.
constexpr wchar_t kNotSavedText[] = L"The clip was not saved: the storage file could not be written.";

// Re-enables the panel group however Save ends.
struct EnableOnExit {
  ui::Control* control;
  ~EnableOnExit() { control->SetEnabled(true); }
};

}  // namespace

void TCurInsWindow::BindEditingActions() {
  auto always = [](ui::Action& a) { a.SetEnabled(true); };
  A_Add->OnUpdate = always;
  A_Refresh->OnUpdate = always;
  A_Cancel->OnUpdate = always;
  auto selected = [this] { return ActiveList && ActiveList->SelectedIndex() >= 0; };
  A_Edit->OnUpdate = [this, selected](ui::Action& a) { a.SetEnabled(!ExtendedEditorOpen() && selected()); };
  A_ExpandEdit->OnUpdate = A_Edit->OnUpdate;
  A_VurivuZu->OnUpdate = [selected](ui::Action& a) { a.SetEnabled(selected()); };
  A_Delete->OnUpdate = A_VurivuZu->OnUpdate;
  A_Save->OnUpdate = [this](ui::Action& a) {
    if (ActiveList == LV_Img)
      a.SetEnabled(E_ImgComment->Modified() || EditPicture.Modified());
    else
      a.SetEnabled(ActiveTextEditor && ActiveTextEditor->Modified());
  };

  A_Add->OnExecute = [this](ui::Action& a) { AddEditExecute(a); };
  A_Edit->OnExecute = [this](ui::Action& a) { AddEditExecute(a); };
  A_Save->OnExecute = [this](ui::Action&) { SaveExecute(); };
  A_Delete->OnExecute = [this](ui::Action&) { DeleteExecute(); };
  A_Cancel->OnExecute = [this](ui::Action&) { CancelExecute(); };
  A_Refresh->OnExecute = [this](ui::Action&) { RefreshExecute(); };
}

void TCurInsWindow::SetEditMode(ui::ListView* list, bool on) {
  if (list == LV_Text) {
    LV_Text->SetVisible(!on);
    TB_TextView->SetVisible(!on);
    if (ActiveTextEditor) ActiveTextEditor->SetVisible(on);
    TB_TextEdit->SetVisible(on);
  } else if (list == LV_Img) {
    LV_Img->SetVisible(!on);
    TB_ImgView->SetVisible(!on);
    IDB_Img->SetVisible(on);
    TB_ImgEdit->SetVisible(on);
  } else {
    return;
  }
  UsePopupImagesOf(list);
  E_ImgComment->SetVisible(false);
  A_AddImgComment->Tag = 0;
}

void TCurInsWindow::SetActiveTextEditor(ui::RichEdit* editor) {
  if (ActiveTextEditor) ActiveTextEditor->SetEnabled(false);
  if (ExtendEdit && editor && editor == ExtendEdit->REDB_Text)
    ActiveTextEditor = ExtendEdit->REDB_Text;
  else
    ActiveTextEditor = AREDB_Text;
  ActiveTextEditor->SetEnabled(true);
}

std::int64_t TCurInsWindow::SelectedRecordId(ui::ListView* list) const {
  if (!list) return 0;
  const int index = list->SelectedIndex();
  if (index < 0) return 0;
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  if (!ListView_GetItem(list->Handle(), &item)) return 0;
  // The data slot holds the id as 32 bits; the upper half reads back as 0.
  return static_cast<std::uint32_t>(item.lParam);
}

void TCurInsWindow::ShowEditPicture() {
  HBITMAP copy = nullptr;
  if (!EditPicture.Empty() && EditPicture.Handle())
    copy = static_cast<HBITMAP>(CopyImage(EditPicture.Handle(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  IDB_Img->SetBitmap(copy);
}

void TCurInsWindow::InformUser(const std::wstring& text, const std::wstring& caption, UINT icon) {
  if (Inform) {
    Inform(text, caption, icon);
    return;
  }
  MessageBoxW(hwnd_, text.c_str(), caption.c_str(), MB_OK | icon);
}

void TCurInsWindow::OnReadOnlyNotice() { InformUser(MessageText(22), MessageText(22), MB_ICONINFORMATION); }

void TCurInsWindow::AddEditExecute(ui::Action& sender) {
  if (ActiveList != LV_Text && ActiveList != LV_Img) return;
  const bool adding = &sender == A_Add;
  struct CloseOnExit {
    qstore::All_DB* db;
    ~CloseOnExit() {
      if (db && db->ActiveStore()) db->ActiveStore()->Close();
    }
  } closer{AllDb.get()};
  BindStoreForList(ActiveList);
  qstore::Base_DB* store = AllDb ? AllDb->ActiveStore() : nullptr;
  if (!ExtendedEditorOpen()) SetEditMode(ActiveList, true);
  try {
    if (ActiveList == LV_Text && adding) {
      if (ActiveTextEditor->CanFocus()) ActiveTextEditor->SetFocus();
      if (ActiveList->ItemCount() > 0) ActiveList->SelectItem(0);
      if (AllDb) AllDb->CurrentRecordId = 0;
      SetWindowTextW(ActiveTextEditor->Handle(), L"");
      ActiveTextEditor->SetModified(false);
      TTB_ExpandTextEdit->Tag = 1;
      if (ExtendedEditorOpen()) {
        ActiveTextEditor->SetVisible(true);
        SetWindowTextW(ActiveTextEditor->Handle(), L"");
        if (LV_Text->ItemCount() > 0) {
          LV_Text->SelectItem(0);
          ui::Application::Instance().ProcessMessages();
          A_Save->ActionComponent = nullptr;
          SaveExecute();
        }
      }
      if (!store) CancelExecute();
    } else if (ActiveList == LV_Text) {
      if (!store) {
        CancelExecute();
        return;
      }
      store->Open(false);
      const std::int64_t id = SelectedRecordId(LV_Text);
      SetWindowTextW(ActiveTextEditor->Handle(), L"");
      if (id == 0) {
        // An item without a record id comes from a pass that could not read everything: mark
        // the list too, else the refill would find nothing to do.
        CancelExecute();
        SetListNeedUpdate(ActiveList, true);
        PendingAction = RefillStateFor(ActiveList);
        return;
      }
      qstore::SINGLE_DATA_REC record(false);
      if (store->Read(record, false, id)) records::LoadRichText(ActiveTextEditor->Handle(), record.Body.View());
      if (AllDb) AllDb->CurrentRecordId = id;
      ActiveTextEditor->SetModified(false);
      if (ActiveTextEditor->CanFocus()) ActiveTextEditor->SetFocus();
    } else if (adding) {
      if (IDB_Img->CanFocus()) IDB_Img->SetFocus();
      if (AllDb) AllDb->CurrentRecordId = 0;
      SetWindowTextW(E_ImgComment->Handle(), L"");
      E_ImgComment->SetModified(false);
      if (store) {
        EditPicture = ui::Bitmap();
        EditPicture.SetModified(false);
        ShowEditPicture();
        IDB_Img->SetHint(L"");
      } else {
        CancelExecute();
      }
    } else {
      if (!store) {
        CancelExecute();
        return;
      }
      store->Open(false);
      const std::int64_t id = SelectedRecordId(LV_Img);
      if (id == 0) {
        // An item without a record id comes from a pass that could not read everything: mark
        // the list too, else the refill would find nothing to do.
        CancelExecute();
        SetListNeedUpdate(ActiveList, true);
        PendingAction = RefillStateFor(ActiveList);
        return;
      }
      qstore::SINGLE_DATA_REC record(true);
      if (store->Read(record, true, id) && record.Picture) {
        EditPicture = ui::Bitmap();
        EditPicture.Assign(*record.Picture);
        EditPicture.SetModified(false);
        ShowEditPicture();
        IDB_Img->SetHint(record.SizeText);
        SetWindowTextW(E_ImgComment->Handle(), qstore::CommentText(record.Body).c_str());
        E_ImgComment->SetModified(false);
        SendMessageW(E_ImgComment->Handle(), EM_SETSEL, 0, 0);
      }
      if (AllDb) AllDb->CurrentRecordId = id;
      if (IDB_Img->CanFocus()) IDB_Img->SetFocus();
    }
  } catch (...) {
    // A store that cannot be read leaves the editor as it is; the list shows the real content.
  }
}

void TCurInsWindow::SaveFollowUp() {
  if (ActiveList != LV_Text && ActiveList != LV_Img) return;
  const int tag = static_cast<int>(ActiveList->Tag);
  if (tag >= 0 && tag < ActiveList->ItemCount()) {
    ActiveList->SelectItem(tag);
    ActiveList->Tag = -1;
  }
  if (ExtendedEditorOpen()) {
    ActiveTextEditor->SetVisible(true);
    A_Edit->ActionComponent = nullptr;
    AddEditExecute(*A_Edit);
  }
}

void TCurInsWindow::SaveExecute() {
  if ((ActiveList != LV_Text && ActiveList != LV_Img) || !AllDb || !AllDb->ActiveStore()) return;
  if (PendingAction == idle::kSaveFollowUp) {
    SaveFollowUp();
    return;
  }
  if (AllDb->ActiveStore()->ReadOnly(false, false)) {
    SendMessageW(hwnd_, qbar::QBM_READ_ONLY, 0, 0);
    return;
  }
  CPG_Main->SetEnabled(false);
  EnableOnExit enable{CPG_Main};
  bool written = true;
  try {
    BindStoreForList(ActiveList);
    qstore::Base_DB* store = AllDb->ActiveStore();
    store->Open(false);
    const std::int64_t id = AllDb->CurrentRecordId == 0 ? -1 : AllDb->CurrentRecordId;
    if (ActiveList == LV_Text) {
      ActiveTextEditor->Repaint();
      ui::MemoryStream body = RichTextOf(ActiveTextEditor->Handle());
      written = store->Write(body, L"", id, nullptr, nullptr);
    } else {
      ui::MemoryStream body = qstore::CommentBody(qtext::Trim(E_ImgComment->Caption()));
      IDB_Img->Repaint();
      if (!EditPicture.Empty()) {
        ui::Bitmap* thumbnail = MakeRecordThumbnail(&EditPicture, EditThumbnail);
        written = thumbnail && store->Write(body, L"", id, &EditPicture, thumbnail);
      }
    }
    if (written && id == -1) ActiveList->SelectItem(-1);
  } catch (...) {
    written = false;
  }
  if (!written) {
    // Nothing reached the store: keep the editor open with its content so nothing is lost.
    if (AllDb->ActiveStore()) AllDb->ActiveStore()->Close();
    InformUser(kNotSavedText, L"Quillet", MB_ICONWARNING);
    return;
  }
  AllDb->CurrentRecordId = 0;
  const int selectedIndex = ActiveList->SelectedIndex();
  ActiveList->Tag = selectedIndex >= 0 ? selectedIndex : 0;
  AllDb->ActiveStore()->Close();
  SetListNeedUpdate(ActiveList, true);
  PendingAction = RefillStateFor(ActiveList);
  AfterRefillAction = idle::kSaveFollowUp;
}

void TCurInsWindow::DeleteFollowUp() {
  if (ActiveList != LV_Text && ActiveList != LV_Img) return;
  const int tag = static_cast<int>(ActiveList->Tag);
  if (tag >= 0 && tag < ActiveList->ItemCount()) ActiveList->SelectItem(tag);
  ActiveList->Tag = -1;
  if (ExtendedEditorOpen()) {
    ActiveTextEditor->SetVisible(true);
    A_Edit->ActionComponent = nullptr;
    AddEditExecute(*A_Edit);
  }
}

void TCurInsWindow::DeleteExecute() {
  if (ActiveList != LV_Text && ActiveList != LV_Img) return;
  if (PendingAction == idle::kDeleteFollowUp) {
    DeleteFollowUp();
    return;
  }
  try {
    BindStoreForList(ActiveList);
    if (AllDb && AllDb->ActiveStore()) {
      qstore::Base_DB* store = AllDb->ActiveStore();
      store->Open(false);
      const std::int64_t id = SelectedRecordId(ActiveList);
      if (id == 0) {
        ActiveList->Tag = -1;
      } else {
        ActiveList->Tag = std::max(ActiveList->SelectedIndex() - 1, 0);
        store->Delete(id);
      }
    }
  } catch (...) {
    // The refill that follows shows what the store really holds.
  }
  if (AllDb && AllDb->ActiveStore()) AllDb->ActiveStore()->Close();
  SetListNeedUpdate(ActiveList, true);
  PendingAction = RefillStateFor(ActiveList);
  AfterRefillAction = idle::kDeleteFollowUp;
}

void TCurInsWindow::CancelExecute() {
  try {
    if (AllDb) {
      if (AllDb->ActiveStore()) AllDb->ActiveStore()->Close();
      AllDb->CurrentRecordId = 0;
    }
  } catch (...) {
  }
  SetEditMode(ActiveList, false);
  if (ActiveList && ActiveList->CanFocus()) ActiveList->SetFocus();
}

void TCurInsWindow::RefreshExecute() {
  if (!ActiveList || !ActiveList->CanFocus()) return;
  SetListNeedUpdate(ActiveList, true);
  PendingAction = RefillStateFor(ActiveList);
}

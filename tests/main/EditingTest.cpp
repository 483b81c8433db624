// Editing clips on the real main window with real stores in a temporary folder: Add, Edit,
// Save, Delete and Cancel, the selection after the refill, the enabling of Save, and what
// happens when the store will not write.
#include "main/CurInsWindow.h"
#include "LiveWindow.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <richedit.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/ExtendEdit.h"
#include "lang/LangPARAM.h"
#include "records/RichText.h"
#include "store/Database.h"
#include "support/Desktop.h"
#include "support/TempFolder.h"
#include "ui/Application.h"

namespace {

struct Notice {
  std::wstring text, caption;
  UINT icon;
};

class Editing : public LiveWindow {
 protected:
  void SetUp() override {
    OpenWindow(dir.path());
    w->Inform = [this](const std::wstring& text, const std::wstring& caption, UINT icon) {
      notices.push_back({text, caption, icon});
    };
    Settle();
  }
  void Type(const wchar_t* text) {
    SendMessageW(w->ActiveTextEditor->Handle(), EM_SETSEL, -1, -1);
    SendMessageW(w->ActiveTextEditor->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
  }
  void AddText(const wchar_t* text) {
    ASSERT_TRUE(w->A_Add->Execute());
    Type(text);
    ASSERT_TRUE(w->A_Save->Execute());
    Settle();
  }
  std::wstring ItemText(int i) {
    wchar_t buf[256] = {};
    ListView_GetItemText(w->LV_Text->Handle(), i, 0, buf, 255);
    return buf;
  }
  std::wstring EditorText() { return records::PlainText(w->AREDB_Text->Handle()); }
  bool Editing_() const { return w->AREDB_Text->Visible() && !w->LV_Text->Visible(); }

  testsupport::TempFolder dir{L"edit"};
  std::vector<Notice> notices;
};

TEST_F(Editing, SavingANewRecordSelectsItemZeroAndAnEditedRecordKeepsItsIndex) {
  for (const wchar_t* t : {L"one", L"two", L"three"}) {
    AddText(t);
    EXPECT_EQ(w->LV_Text->SelectedIndex(), 0) << t;
    EXPECT_EQ(ItemText(0), t);
    EXPECT_FALSE(w->AREDB_Text->Visible()) << "the refill leaves the editor hidden";
    EXPECT_TRUE(w->LV_Text->Visible());
  }
  ASSERT_EQ(w->LV_Text->ItemCount(), 3);

  w->LV_Text->SelectItem(1);
  ASSERT_TRUE(w->A_Edit->Execute());
  EXPECT_TRUE(Editing_());
  EXPECT_EQ(EditorText(), L"two");
  w->A_Save->Update();
  EXPECT_FALSE(w->A_Save->Enabled()) << "loading a record is no modification";
  Type(L" more");
  w->A_Save->Update();
  EXPECT_TRUE(w->A_Save->Enabled());
  ASSERT_TRUE(w->A_Save->Execute());
  Settle();
  EXPECT_EQ(w->LV_Text->ItemCount(), 3);
  EXPECT_EQ(w->LV_Text->SelectedIndex(), 1);
  EXPECT_EQ(ItemText(1), L"two more");
  EXPECT_TRUE(notices.empty());
}

TEST_F(Editing, DeletingSelectsTheItemBeforeTheDeletedOne) {
  for (const wchar_t* t : {L"a", L"b", L"c", L"d"}) AddText(t);  // list: d c b a
  struct Step {
    int select;
    int expectedSelected;
    const wchar_t* expectedItem0;
  };
  const Step steps[] = {{0, 0, L"c"}, {2, 1, L"c"}, {1, 0, L"c"}, {0, -1, L""}};
  int count = 4;
  for (const Step& s : steps) {
    w->LV_Text->SelectItem(s.select);
    ASSERT_TRUE(w->A_Delete->Execute());
    Settle();
    --count;
    EXPECT_EQ(w->LV_Text->ItemCount(), count);
    EXPECT_EQ(w->LV_Text->SelectedIndex(), s.expectedSelected) << "deleting item " << s.select;
    if (count) {
      EXPECT_EQ(ItemText(0), s.expectedItem0);
    }
  }
  w->A_Delete->Update();
  EXPECT_FALSE(w->A_Delete->Enabled());
  w->A_Edit->Update();
  EXPECT_FALSE(w->A_Edit->Enabled());
}

TEST_F(Editing, CancelDiscardsTypingWithoutAQuestion) {
  AddText(L"kept");
  ASSERT_TRUE(w->A_Edit->Execute());
  Type(L" typed");
  ASSERT_TRUE(w->A_Cancel->Execute());
  EXPECT_FALSE(Editing_());
  EXPECT_TRUE(w->LV_Text->Visible());
  Settle();
  ASSERT_TRUE(w->A_Edit->Execute());
  EXPECT_EQ(EditorText(), L"kept");
  EXPECT_TRUE(notices.empty());
}

TEST_F(Editing, ReadOnlyStoreShowsTheNoticeAndKeepsTheEditorOpen) {
  AddText(L"first");
  ASSERT_TRUE(w->A_Add->Execute());
  Type(L"unsaved");
  w->AllDb->TextDb.ReadOnly(true, true);
  ASSERT_TRUE(w->A_Save->Execute());
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].text, MessageText(22));
  EXPECT_EQ(notices[0].caption, MessageText(22));
  EXPECT_EQ(notices[0].icon, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_TRUE(Editing_());
  EXPECT_EQ(EditorText(), L"unsaved");
  EXPECT_EQ(w->PendingAction, idle::kSteady);
  EXPECT_TRUE(w->CPG_Main->Enabled());
}

TEST_F(Editing, AWriteTheStoreRefusesKeepsTheEditorAndSaysTheClipWasNotSaved) {
  AddText(L"first");
  // Another program holds the file without sharing it: the store cannot open it to write.
  const std::wstring file = dir / L"text.qdb";
  HANDLE locked = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(w->A_Add->Execute());
  Type(L"precious");
  ASSERT_TRUE(w->A_Save->Execute());
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].text.find(L"not saved"), std::wstring::npos);
  EXPECT_EQ(notices[0].icon, static_cast<UINT>(MB_ICONWARNING));
  EXPECT_TRUE(Editing_());
  EXPECT_EQ(EditorText(), L"precious");
  EXPECT_EQ(w->PendingAction, idle::kSteady) << "no refill as if it had been saved";
  EXPECT_TRUE(w->CPG_Main->Enabled());

  // Once the file can be written again, the same Save stores the clip.
  CloseHandle(locked);
  ASSERT_TRUE(w->A_Save->Execute());
  Settle();
  EXPECT_EQ(w->LV_Text->ItemCount(), 2);
  EXPECT_EQ(ItemText(0), L"precious");
  EXPECT_EQ(w->LV_Text->SelectedIndex(), 0);
}

TEST_F(Editing, EditModeSwapsListAndEditorAndRefreshOnlyActsInViewMode) {
  w->A_ShowExecute(w->A_Show);
  ASSERT_TRUE(w->A_Add->Execute());
  EXPECT_TRUE(w->TB_TextEdit->Visible());
  EXPECT_FALSE(w->TB_TextView->Visible());
  w->PendingAction = idle::kSteady;
  ASSERT_TRUE(w->A_Refresh->Execute());
  EXPECT_EQ(w->PendingAction, idle::kSteady) << "the list cannot take the focus while editing";
  ASSERT_TRUE(w->A_Cancel->Execute());
  EXPECT_TRUE(w->TB_TextView->Visible());
  EXPECT_FALSE(w->TB_TextEdit->Visible());
  ASSERT_TRUE(w->A_Refresh->Execute());
  EXPECT_EQ(w->PendingAction, idle::kRefillText);
  EXPECT_TRUE(w->LV_Text->NeedUpdate);
}

TEST_F(Editing, AddWithTheExtendedEditorOpenStoresAnEmptyRecordAndOpensItThere) {
  AddText(L"first");
  // Open the extended editor as its Edit+ button leaves things: button down, window tagged, its
  // rich edit the active editor. The text panel stays in view mode.
  w->TTB_ExpandTextEdit->SetDown(true);
  w->ExtendEdit->Tag = 1;
  w->SetActiveTextEditor(w->ExtendEdit->REDB_Text);
  ui::RichEdit* extended = w->ExtendEdit->REDB_Text;
  ASSERT_EQ(w->ActiveTextEditor, extended);

  ASSERT_TRUE(w->A_Add->Execute());
  Settle();
  ASSERT_EQ(w->LV_Text->ItemCount(), 2) << "the new, empty text is stored at once";
  EXPECT_EQ(ItemText(0), L"");
  EXPECT_EQ(ItemText(1), L"first");
  EXPECT_EQ(w->LV_Text->SelectedIndex(), 0);
  EXPECT_TRUE(w->LV_Text->Visible());
  EXPECT_FALSE(w->AREDB_Text->Visible());
  EXPECT_TRUE(extended->Visible());
  ASSERT_NE(w->AllDb->CurrentRecordId, 0) << "the stored record is open in the extended editor";
  EXPECT_EQ(w->AllDb->CurrentRecordId, w->SelectedRecordId(w->LV_Text));
  EXPECT_EQ(records::PlainText(extended->Handle()), L"");

  // Typing there and saving overwrites that record rather than adding another.
  Type(L"second");
  ASSERT_TRUE(w->A_Save->Execute());
  Settle();
  ASSERT_EQ(w->LV_Text->ItemCount(), 2);
  EXPECT_EQ(ItemText(0), L"second");
  EXPECT_EQ(w->LV_Text->SelectedIndex(), 0);
  EXPECT_EQ(records::PlainText(extended->Handle()), L"second") << "phase 2 reloads it into the extended editor";
  EXPECT_TRUE(notices.empty());
}

// An item can be left without its record id by a pass that could not read every record.
void ForgetItemId(ui::ListView* list, int index) {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  item.lParam = 0;
  ASSERT_TRUE(ListView_SetItem(list->Handle(), &item));
}

TEST_F(Editing, EditOnAnItemWithoutIdCancelsAndRefillsTheList) {
  AddText(L"one");
  AddText(L"two");
  const std::int64_t id = w->SelectedRecordId(w->LV_Text);
  ASSERT_NE(id, 0);
  ForgetItemId(w->LV_Text, 0);
  w->LV_Text->SelectItem(0);
  ASSERT_TRUE(w->A_Edit->Execute());
  EXPECT_FALSE(Editing_());
  EXPECT_EQ(w->PendingAction, idle::kRefillText);
  Settle();
  ASSERT_EQ(w->LV_Text->ItemCount(), 2);
  w->LV_Text->SelectItem(0);
  EXPECT_EQ(w->SelectedRecordId(w->LV_Text), id) << "the refill gave the item its id back";
  ASSERT_TRUE(w->A_Edit->Execute());
  EXPECT_EQ(EditorText(), L"two");
}

TEST_F(Editing, AnEarlierRefillPassArrivingAfterSaveLeavesTheFollowUpToTheSavesRefill) {
  AddText(L"one");
  ASSERT_TRUE(w->A_Add->Execute());
  Type(L"two");
  ASSERT_TRUE(w->A_Save->Execute());
  ASSERT_EQ(w->PendingAction, idle::kRefillText);
  // The worker owed a pass from before the save; it arrives before the idle machine has started
  // the refill the save asked for.
  w->Refill();
  EXPECT_EQ(w->PendingAction, idle::kRefillText);
  EXPECT_EQ(w->AfterRefillAction, idle::kSaveFollowUp);
  Settle();
  EXPECT_FALSE(Editing_()) << "the save's own refill ran and left edit mode";
  EXPECT_EQ(ItemText(0), L"two");
  EXPECT_EQ(w->LV_Text->SelectedIndex(), 0);
}

}  // namespace

namespace {

class PictureEditing : public Editing {
 protected:
  void SetUp() override {
    Editing::SetUp();
    w->CP_Text->Collapse();  // opens the picture panel and refills its list
    Settle();
    ASSERT_EQ(w->ActiveList, w->LV_Img);
  }
  // Starts a new picture record the way a paste would leave it: a modified picture and comment.
  void NewPicture(int width, int height, const wchar_t* comment) {
    ASSERT_TRUE(w->A_Add->Execute());
    if (width) {
      w->EditPicture = ui::Bitmap(width, height);
      w->EditPicture.SetModified(true);
      w->ShowEditPicture();
    }
    SetWindowTextW(w->E_ImgComment->Handle(), comment);
    w->E_ImgComment->SetModified(true);
  }
  std::vector<std::wstring> StoredSizes() {
    std::vector<std::wstring> sizes;
    qstore::Img_DB& db = w->AllDb->ImgDb;
    db.Open(false);
    std::vector<std::int64_t> ids;
    db.GetIds(ids);
    for (std::int64_t id : ids) {
      qstore::SINGLE_DATA_REC r(true);
      if (db.Read(r, false, id)) sizes.push_back(r.SizeText);
    }
    db.Close();
    return sizes;
  }
};

TEST_F(PictureEditing, SavedPicturesGetAThumbnailAndEditingLoadsThemUnmodified) {
  NewPicture(64, 40, L"  first  ");
  w->A_Save->Update();
  EXPECT_TRUE(w->A_Save->Enabled());
  ASSERT_TRUE(w->A_Save->Execute());
  Settle();
  ASSERT_EQ(w->LV_Img->ItemCount(), 1);
  EXPECT_EQ(w->LV_Img->SelectedIndex(), 0);
  EXPECT_EQ(StoredSizes(), std::vector<std::wstring>{L"64x40\nfirst"});

  ASSERT_TRUE(w->A_Edit->Execute());
  EXPECT_TRUE(w->IDB_Img->Visible());
  EXPECT_EQ(w->E_ImgComment->Caption(), L"first");
  EXPECT_EQ(w->EditPicture.Width(), 64);
  EXPECT_EQ(w->IDB_Img->Hint(), L"64x40\nfirst");
  w->A_Save->Update();
  EXPECT_FALSE(w->A_Save->Enabled()) << "loading clears the picture's and the comment's modified flags";

  // A new picture started while one is open is a new record; the open one stays as it was.
  NewPicture(20, 30, L"second");
  ASSERT_TRUE(w->A_Save->Execute());
  Settle();
  EXPECT_EQ(w->LV_Img->ItemCount(), 2);
  EXPECT_EQ(StoredSizes(), (std::vector<std::wstring>{L"64x40\nfirst", L"20x30\nsecond"}));
}

TEST_F(PictureEditing, AnEmptyPictureIsNeverWrittenAndSaveOnlyClosesTheEditor) {
  NewPicture(0, 0, L"comment only");
  ASSERT_TRUE(w->A_Save->Execute());
  Settle();
  EXPECT_EQ(w->LV_Img->ItemCount(), 0);
  EXPECT_TRUE(StoredSizes().empty());
  EXPECT_FALSE(w->IDB_Img->Visible());
  EXPECT_TRUE(w->LV_Img->Visible());
  EXPECT_TRUE(notices.empty());
}

TEST_F(PictureEditing, EditOnAPictureWithoutIdCancelsAndRefillsTheList) {
  NewPicture(16, 16, L"");
  ASSERT_TRUE(w->A_Save->Execute());
  Settle();
  const std::int64_t id = w->SelectedRecordId(w->LV_Img);
  ASSERT_NE(id, 0);
  ForgetItemId(w->LV_Img, 0);
  ASSERT_TRUE(w->A_Edit->Execute());
  EXPECT_FALSE(w->IDB_Img->Visible());
  EXPECT_TRUE(w->LV_Img->Visible());
  Settle();
  w->LV_Img->SelectItem(0);
  EXPECT_EQ(w->SelectedRecordId(w->LV_Img), id);
}

}  // namespace

// Taking the clipboard into a new record and the editors' clipboard commands, on the real main
// window with real stores in a temporary folder and the real clipboard.
#include "main/CurInsWindow.h"
#include "LiveWindow.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <richedit.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/ExtendEdit.h"
#include "records/RichText.h"
#include "store/Database.h"
#include "support/Desktop.h"
#include "support/TempFolder.h"
#include "ui/Application.h"

namespace {

class Capture : public LiveWindow {
 protected:
  void SetUp() override {
    OpenWindow(dir.path());
    w->Inform = [](const std::wstring&, const std::wstring&, UINT) {};
    Settle();
  }
  void OpenPicturePanel() {
    w->CP_Text->Collapse();
    Settle();
    ASSERT_EQ(w->ActiveList, w->LV_Img);
  }

  // Replaces the clipboard's content: Unicode text and/or a device bitmap of the given size.
  void PutOnClipboard(const wchar_t* text, int width = 0, int height = 0) {
    ASSERT_TRUE(testsupport::WaitUntil([&] { return OpenClipboard(w->Handle()) != FALSE; }));
    EmptyClipboard();
    if (text) {
      const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
      HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
      memcpy(GlobalLock(memory), text, bytes);
      GlobalUnlock(memory);
      SetClipboardData(CF_UNICODETEXT, memory);
    }
    if (width) {
      HDC screen = GetDC(nullptr);
      HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
      ReleaseDC(nullptr, screen);
      SetClipboardData(CF_BITMAP, bitmap);
    }
    CloseClipboard();
  }
  std::wstring ClipboardText() {
    std::wstring text;
    if (!OpenClipboard(w->Handle())) return L"<clipboard busy>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      text = static_cast<const wchar_t*>(GlobalLock(data));
      GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
  }
  SIZE ClipboardBitmapSize() {
    SIZE size{};
    if (!OpenClipboard(w->Handle())) return size;
    BITMAP info{};
    if (HANDLE data = GetClipboardData(CF_BITMAP); data && GetObjectW(data, sizeof info, &info))
      size = {info.bmWidth, info.bmHeight};
    CloseClipboard();
    return size;
  }

  void Type(const wchar_t* text) {
    SendMessageW(w->ActiveTextEditor->Handle(), EM_SETSEL, -1, -1);
    SendMessageW(w->ActiveTextEditor->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
  }
  std::wstring EditorText() { return records::PlainText(w->AREDB_Text->Handle()); }
  bool Enabled(ui::Action* a) {
    a->Update();
    return a->Enabled();
  }
  void StorePicture(int width, int height) {
    ASSERT_TRUE(w->A_Add->Execute());
    w->EditPicture = ui::Bitmap(width, height);
    w->EditPicture.SetModified(true);
    w->ShowEditPicture();
    ASSERT_TRUE(w->A_Save->Execute());
    Settle();
  }
  std::vector<std::wstring> StoredPictureSizes() {
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

  testsupport::TempFolder dir{L"capture"};
};

enum class Via { NewRecord, TrayText, TrayPicture };

void StartCapture(TCurInsWindow* w, Via via) {
  switch (via) {
    case Via::NewRecord:
      w->A_TakeFrom->ActionComponent = nullptr;
      w->A_TakeFrom->Execute();
      break;
    case Via::TrayText:
      w->MI_AddTextRecord->Click();
      break;
    case Via::TrayPicture:
      w->MI_AddPictureRecord->Click();
      break;
  }
}

TEST_F(Capture, ANewRecordOpensInTheEditorOfTheKindTakenWithTheClipboardPastedIn) {
  struct Case {
    const char* name;
    bool startOnPictures;
    const wchar_t* text;
    int bitmapWidth, bitmapHeight;
    Via via;
    bool expectPictures;
  };
  const Case cases[] = {
      {"text while the picture panel is open", true, L"captured words", 0, 0, Via::NewRecord, false},
      {"text and a bitmap: text wins", false, L"both kinds", 30, 20, Via::NewRecord, false},
      {"the tray's Picture takes the bitmap beside text", true, L"ignored", 30, 20, Via::TrayPicture, true},
      {"a bitmap while the text panel is open", false, nullptr, 24, 12, Via::NewRecord, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.startOnPictures) {
      OpenPicturePanel();
    } else if (w->ActiveList != w->LV_Text) {
      w->CP_Img->Collapse();
      Settle();
    }
    if (c.startOnPictures && !c.expectPictures) {
      // A text clip stored meanwhile: the text list must show it when the capture opens that panel.
      qstore::Text_DB& text = w->AllDb->TextDb;
      text.Open(false);
      ui::MemoryStream body(std::string_view("{\\rtf1 stored meanwhile}"));
      ASSERT_TRUE(text.Write(body, L"", -1, nullptr, nullptr));
      text.Close();
      w->LV_Text->NeedUpdate = true;
    }
    PutOnClipboard(c.text, c.bitmapWidth, c.bitmapHeight);
    StartCapture(w, c.via);
    Settle();

    EXPECT_EQ(w->Tag, 1) << "the window is shown";
    EXPECT_EQ(w->MI_NewRecord->Tag, 0);
    EXPECT_EQ(w->AllDb->CurrentRecordId, 0) << "a new record, not stored yet";
    EXPECT_TRUE(Enabled(w->A_Save));
    if (c.expectPictures) {
      ASSERT_EQ(w->ActiveList, w->LV_Img);
      EXPECT_TRUE(w->IDB_Img->CanFocus());
      EXPECT_EQ(w->EditPicture.Width(), c.bitmapWidth);
      EXPECT_EQ(w->EditPicture.Height(), c.bitmapHeight);
    } else {
      ASSERT_EQ(w->ActiveList, w->LV_Text);
      EXPECT_TRUE(w->AREDB_Text->CanFocus());
      EXPECT_FALSE(w->LV_Text->Visible());
      EXPECT_EQ(EditorText(), c.text);
      CHARRANGE caret{-1, -1};
      SendMessageW(w->AREDB_Text->Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&caret));
      EXPECT_EQ(caret.cpMin, 0);
      EXPECT_EQ(caret.cpMax, 0);
      if (c.startOnPictures) {
        wchar_t item[64] = {};
        ListView_GetItemText(w->LV_Text->Handle(), 0, 0, item, 63);
        EXPECT_STREQ(item, L"stored meanwhile") << "the text list was refilled first";
      }
    }
    ASSERT_TRUE(w->A_Cancel->Execute());
  }
}

TEST_F(Capture, NothingHappensWithoutUsableContentOrWhileTheExtendedEditorOrBarDialogIsOpen) {
  struct Case {
    const char* name;
    const wchar_t* text;
    int bitmapWidth;
    Via via;
    bool extendedEditor, barDialog;
  };
  const Case cases[] = {
      {"empty clipboard", nullptr, 0, Via::NewRecord, false, false},
      {"text, extended editor open", L"text", 0, Via::NewRecord, true, false},
      {"tray Picture, extended editor open", nullptr, 16, Via::TrayPicture, true, false},
      {"text, bar position dialog open", L"text", 0, Via::TrayText, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PutOnClipboard(c.text, c.bitmapWidth, c.bitmapWidth);
    w->ExtendEdit->Tag = c.extendedEditor;
    w->A_SetBarPos->Tag = c.barDialog;
    StartCapture(w, c.via);
    EXPECT_EQ(w->PendingAction, idle::kSteady);
    EXPECT_EQ(w->AfterRefillAction, 0);
    Settle();
    w->ExtendEdit->Tag = w->A_SetBarPos->Tag = 0;
    EXPECT_EQ(w->Tag, 0) << "the window stays hidden";
    EXPECT_EQ(w->MI_NewRecord->Tag, 0) << "no kind is remembered";
    EXPECT_EQ(w->ActiveList, w->LV_Text);
    EXPECT_FALSE(w->AREDB_Text->Visible());
  }
}

TEST_F(Capture, CopyInTheTextEditorPutsTheSelectionOnTheClipboardAndKeepsTheTypingSaveable) {
  w->A_ShowExecute(w->A_Show);
  ASSERT_TRUE(w->A_Add->Execute());
  Type(L"hello world");
  SendMessageW(w->AREDB_Text->Handle(), EM_SETSEL, 6, 11);
  PutOnClipboard(L"older");
  ASSERT_TRUE(w->A_Copy->Execute());
  EXPECT_EQ(ClipboardText(), L"world");
  EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatW(CF_RTF))) << "as rich text too";
  EXPECT_EQ(EditorText(), L"hello world");
  EXPECT_TRUE(Enabled(w->A_Save)) << "the typing has not been saved yet";

  // Cut, Undo and Select All act on the same editor.
  ASSERT_TRUE(w->A_Cut->Execute());
  EXPECT_EQ(EditorText(), L"hello ");
  ASSERT_TRUE(w->A_Undo->Execute());
  EXPECT_EQ(EditorText(), L"hello world");
  ASSERT_TRUE(w->A_SelectAll->Execute());
  CHARRANGE all{};
  SendMessageW(w->AREDB_Text->Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&all));
  EXPECT_EQ(all.cpMin, 0);
  EXPECT_GE(all.cpMax, 11) << "the whole text (the editor counts its closing paragraph mark too)";
}

TEST_F(Capture, CutOnAStoredPictureDeletesItsRecordAndOnANewPictureDeletesNothing) {
  OpenPicturePanel();
  StorePicture(20, 10);
  StorePicture(30, 15);  // item 0
  ASSERT_EQ(w->LV_Img->ItemCount(), 2);
  w->A_ShowExecute(w->A_Show);

  // A new picture pasted in and cut again: the record selected in the list stays.
  w->LV_Img->SelectItem(0);
  ASSERT_TRUE(w->A_Add->Execute());
  PutOnClipboard(nullptr, 40, 40);
  ASSERT_TRUE(w->A_Paste->Execute());
  ASSERT_EQ(w->EditPicture.Width(), 40);
  PutOnClipboard(L"older");
  ASSERT_TRUE(w->A_Cut->Execute());
  EXPECT_EQ(ClipboardBitmapSize().cx, 40);
  EXPECT_TRUE(w->EditPicture.Empty());
  EXPECT_TRUE(w->IDB_Img->CanFocus()) << "the new record stays open, empty";
  EXPECT_FALSE(Enabled(w->A_Save));
  Settle();
  EXPECT_EQ(StoredPictureSizes().size(), 2u);

  // The picture of a stored record: copied, then the record is deleted.
  ASSERT_TRUE(w->A_Cancel->Execute());
  w->LV_Img->SelectItem(0);
  ASSERT_TRUE(w->A_Edit->Execute());
  ASSERT_TRUE(w->A_Cut->Execute());
  Settle();
  const SIZE cut = ClipboardBitmapSize();
  EXPECT_EQ(cut.cx, 30);
  EXPECT_EQ(cut.cy, 15);
  EXPECT_EQ(StoredPictureSizes(), std::vector<std::wstring>{L"20x10\n"});
  EXPECT_EQ(w->LV_Img->ItemCount(), 1);
  EXPECT_TRUE(w->LV_Img->Visible());
}

TEST_F(Capture, OnlyTheCommandsThatCanActAreEnabled) {
  const std::vector<std::pair<const char*, ui::Action*>> group = {
      {"Undo", w->A_Undo},   {"SelectAll", w->A_SelectAll}, {"Copy", w->A_Copy},       {"Cut", w->A_Cut},
      {"Paste", w->A_Paste}, {"Preview", w->A_PreviewImage}, {"SaveAs", w->A_SaveImgToFile}};
  auto enabledSet = [&] {
    std::string names;
    for (auto& [name, action] : group)
      if (Enabled(action)) names += std::string(names.empty() ? "" : " ") + name;
    return names;
  };
  ASSERT_TRUE(w->A_Add->Execute());
  Type(L"kept");
  ASSERT_TRUE(w->A_Save->Execute());
  Settle();
  w->A_ShowExecute(w->A_Show);
  w->LV_Text->SelectItem(0);
  PutOnClipboard(L"text");
  EXPECT_EQ(enabledSet(), "") << "view mode, text panel";

  ASSERT_TRUE(w->A_Add->Execute());
  EXPECT_EQ(enabledSet(), "Paste") << "a new empty text";
  Type(L"abc");
  SendMessageW(w->AREDB_Text->Handle(), EM_SETSEL, 1, 2);
  EXPECT_EQ(enabledSet(), "Undo SelectAll Copy Cut Paste") << "text with a selection";
  PutOnClipboard(nullptr, 8, 8);
  EXPECT_EQ(enabledSet(), "Undo SelectAll Copy Cut") << "no text to paste";
  ASSERT_TRUE(w->A_Cancel->Execute());

  OpenPicturePanel();
  StorePicture(12, 12);
  w->A_ShowExecute(w->A_Show);
  SendMessageW(w->AREDB_Text->Handle(), EM_EMPTYUNDOBUFFER, 0, 0);
  w->LV_Img->SelectItem(0);
  EXPECT_EQ(enabledSet(), "Preview SaveAs") << "view mode, picture panel, a selection";
  ListView_SetItemState(w->LV_Img->Handle(), -1, 0, LVIS_SELECTED);
  EXPECT_EQ(enabledSet(), "") << "view mode, picture panel, no selection";

  w->LV_Img->SelectItem(0);
  ASSERT_TRUE(w->A_Edit->Execute());
  EXPECT_EQ(enabledSet(), "Copy Cut Paste Preview SaveAs") << "a picture open, a bitmap on the clipboard";
  // The comment field keeps its own clipboard keys: Ctrl+X there must not cut the picture.
  w->E_ImgComment->SetVisible(true);
  w->E_ImgComment->SetFocus();
  ASSERT_TRUE(w->E_ImgComment->Focused());
  EXPECT_EQ(enabledSet(), "Preview SaveAs") << "the comment has the focus";
  EXPECT_FALSE(w->Actions().ExecuteShortCut(ui::MakeShortCut('X', true)));
  Settle();
  EXPECT_EQ(StoredPictureSizes().size(), 1u);
}

// The texts of a menu as the user sees them: captions without shortcuts, "-" for a separator.
std::string MenuTexts(HMENU menu) {
  std::string texts;
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    wchar_t buffer[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = buffer;
    info.cch = 127;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    std::wstring caption = (info.fType & MFT_SEPARATOR) ? L"-" : std::wstring(buffer);
    caption = caption.substr(0, caption.find(L'\t'));
    if (!texts.empty()) texts += "|";
    texts += std::string(caption.begin(), caption.end());
  }
  return texts;
}

// Catches the popup menu the main window is about to show, notes its texts and closes it.
LRESULT CALLBACK NoteMenu(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  constexpr UINT_PTR kCloseTimer = 0x4D4E;
  if (msg == WM_INITMENUPOPUP) {
    *reinterpret_cast<std::string*>(data) = MenuTexts(reinterpret_cast<HMENU>(wp));
    SetTimer(window, kCloseTimer, 10, nullptr);
  } else if (msg == WM_TIMER && wp == kCloseTimer) {
    KillTimer(window, kCloseTimer);
    EndMenu();
    return 0;
  }
  return DefSubclassProc(window, msg, wp, lp);
}

TEST_F(Capture, PopupMenusShowTheEntriesOfTheOpenPanel) {
  std::string shown;
  ASSERT_TRUE(SetWindowSubclass(w->Handle(), NoteMenu, 1, reinterpret_cast<DWORD_PTR>(&shown)));
  w->A_ShowExecute(w->A_Show);
  auto rightClick = [&](ui::Control* control) {
    shown.clear();
    RECT r{};
    GetWindowRect(control->Handle(), &r);
    SendMessageW(control->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control->Handle()),
                 MAKELPARAM(r.left + 5, r.top + 5));
    return shown;
  };
  EXPECT_EQ(rightClick(w->AREDB_Text), "Undo|-|Cut|Copy|Paste|-|Select All");
  EXPECT_EQ(rightClick(w->LV_Text), "Insert|-|Add|Edit|Delete|-|Edit+|-|Refresh");
  EXPECT_EQ(w->PM_Edit->Images, w->IL_Icons1);

  OpenPicturePanel();
  EXPECT_EQ(rightClick(w->LV_Img), "Insert|-|Add|Edit|Delete|-|Save As|-|Preview|-|Refresh");
  EXPECT_EQ(w->PM_List->Images, w->IL_Icons2);
  // The picture's menu acts on the picture, also when the comment field had the focus.
  ASSERT_TRUE(w->A_Add->Execute());
  w->E_ImgComment->SetVisible(true);
  w->E_ImgComment->SetFocus();
  EXPECT_EQ(rightClick(w->IDB_Img), "Cut|Copy|Paste|-|Save As|Preview");
  EXPECT_TRUE(w->IDB_Img->Focused());
  RemoveWindowSubclass(w->Handle(), NoteMenu, 1);
}

}  // namespace

// The main window built in the test process: its actions, tray menu, keys, panels and the first
// idle steps, checked on the real controls.
#include "main/CurInsWindow.h"
#include "LiveWindow.h"

#include "editor/ExtendEdit.h"
#include "support/Desktop.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <richedit.h>

#include <memory>

namespace {

class MainWindow : public LiveWindow {
 protected:
  void SetUp() override { OpenWindow(); }

  // Runs idle notifications as the loop would when the queue is empty.
  void Idle(int times = 1) {
    for (int i = 0; i < times; ++i) {
      ui::Application::Instance().ProcessMessages();
      w->AppEventsIdle();
    }
  }

};

TEST_F(MainWindow, ActionsCarryTheirCaptionsAndShortcuts) {
  struct Case {
    const wchar_t* name;
    const wchar_t* caption;
    const wchar_t* shortcut;
  };
  const Case cases[] = {
      {L"A_VurivuZu", L"Insert", L"Ctrl+Q"},   {L"A_TakeFrom", L"New record", L""},
      {L"A_Add", L"Add", L"Ctrl+N"},           {L"A_Edit", L"Edit", L"Ctrl+E"},
      {L"A_Delete", L"Delete", L"Ctrl+D"},     {L"A_Save", L"Save", L"Ctrl+S"},
      {L"A_Cancel", L"Cancel", L"Alt+Bksp"},   {L"A_ExpandEdit", L"Edit+", L"Ctrl+R"},
      {L"A_Refresh", L"Refresh", L"F5"},       {L"A_Cut", L"Cut", L"Ctrl+X"},
      {L"A_Copy", L"Copy", L"Ctrl+C"},         {L"A_Paste", L"Paste", L"Ctrl+V"},
      {L"A_SelectAll", L"Select All", L"Ctrl+A"}, {L"A_Undo", L"Undo", L"Ctrl+Z"},
      {L"A_PreviewImage", L"Preview", L"Ctrl+P"}, {L"A_AddImgComment", L"Comment", L"Ctrl+T"},
      {L"A_SaveImgToFile", L"Save As", L"Ctrl+G"}, {L"A_ShowHide", L"Hide", L""},
      {L"A_Show", L"Show window", L""},        {L"a_setbarvis", L"To show or hide title bar buttons", L""},
      {L"A_ClearImgDB", L"Delete all graphic records", L""}, {L"A_ExitApp", L"Exit", L""},
  };
  for (const Case& c : cases) {
    auto* a = w->Actions().FindAction(c.name);
    ASSERT_NE(a, nullptr) << c.name;
    EXPECT_EQ(a->Caption(), c.caption);
    EXPECT_EQ(ui::ShortCutText(a->GetShortCut()), c.shortcut) << c.name;
  }
}

TEST_F(MainWindow, ExitIsAlwaysEnabled) {
  w->A_ExitApp->SetEnabled(false);
  w->A_ExitApp->Update();
  EXPECT_TRUE(w->A_ExitApp->Enabled());
  EXPECT_EQ(w->LV_Text->SelectedIndex(), -1) << "nothing selected, nothing open";
}

TEST_F(MainWindow, TrayMenuBindsEveryItemAndDrawsOnlyTheTopLevel) {
  std::vector<std::wstring> top;
  for (ui::MenuItem* i : w->PM_Tray->Items().Items())
    if (i->Visible) top.push_back(i->Caption());
  EXPECT_EQ(top, (std::vector<std::wstring>{L"Show window", L"New record", L"-", L"Settings", L"-", L"Language", L"-",
                                            L"Check version", L"-", L"Show help", L"-", L"Exit"}));
  EXPECT_EQ(w->MI_AppExit->GetAction(), w->A_ExitApp);
  EXPECT_EQ(w->MI_AppExit->ImageIndex, 4);
  EXPECT_EQ(w->MI_ShowWindow->GetAction(), w->A_Show);
  EXPECT_TRUE(w->MI_NewRecord->OwnerDraw);
  EXPECT_FALSE(w->MI_AddTextRecord->OwnerDraw);
  EXPECT_EQ(w->MI_AddPictureRecord->GetAction(), w->A_AddPicture);
  ASSERT_EQ(w->MI_Language->Items().size(), 5u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(w->MI_Language->Items()[static_cast<size_t>(i)]->Tag, i);
    EXPECT_EQ(w->MI_Language->Items()[static_cast<size_t>(i)]->GetAction(), w->A_SwLang);
  }
  EXPECT_EQ(w->MI_CheckBoxes->Items().front()->GetAction(), w->A_SetBarVis);
  EXPECT_EQ(w->MI_Repository->Items().back()->GetAction(), w->A_ClearImgDB);
}

TEST_F(MainWindow, TrayItemsWidenToOnePointSixTimesTheLongestCaption) {
  w->ComputeTrayItemWidth();
  EXPECT_EQ(w->TrayItemWidth, 175) << "short English captions";
  const std::wstring longCaption = L"Nach einer neueren Programmversion suchen";
  w->A_CheckVersion->SetCaption(longCaption);
  w->ComputeTrayItemWidth();
  ui::WindowDC dc(w->Handle());
  ui::Selection font(dc.get(), w->Font());
  SIZE size{};
  GetTextExtentPoint32W(dc.get(), longCaption.c_str(), static_cast<int>(longCaption.size()), &size);
  ASSERT_GT(size.cx * 1.6, 175);
  EXPECT_EQ(w->TrayItemWidth, static_cast<int>(size.cx * 1.6));
}

TEST_F(MainWindow, RefillStateForListsAndPanels) {
  EXPECT_EQ(w->RefillStateFor(w->LV_Text), 3);
  EXPECT_EQ(w->RefillStateFor(w->CP_Text), 3);
  EXPECT_EQ(w->RefillStateFor(w->LV_Img), 4);
  EXPECT_EQ(w->RefillStateFor(w->CP_Img), 4);
  EXPECT_EQ(w->RefillStateFor(w->IB_Close), 0);
}

TEST_F(MainWindow, SecondIdleHidesAndOpensTheTextPanelThenTheRefillRuns) {
  w->A_ShowExecute(w->A_Show);  // shown before the machine starts
  Idle();
  EXPECT_EQ(w->PendingAction, idle::kHideAndOpenPanel) << "the first idle does nothing";
  EXPECT_TRUE(IsWindowVisible(w->Handle()));
  Idle();
  EXPECT_FALSE(IsWindowVisible(w->Handle()));
  EXPECT_EQ(w->Tag, 0);
  EXPECT_FALSE(w->CP_Text->Collapsed());
  EXPECT_TRUE(w->CP_Img->Collapsed());
  EXPECT_EQ(w->PendingAction, idle::kRefillText);
  Idle();
  EXPECT_EQ(w->PendingAction, idle::kSteady);
  EXPECT_EQ(w->ActiveList, w->LV_Text);
}

TEST_F(MainWindow, PanelsBehaveAsAnAccordion) {
  Idle(2);
  w->CP_Text->Collapse();  // header click on the open panel
  EXPECT_TRUE(w->CP_Text->Collapsed());
  EXPECT_FALSE(w->CP_Img->Collapsed());
  EXPECT_EQ(w->PendingAction, idle::kRefillImages);
  w->CP_Text->Expand();
  EXPECT_FALSE(w->CP_Text->Collapsed());
  EXPECT_TRUE(w->CP_Img->Collapsed());
  EXPECT_EQ(w->CP_Text->ExpandedHeight(), w->Scale(321)) << "group 345, header 18: 345 - 18 - 6";
}

TEST_F(MainWindow, ShowCentresOnTopAndTheCloseButtonHides) {
  Idle(3);
  w->A_ShowExecute(w->A_Show);
  EXPECT_EQ(w->Tag, 1);
  EXPECT_TRUE(IsWindowVisible(w->Handle()));
  EXPECT_TRUE(w->StayOnTop());
  const RECT r = w->BoundsOnScreen();
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2);
  EXPECT_TRUE(w->LV_Text->Focused() || !w->LV_Text->CanFocus());

  // A show request while the bar position dialog is open does nothing.
  w->HideWindow();
  w->A_SetBarPos->Tag = 1;
  w->A_ShowExecute(w->A_Show);
  EXPECT_EQ(w->Tag, 0);
  w->MainTrayIconMouseUp(ui::MouseButton::Left);
  EXPECT_EQ(w->Tag, 0);
  w->A_SetBarPos->Tag = 0;

  w->MainTrayIconMouseUp(ui::MouseButton::Left);
  EXPECT_EQ(w->Tag, 1);
  w->MainTrayIconMouseUp(ui::MouseButton::Right);
  EXPECT_EQ(w->Tag, 1) << "only the left button counts";
  w->IB_Close->ExecuteAction();
  EXPECT_EQ(w->Tag, 0);
  EXPECT_FALSE(IsWindowVisible(w->Handle()));
  EXPECT_FALSE(w->StayOnTop());
}

TEST_F(MainWindow, EscapeHidesInListModeAndCancelsInEditMode) {
  Idle(3);
  int cancels = 0;
  w->A_Cancel->OnExecute = [&](ui::Action&) { ++cancels; };
  w->A_ShowExecute(w->A_Show);
  cancels = 0;
  WORD key = VK_ESCAPE;
  w->FormKeyDown(key, 0);
  EXPECT_EQ(w->Tag, 0);
  EXPECT_EQ(cancels, 0);

  // Edit mode: the list gives way to the editor.
  w->A_ShowExecute(w->A_Show);
  cancels = 0;
  w->LV_Text->SetVisible(false);
  w->AREDB_Text->SetVisible(true);
  key = VK_ESCAPE;
  w->FormKeyDown(key, 0);
  EXPECT_EQ(cancels, 1);
  EXPECT_EQ(w->Tag, 1) << "the window stays";

  // Enter while the editor shows does not insert; Alt+F4 hides but leaves the key to the system.
  int inserts = 0;
  w->A_VurivuZu->OnExecute = [&](ui::Action&) { ++inserts; };
  key = VK_RETURN;
  w->FormKeyDown(key, 0);
  EXPECT_EQ(inserts, 0);
  key = VK_F4;
  w->FormKeyDown(key, ui::kAlt);
  EXPECT_EQ(key, VK_F4);
  EXPECT_EQ(w->Tag, 0);
}

TEST_F(MainWindow, EnterInsertsAndDeleteDeletesOnlyFromTheListSide) {
  Idle(3);
  int inserts = 0, deletes = 0;
  w->A_VurivuZu->OnExecute = [&](ui::Action&) { ++inserts; };
  w->A_Delete->OnExecute = [&](ui::Action&) { ++deletes; };
  // The list is empty here; the keys are what is tested, not the actions' enabling rules.
  w->A_VurivuZu->OnUpdate = w->A_Delete->OnUpdate = [](ui::Action& a) { a.SetEnabled(true); };
  w->A_ShowExecute(w->A_Show);
  WORD key = VK_RETURN;
  w->FormKeyDown(key, 0);
  key = VK_DELETE;
  w->FormKeyDown(key, 0);
  EXPECT_EQ(inserts, 1);
  EXPECT_EQ(deletes, 1);
  // Disabled actions ignore their keys.
  w->A_VurivuZu->OnUpdate = [](ui::Action& a) { a.SetEnabled(false); };
  key = VK_RETURN;
  w->FormKeyDown(key, 0);
  EXPECT_EQ(inserts, 1);
  // With the picture panel open and its comment focused, Delete leaves the text alone.
  w->CP_Img->Expand();
  w->ActiveList = w->LV_Img;
  w->E_ImgComment->SetVisible(true);
  w->E_ImgComment->SetFocus();
  key = VK_DELETE;
  w->FormKeyDown(key, 0);
  EXPECT_EQ(deletes, 1);
}

std::wstring ButtonText(ui::ToolBar* bar, ui::ToolButton* b) {
  wchar_t text[64] = {};
  SendMessageW(bar->Handle(), TB_GETBUTTONTEXTW, static_cast<WPARAM>(b->Command()), reinterpret_cast<LPARAM>(text));
  return text;
}

TEST_F(MainWindow, PanelToolBarsHoldTheirNamedButtonsCaptionedAtTheirWidths) {
  w->A_ShowExecute(w->A_Show);
  struct Bar {
    ui::ToolBar* bar;
    std::vector<const wchar_t*> names;  // separators have no caption
    std::vector<const wchar_t*> captions;
    int width;
  };
  const Bar bars[] = {
      {w->TB_TextView,
       {L"TTB_InsertText", L"TTB_TextSep", L"TTB_AddText", L"TTB_EditText", L"TTB_DeleteText"},
       {L"Insert", L"", L"Add", L"Edit", L"Delete"},
       38},
      {w->TB_ImgView,
       {L"TTB_InsertImg", L"TTB_ImgSep", L"TTB_AddImg", L"TTB_EditImg", L"TTB_DeleteImg"},
       {L"Insert", L"", L"Add", L"Edit", L"Delete"},
       38},
      {w->TB_TextEdit,
       {L"TTB_SaveTextEdit", L"TTB_CancelTextEdit", L"TTB_TextEditSep", L"TTB_ExpandTextEdit"},
       {L"Save", L"Cancel", L"", L"Edit+"},
       39},
      {w->TB_ImgEdit,
       {L"TTB_SaveImgEdit", L"TTB_CancelImgEdit", L"TTB_ImgEditSep", L"TTB_AddImgComment"},
       {L"Save", L"Cancel", L"", L"Comment"},
       52},
  };
  for (const Bar& b : bars) {
    const auto& buttons = b.bar->Buttons();
    ASSERT_EQ(buttons.size(), b.names.size()) << b.bar->Name();
    for (size_t i = 0; i < buttons.size(); ++i) {
      ui::ToolButton* button = buttons[i];
      EXPECT_EQ(button->Name(), b.names[i]);
      EXPECT_EQ(w->FindComponent(b.names[i]), button) << "translation finds it by name";
      EXPECT_EQ(ButtonText(b.bar, button), b.captions[i]) << b.names[i];
      if (!button->GetAction()) continue;
      RECT r{};
      const auto index = SendMessageW(b.bar->Handle(), TB_COMMANDTOINDEX, static_cast<WPARAM>(button->Command()), 0);
      SendMessageW(b.bar->Handle(), TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
      EXPECT_EQ(r.right - r.left, w->Scale(b.width)) << b.names[i];
      EXPECT_EQ(r.bottom - r.top, w->Scale(36)) << b.names[i];
    }
  }
  // A translated action renames its buttons on both panels; a translation may also address a
  // button itself.
  w->A_Add->SetCaption(L"Neu");
  EXPECT_EQ(ButtonText(w->TB_TextView, w->TB_TextView->Buttons()[2]), L"Neu");
  EXPECT_EQ(ButtonText(w->TB_ImgView, w->TB_ImgView->Buttons()[2]), L"Neu");
  ASSERT_TRUE(w->FindComponent(L"ttb_deletetext")->SetStringProperty(L"Caption", L"Weg"));
  EXPECT_EQ(ButtonText(w->TB_TextView, w->TB_TextView->Buttons()[4]), L"Weg");
  EXPECT_EQ(w->TB_TextView->Buttons()[4]->Width(), w->Scale(38)) << "a longer text keeps the designed width";
}

TEST_F(MainWindow, TheCompactEditorTakesTabsAndWritesTahomaWithCyrillicGlyphs) {
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  SendMessageW(w->AREDB_Text->Handle(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
  EXPECT_STREQ(cf.szFaceName, L"Tahoma");
  EXPECT_EQ(cf.bCharSet, RUSSIAN_CHARSET);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(cf.yHeight, MulDiv(w->Scale(11), 1440, dpi)) << "11 pixels, in twips";

  w->A_ShowExecute(w->A_Show);
  ASSERT_TRUE(w->A_Add->Execute());
  ASSERT_TRUE(w->AREDB_Text->Visible());
  w->AREDB_Text->SetFocus();
  // Tab goes through the window's key handling like a typed key and must land in the text.
  PostMessageW(w->AREDB_Text->Handle(), WM_KEYDOWN, VK_TAB, 0x000F0001);
  PostMessageW(w->AREDB_Text->Handle(), WM_KEYUP, VK_TAB, static_cast<LPARAM>(0xC00F0001));
  ui::Application::Instance().ProcessMessages();
  wchar_t buf[16] = {};
  GETTEXTEX get{sizeof buf, GT_DEFAULT, 1200, nullptr, nullptr};
  SendMessageW(w->AREDB_Text->Handle(), EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(buf));
  EXPECT_STREQ(buf, L"\t");
  EXPECT_TRUE(w->AREDB_Text->Focused()) << "the focus stays in the editor";

  // A text longer than the editor brings up its vertical scroll bar.
  std::wstring lines;
  for (int i = 0; i < 60; ++i) lines += L"line\r\n";
  SendMessageW(w->AREDB_Text->Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(lines.c_str()));
  ui::Application::Instance().ProcessMessages();
  EXPECT_TRUE(GetWindowLongPtrW(w->AREDB_Text->Handle(), GWL_STYLE) & WS_VSCROLL);
  EXPECT_FALSE(GetWindowLongPtrW(w->AREDB_Text->Handle(), GWL_STYLE) & WS_HSCROLL);
}

TEST_F(MainWindow, ToolBarsAreCentred) {
  w->A_ShowExecute(w->A_Show);
  w->RelayoutPanels();
  for (ui::ToolBar* bar : {w->TB_TextView, w->TB_ImgView}) {
    int sum = 0;
    for (ui::ToolButton* b : bar->Buttons()) sum += b->Width();
    ASSERT_GT(sum, 0);
    EXPECT_EQ(bar->Indent(), (w->CP_Text->SurfaceWidth() - sum) / 2) << bar->Name().size();
  }
  // Centring again does not drift.
  w->RelayoutPanels();
  int sum = 0;
  for (ui::ToolButton* b : w->TB_TextView->Buttons()) sum += b->Width();
  EXPECT_EQ(w->TB_TextView->Indent(), (w->CP_Text->SurfaceWidth() - sum) / 2);
}

}  // namespace

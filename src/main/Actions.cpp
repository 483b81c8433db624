// The action manager's actions with their captions and shortcuts, the program's images, and the
// shell's own command handlers (exit).
#include "main/CurInsWindow.h"

#include "ui/Application.h"

namespace {
ui::ShortCut Ctrl(char key) { return ui::MakeShortCut(static_cast<unsigned short>(key), true); }
}  // namespace

void TCurInsWindow::CreateImages() {
  IL_Tray = Make<ui::ImageList>(L"IL_Tray", 16, 16);
  IL_Tray->AddStripResource(L"IL_TRAY");
  IL_TrayBar = Make<ui::ImageList>(L"IL_TrayBar", 20, 20);
  IL_TrayBar->AddStripResource(L"IL_TRAYBAR");
  IL_TrayIconAnime = Make<ui::ImageList>(L"IL_TrayIconAnime", 16, 16);
  IL_TrayIconAnime->AddStripResource(L"IL_TRAYANIME");
  IL_Close = Make<ui::ImageList>(L"IL_Close", 14, 14);
  IL_Close->AddStripResource(L"IL_CLOSE");
  IL_Tool = Make<ui::ImageList>(L"IL_Tool", 16, 16);
  IL_Tool->AddStripResource(L"IL_TOOL");
  IL_OneItem = Make<ui::ImageList>(L"IL_OneItem", 18, 20);
  IL_OneItem->AddStripResource(L"IL_ONEITEM");
  IL_Thumbs = Make<ui::ImageList>(L"IL_Thumbs", 48, 48);
}

void TCurInsWindow::CreateActions() {
  ui::ActionList& am = Actions();
  auto make = [&am](const wchar_t* name, const wchar_t* caption, ui::ShortCut sc = 0) {
    return am.Make<ui::Action>(name, caption, sc);
  };
  A_VurivuZu = make(L"A_VurivuZu", L"Insert", Ctrl('Q'));
  A_TakeFrom = make(L"A_TakeFrom", L"New record");
  A_Add = make(L"A_Add", L"Add", Ctrl('N'));
  A_Edit = make(L"A_Edit", L"Edit", Ctrl('E'));
  A_Delete = make(L"A_Delete", L"Delete", Ctrl('D'));
  A_Save = make(L"A_Save", L"Save", Ctrl('S'));
  A_Cancel = make(L"A_Cancel", L"Cancel", ui::MakeShortCut(VK_BACK, false, false, true));
  A_ExpandEdit = make(L"A_ExpandEdit", L"Edit+", Ctrl('R'));
  A_Refresh = make(L"A_Refresh", L"Refresh", ui::MakeShortCut(VK_F5, false));
  A_Cut = make(L"A_Cut", L"Cut", Ctrl('X'));
  A_Copy = make(L"A_Copy", L"Copy", Ctrl('C'));
  A_Paste = make(L"A_Paste", L"Paste", Ctrl('V'));
  A_SelectAll = make(L"A_SelectAll", L"Select All", Ctrl('A'));
  A_Undo = make(L"A_Undo", L"Undo", Ctrl('Z'));
  A_PreviewImage = make(L"A_PreviewImage", L"Preview", Ctrl('P'));
  A_AddImgComment = make(L"A_AddImgComment", L"Comment", Ctrl('T'));
  A_SaveImgToFile = make(L"A_SaveImgToFile", L"Save As", Ctrl('G'));
  A_AddText = make(L"A_AddText", L"Text");
  A_AddPicture = make(L"A_AddPicture", L"Picture");
  A_ShowHide = make(L"A_ShowHide", L"Hide");
  A_Show = make(L"A_Show", L"Show window");
  A_SwWindowOnCursor = make(L"A_SwWindowOnCursor", L"Window on cursor");
  A_SwAutoStart = make(L"A_SwAutoStart", L"Auto start");
  A_SwAutoCheckVersion = make(L"A_SwAutoCheckVersion", L"Automatically check for updates");
  A_SetBarVis = make(L"A_SetBarVis", L"To show or hide title bar buttons");
  A_ToggleExtButView = make(L"A_ToggleExtButView", L"Extended view of buttons");
  A_SetBarPos = make(L"A_SetBarPos", L"Buttons position");
  A_VisibilityEditor = make(L"A_VisibilityEditor", L"Visibility Editor");
  A_HotKeys = make(L"A_HotKeys", L"Hot keys");
  A_ChangeDBFolder = make(L"A_ChangeDBFolder", L"Change directory");
  A_ClearTextDB = make(L"A_ClearTextDB", L"Delete all text records");
  A_ClearImgDB = make(L"A_ClearImgDB", L"Delete all graphic records");
  A_CheckVersion = make(L"A_CheckVersion", L"Check version");
  A_ShowHelp = make(L"A_ShowHelp", L"Show help");
  A_SwLang = make(L"A_SwLang", L"");
  A_ExitApp = make(L"A_ExitApp", L"Exit");

  // Default states of the option switches until the settings are read.
  A_SwWindowOnCursor->SetChecked(true);
  A_SetBarVis->SetChecked(true);

  A_ShowHide->OnExecute = [this](ui::Action& a) { A_ShowHideExecute(a); };
  A_Show->OnExecute = [this](ui::Action& a) { A_ShowExecute(&a); };
  A_ExitApp->OnUpdate = [](ui::Action& a) { a.SetEnabled(true); };
  A_ExitApp->OnExecute = [this](ui::Action&) { A_ExitAppExecute(); };
  BindEditingActions();
}

void TCurInsWindow::A_ExitAppExecute() {
  CloseCompanion();
  Close();
}

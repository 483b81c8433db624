// The tray icon and its menu, showing and hiding the main window, and placing it on the screen.
#include "main/CurInsWindow.h"

#include "editor/ExtendEdit.h"
#include "lang/LangPARAM.h"
#include "main/Placement.h"
#include "ui/Application.h"

#include <shellapi.h>

namespace {
constexpr int kBannerWidth = 23;
constexpr int kBannerHeight = 382;  // 255 x 1.5
constexpr int kItemHeight = 20;
}  // namespace

void TCurInsWindow::CreateTray() {
  PM_Tray = Make<ui::PopupMenu>(L"PM_Tray");
  PM_Tray->Images = IL_Tray;
  PM_Tray->OwnerWindow = hwnd_;
  PM_Tray->OnPopup = [this](ui::PopupMenu&) { PM_TrayPopup(); };
  ui::MenuItem& root = PM_Tray->Items();
  auto item = [this](ui::MenuItem& parent, const wchar_t* name, const wchar_t* caption, ui::Action* action,
                     int image) { return parent.Add(PM_Tray->Make<ui::MenuItem>(name, caption, action, image)); };
  auto separator = [&](ui::MenuItem& parent) { return item(parent, L"", L"-", nullptr, -1); };

  MI_ShowWindow = item(root, L"MI_ShowWindow", L"", A_Show, 14);
  separator(root)->Visible = false;
  MI_NewRecord = item(root, L"MI_NewRecord", L"New record", nullptr, 25);
  MI_AddTextRecord = item(*MI_NewRecord, L"MI_AddTextRecord", L"", A_AddText, 27);
  MI_AddPictureRecord = item(*MI_NewRecord, L"MI_AddPictureRecord", L"", A_AddPicture, 26);
  separator(root);
  MI_Settings = item(root, L"MI_Settings", L"Settings", nullptr, 3);
  separator(*MI_Settings);
  item(*MI_Settings, L"MI_SetBarPos", L"", A_SetBarPos, 8);
  item(*MI_Settings, L"MI_VisibilityEditor", L"", A_VisibilityEditor, 29);
  item(*MI_Settings, L"MI_HotKeys", L"", A_HotKeys, 15);
  separator(*MI_Settings);
  MI_Repository = item(*MI_Settings, L"MI_Repository", L"Repository", nullptr, 20);
  item(*MI_Repository, L"MI_ChangeDBFolder", L"", A_ChangeDBFolder, 19);
  separator(*MI_Repository);
  item(*MI_Repository, L"MI_ClearTextDB", L"", A_ClearTextDB, 21);
  item(*MI_Repository, L"MI_ClearImgDB", L"", A_ClearImgDB, 21);
  separator(*MI_Settings);
  MI_CheckBoxes = item(*MI_Settings, L"MI_CheckBoxes", L"Check boxes", nullptr, 0);
  MI_ShowHideTitleButts = item(*MI_CheckBoxes, L"MI_ShowHideTitleButts", L"", A_SetBarVis, -1);
  MI_ExtButtonsView = item(*MI_CheckBoxes, L"MI_ExtButtonsView", L"", A_ToggleExtButView, -1);
  separator(*MI_CheckBoxes);
  MI_SwWinOnCursor = item(*MI_CheckBoxes, L"MI_SwWinOnCursor", L"", A_SwWindowOnCursor, -1);
  separator(*MI_CheckBoxes);
  MI_AutoCheckVersion = item(*MI_CheckBoxes, L"MI_AutoCheckVersion", L"", A_SwAutoCheckVersion, -1);
  separator(*MI_CheckBoxes);
  MI_SwAutoStart = item(*MI_CheckBoxes, L"MI_SwAutoStart", L"", A_SwAutoStart, -1);
  separator(*MI_Settings);
  MI_OnWebSite = item(*MI_Settings, L"MI_OnWebSite", L"Web site", nullptr, 28);
  MI_OnWebSite->OnClick = [this](ui::MenuItem&) { MI_OnWebSiteClick(); };
  separator(root);
  MI_Language = item(root, L"MI_Language", L"Language", nullptr, 11);
  const struct { const wchar_t* name; const wchar_t* caption; int image; } languages[] = {
      {L"MI_LangEnglish", L"English", 5},  {L"MI_LangRussian", L"Русский", 6}, {L"MI_LangGerman", L"Deutsch", 24},
      {L"MI_LangFrench", L"Français", 22}, {L"MI_LangSpanish", L"Español", 23}};
  int tag = 0;
  for (auto& l : languages) item(*MI_Language, l.name, l.caption, A_SwLang, l.image)->Tag = tag++;
  separator(root);
  MI_CheckVersion = item(root, L"MI_CheckVersion", L"", A_CheckVersion, 7);
  separator(root);
  Help1 = item(root, L"Help1", L"", A_ShowHelp, 10);
  separator(root);
  MI_AppExit = item(root, L"MI_AppExit", L"", A_ExitApp, 4);

  for (ui::MenuItem* top : {MI_ShowWindow, MI_NewRecord, MI_Settings, MI_Language, MI_CheckVersion, Help1, MI_AppExit}) {
    top->OwnerDraw = true;
    top->OnDrawItem = [this](ui::MenuItem& i, HDC dc, const RECT& r, bool sel) { MI_NewRecordDrawItem(i, dc, r, sel); };
    top->OnMeasureItem = [this](ui::MenuItem& i, HDC dc, int& w, int& h) { MI_NewRecordMeasureItem(i, dc, w, h); };
  }

  MW_TrayPopUp = Make<ui::NotifyPopup>(L"MW_TrayPopUp");
  MW_TrayPopUp->TitleFont = {L"Tahoma", 11, true, false, RGB(0, 0, 0)};
  MW_TrayPopUp->TextFont = {L"Tahoma", 11, false, true, RGB(0, 0, 0)};
  MW_TrayPopUp->HoverFont = {L"Tahoma", 11, false, true, RGB(0, 0, 255)};
  MW_TrayPopUp->TextCentred = true;
  MW_TrayPopUp->HandCursorOverText = true;
  MW_TrayPopUp->GradientFrom = RGB(153, 204, 255);
  MW_TrayPopUp->GradientTo = RGB(255, 255, 255);
  MW_TrayPopUp->IconPosition = {8, 4};
  MW_TrayPopUp->ScrollSpeed = 9;
  MW_TrayPopUp->Margin = 1;
  MW_TrayPopUp->StartOffsetX = 6;
  MW_TrayPopUp->StartOffsetY = 1;
  MW_TrayPopUp->OpenLinkOnClick = MW_TrayPopUp->Cascade = MW_TrayPopUp->AllowScroll = true;
  MW_TrayPopUp->AllowHyperlink = true;
  MW_TrayPopUp->MonitorOf = hwnd_;

  MainTrayIcon = Make<ui::TrayIcon>(L"MainTrayIcon");
  MainTrayIcon->Icons = IL_TrayIconAnime;
  MainTrayIcon->Menu = PM_Tray;
  MainTrayIcon->SetIconIndex(0);
  MainTrayIcon->OnMouseUp = [this](ui::MouseButton b, int, int) { MainTrayIconMouseUp(b); };
  MainTrayIcon->SetVisible(true);
}

// ---- show and hide

bool TCurInsWindow::ExtendedEditorOpen() const {
  return TTB_ExpandTextEdit->Down() || (ExtendEdit && ExtendEdit->Tag != 0);
}

void TCurInsWindow::HideWindow() {
  A_ShowHide->ActionComponent = IB_Close;
  A_ShowHide->Execute();
}

void TCurInsWindow::A_ShowHideExecute(ui::Action& sender) {
  if (sender.ActionComponent == IB_Close) {
    ShowWindow(hwnd_, SW_HIDE);
    if (ExtendedEditorOpen() && ExtendEdit) ExtendEdit->CloseEditor();
    SetStayOnTop(false);
    if (TargetWindow) {
      SetForegroundWindow(TargetWindow);
      ui::Application::Instance().ProcessMessages();
    }
    Tag = 0;
    return;
  }
  ShowWindow(hwnd_, SW_RESTORE);
  ShowWindow(hwnd_, SW_SHOW);
  SetStayOnTop(true);
  A_Cancel->ActionComponent = nullptr;
  try {
    A_Cancel->Execute();
  } catch (...) {
    // Leaving an edit mode that cannot be left must not keep the window from showing.
  }
  if (IsWindowVisible(hwnd_) && IsWindowEnabled(hwnd_)) ::SetFocus(hwnd_);
  if (ActiveList && ActiveList->CanFocus()) ActiveList->SetFocus();
  SetForegroundWindow(hwnd_);
  Tag = 1;
}

void TCurInsWindow::A_ShowExecute(ui::Action* sender) {
  if (A_SetBarPos->Tag != 0 || A_VisibilityEditor->Tag != 0) return;
  if (sender) CentreOnScreen();
  A_ShowHide->ActionComponent = nullptr;
  A_ShowHide->Execute();
}

void TCurInsWindow::MainTrayIconMouseUp(ui::MouseButton button) {
  if (button != ui::MouseButton::Left) return;
  if (Tag == 1) {
    HideWindow();
  } else if (A_SetBarPos->Tag == 0) {
    A_Show->ActionComponent = MI_ShowWindow;
    A_ShowExecute(A_Show);
  }
}

void TCurInsWindow::PM_TrayPopup() {
  PostMessageW(hwnd_, WM_NULL, 0, 0);
  SetForegroundWindow(hwnd_);
}

// ---- owner-drawn tray items

void TCurInsWindow::MI_NewRecordMeasureItem(ui::MenuItem&, HDC, int& width, int& height) {
  width = TrayItemWidth;
  height = Scale(kItemHeight);
}

void TCurInsWindow::MI_NewRecordDrawItem(ui::MenuItem& item, HDC dc, const RECT& rect, bool selected) {
  const std::wstring caption = item.Caption();
  if (caption == L"-") return;
  RECT fill{Scale(kBannerWidth), rect.top, rect.right, rect.bottom};
  FillRect(dc, &fill, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  IL_Tray->Draw(dc, item.ImageIndex, Scale(28), rect.top + Scale(2), Scale(16), Scale(16));
  ui::Selection font(dc, Font());
  SetBkMode(dc, TRANSPARENT);
  const bool enabled = item.Enabled();
  SetTextColor(dc, GetSysColor(!enabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  RECT text{Scale(52), rect.top, rect.right, rect.bottom};
  DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP | DT_NOPREFIX);
  if (&item == MI_AppExit) TrayBanner(dc);
}

void TCurInsWindow::TrayBanner(HDC dc) {
  try {
    const int w = TrayItemWidth, h = Scale(kBannerHeight), strip = Scale(kBannerWidth);
    ui::MemoryDcHandle mem(CreateCompatibleDC(dc));
    ui::BitmapHandle bmp(CreateCompatibleBitmap(dc, w, h));
    if (!mem || !bmp) return;
    ui::Selection sel(mem.get(), bmp.get());
    RECT grey{0, 0, Scale(20), Scale(150)};
    ui::BrushHandle greyBrush(CreateSolidBrush(RGB(128, 128, 128)));
    FillRect(mem.get(), &grey, greyBrush.get());
    IL_TrayBar->Draw(mem.get(), 1, 0, 0, strip, h);
    SetBkMode(mem.get(), TRANSPARENT);
    LOGFONTW lf{};
    lf.lfHeight = Scale(12);
    lf.lfEscapement = lf.lfOrientation = 900;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpyW(lf.lfFaceName, L"Verdana");
    ui::FontHandle font(CreateFontIndirectW(&lf));
    ui::Selection fs(mem.get(), font.get());
    const wchar_t text[] = L"  Quillet  Quillet  Quillet";
    const int len = static_cast<int>(std::size(text) - 1);
    // The text reads upwards from y = 255. A menu shorter than that would cut its start off, so
    // there the text starts just above the menu's foot instead.
    int base = Scale(255);
    RECT menu{};
    if (HWND menuWindow = WindowFromDC(dc); menuWindow && GetClientRect(menuWindow, &menu) && menu.bottom > 0)
      base = std::min(base, static_cast<int>(menu.bottom) - Scale(6));
    SetTextColor(mem.get(), RGB(255, 255, 255));
    TextOutW(mem.get(), Scale(2), base - Scale(1), text, len);
    SetTextColor(mem.get(), RGB(128, 128, 128));
    TextOutW(mem.get(), Scale(4), base + Scale(1), text, len);
    SetTextColor(mem.get(), RGB(166, 202, 240));
    TextOutW(mem.get(), Scale(3), base, text, len);
    BitBlt(dc, 0, 0, strip, h, mem.get(), 0, 0, SRCCOPY);
  } catch (...) {
    // A banner that cannot be painted leaves the menu usable.
  }
}

void TCurInsWindow::ComputeTrayItemWidth() {
  ui::WindowDC dc(hwnd_);
  ui::Selection font(dc.get(), Font());
  int widest = 0;
  for (ui::MenuItem* item : PM_Tray->Items().Items()) {
    const std::wstring caption = item->Caption();
    if (caption == L"-") continue;
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &size);
    widest = std::max(widest, static_cast<int>(size.cx));
  }
  TrayItemWidth = std::max(placement::TrayItemWidth(widest), Scale(placement::kMinTrayItemWidth));
}

void TCurInsWindow::MI_OnWebSiteClick() {
  try {
    const std::wstring address = MessageText(19);
    ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  } catch (...) {
  }
}

// ---- placement

void TCurInsWindow::CentreOnScreen() {
  const POINT p = placement::Centre({Width(), Height()}, {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  SetPosition(p.x, p.y);
}

void TCurInsWindow::PlaceNearPoint(POINT point) {
  RECT target{};
  const bool hasTarget = TargetWindow && GetWindowRect(TargetWindow, &target);
  const POINT p = placement::NearPoint(hasTarget, target, point, {Width(), Height()},
                                       {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  SetPosition(p.x, p.y);
}

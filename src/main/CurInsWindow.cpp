// Construction of the main window and its lifecycle: creation order, showing by the framework,
// closing, system setting changes, the exception event, idle and the message map.
#include "main/CurInsWindow.h"

#include "editor/ExtendEdit.h"
#include "main/Placement.h"
#include "records/RefillWorker.h"
#include "shared/Protocol.h"
#include "store/Database.h"
#include "store/Databaseext.h"
#include "ui/Application.h"

#include <commctrl.h>

TCurInsWindow* CurInsWindow = nullptr;

namespace {
// Design sizes at 96 dpi.
constexpr int kClientWidth = 300, kClientHeight = 345;
constexpr int kHeaderHeight = 18;
// Captions go under the pictures of 36-pixel-high buttons; each bar has its button width.
constexpr int kButtonHeight = 36;
constexpr int kToolBarHeight = kButtonHeight + 2;
constexpr int kViewButtonWidth = 38, kTextEditButtonWidth = 39, kImgEditButtonWidth = 52;
// The compact editor's face: Tahoma at 11 pixels, with Cyrillic glyphs preferred.
constexpr int kEditorFontPixels = 11;
constexpr COLORREF kCream = RGB(255, 251, 240);

ui::FormStyle MainStyle() {
  // The companion finds this window by exactly this class and caption.
  ui::FormStyle s{L"TCurInsWindow", L"Quillet"};
  s.borderless = true;
  s.onTaskbar = true;
  s.color = kCream;
  s.icon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
  return s;
}
}  // namespace

int UpdateDayTracker::DayDistance() const {
  auto days = [](const SYSTEMTIME& t) -> long long {
    FILETIME ft{};
    if (!SystemTimeToFileTime(&t, &ft)) return 0;
    ULARGE_INTEGER u{{ft.dwLowDateTime, ft.dwHighDateTime}};
    return static_cast<long long>(u.QuadPart / (10'000'000ULL * 86400ULL));
  };
  if (lastUpdate.wYear == 0) return 1 << 20;  // never checked
  return static_cast<int>(days(today) - days(lastUpdate));
}

TCurInsWindow::TCurInsWindow(ui::Component* owner) : ui::Form(owner, L"CurInsWindow", MainStyle()) {
  CurInsWindow = this;
  GetLocalTime(&UpdateDays.today);
  HotKeys = HotKeyTable{};
  CreateImages();
  CreateActions();
  CreateControls();
  BindTargetActions();
  CreateTray();
  CreateCaptureCommands();
  LayoutControls();
  OnKeyDown = [this](WORD& key, ui::ShiftState shift) { FormKeyDown(key, shift); };
  OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
  OnDpiChanged = [this] {
    LayoutControls();
    RelayoutPanels();
  };
  // Designed minimized: the window stays iconic until the first Show restores it.
  ShowWindow(hwnd_, SW_HIDE);
}

TCurInsWindow::~TCurInsWindow() {
  StopRefillWorker();
  if (CurInsWindow == this) CurInsWindow = nullptr;
}

void TCurInsWindow::CreateControls() {
  CPG_Main = Make<ui::CategoryPanelGroup>(L"CPG_Main", hwnd_, Font(), kCream, Scale(kHeaderHeight));
  SetWindowLongPtrW(CPG_Main->Handle(), GWL_STYLE, GetWindowLongPtrW(CPG_Main->Handle(), GWL_STYLE) | WS_CLIPSIBLINGS);
  CP_Text = Make<ui::CategoryPanel>(L"CP_Text", *CPG_Main, L"Text");
  CP_Img = Make<ui::CategoryPanel>(L"CP_Img", *CPG_Main, L"Graphics");
  CPG_Main->OnExpand = [this](ui::CategoryPanel& p) { CP_TextExpand(p); };
  CPG_Main->OnCollapse = [this](ui::CategoryPanel& p) { CP_TextCollapse(p); };

  // Text panel: view mode (tool bar over the list), edit mode (tool bar over the editor). The
  // buttons are few and captioned; Refresh and the clipboard commands live on keys and menus.
  HWND text = CP_Text->Surface();
  TB_TextView = Make<ui::ToolBar>(L"TB_TextView", text, IL_Tool);
  Make<ui::ToolButton>(L"TTB_InsertText", *TB_TextView, A_VurivuZu, 0);
  Make<ui::ToolButton>(L"TTB_TextSep", *TB_TextView, nullptr, 0);
  Make<ui::ToolButton>(L"TTB_AddText", *TB_TextView, A_Add, 1);
  Make<ui::ToolButton>(L"TTB_EditText", *TB_TextView, A_Edit, 2);
  Make<ui::ToolButton>(L"TTB_DeleteText", *TB_TextView, A_Delete, 3);
  LV_Text = Make<ui::ListView>(L"LV_Text", text, ui::ListView::Kind::Report);
  TB_TextEdit = Make<ui::ToolBar>(L"TB_TextEdit", text, IL_Tool);
  Make<ui::ToolButton>(L"TTB_SaveTextEdit", *TB_TextEdit, A_Save, 5);
  Make<ui::ToolButton>(L"TTB_CancelTextEdit", *TB_TextEdit, A_Cancel, 6);
  Make<ui::ToolButton>(L"TTB_TextEditSep", *TB_TextEdit, nullptr, 0);
  TTB_ExpandTextEdit = Make<ui::ToolButton>(L"TTB_ExpandTextEdit", *TB_TextEdit, A_ExpandEdit, 11, true);
  AREDB_Text = Make<ui::RichEdit>(L"AREDB_Text", text, EditorFont());

  // Picture panel.
  HWND img = CP_Img->Surface();
  TB_ImgView = Make<ui::ToolBar>(L"TB_ImgView", img, IL_Tool);
  Make<ui::ToolButton>(L"TTB_InsertImg", *TB_ImgView, A_VurivuZu, 0);
  Make<ui::ToolButton>(L"TTB_ImgSep", *TB_ImgView, nullptr, 0);
  Make<ui::ToolButton>(L"TTB_AddImg", *TB_ImgView, A_Add, 1);
  Make<ui::ToolButton>(L"TTB_EditImg", *TB_ImgView, A_Edit, 2);
  Make<ui::ToolButton>(L"TTB_DeleteImg", *TB_ImgView, A_Delete, 3);
  LV_Img = Make<ui::ListView>(L"LV_Img", img, ui::ListView::Kind::Icons);
  TB_ImgEdit = Make<ui::ToolBar>(L"TB_ImgEdit", img, IL_Tool);
  Make<ui::ToolButton>(L"TTB_SaveImgEdit", *TB_ImgEdit, A_Save, 5);
  Make<ui::ToolButton>(L"TTB_CancelImgEdit", *TB_ImgEdit, A_Cancel, 6);
  Make<ui::ToolButton>(L"TTB_ImgEditSep", *TB_ImgEdit, nullptr, 0);
  Make<ui::ToolButton>(L"TTB_AddImgComment", *TB_ImgEdit, A_AddImgComment, 13);
  IDB_Img = Make<ui::PictureView>(L"IDB_Img", img);
  SetWindowLongPtrW(IDB_Img->Handle(), GWL_STYLE, GetWindowLongPtrW(IDB_Img->Handle(), GWL_STYLE) | WS_CLIPSIBLINGS);
  E_ImgComment = Make<ui::Memo>(L"E_ImgComment", img, Font());

  for (ui::ListView* lv : {LV_Text, LV_Img}) {
    lv->SetFont(Font());
    ListView_SetBkColor(lv->Handle(), RGB(255, 255, 255));
  }
  ListView_SetImageList(LV_Text->Handle(), IL_OneItem->SystemList(), LVSIL_SMALL);
  ListView_SetImageList(LV_Img->Handle(), IL_Thumbs->SystemList(), LVSIL_NORMAL);

  // Edit-mode controls start hidden: the lists are showing.
  for (ui::Control* c : std::initializer_list<ui::Control*>{TB_TextEdit, AREDB_Text, TB_ImgEdit, IDB_Img, E_ImgComment})
    c->SetVisible(false);

  IB_Close = Make<ui::ImageButton>(L"IB_Close", CP_Text->Handle(), *IL_Close, 0, 1, 2);
  IB_Close->SetAction(A_ShowHide);
  CP_Text->HeaderRightReserve = IL_Close->ImageWidth() + 4;
  CP_Img->HeaderRightReserve = 0;

  PB_DbReadTrack = Make<ui::ProgressBar>(L"PB_DbReadTrack", hwnd_, RGB(0, 0, 128), RGB(255, 255, 255));
  SetWindowPos(PB_DbReadTrack->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

HFONT TCurInsWindow::EditorFont() {
  const int height = -Scale(kEditorFontPixels);
  if (!editorFont_ || editorFontHeight_ != height) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = RUSSIAN_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
    // The editor may still hold the old face: it is freed only once the next one is in place.
    retiredEditorFont_ = std::move(editorFont_);
    editorFont_.reset(CreateFontIndirectW(&lf));
    editorFontHeight_ = height;
  }
  return editorFont_.get();
}

void TCurInsWindow::LayoutControls() {
  CPG_Main->SetFont(Font());
  CPG_Main->SetHeaderHeight(Scale(kHeaderHeight));
  SetClientSize(Scale(kClientWidth), Scale(kClientHeight));
  CPG_Main->SetBounds(0, 0, Scale(kClientWidth), Scale(kClientHeight));
  const int open = Scale(kClientHeight) - Scale(kHeaderHeight) - Scale(kHeaderHeight) / 3;
  CP_Text->SetExpandedHeight(open);
  CP_Img->SetExpandedHeight(open);
  const int w = Scale(kClientWidth), h = open - Scale(kHeaderHeight), tb = Scale(kToolBarHeight);
  for (ui::ToolBar* bar : {TB_TextView, TB_TextEdit, TB_ImgView, TB_ImgEdit}) {
    bar->SetFont(Font());
    bar->SetBounds(0, 0, w, tb);
  }
  TB_TextView->ShowCaptions(Scale(kViewButtonWidth), Scale(kButtonHeight));
  TB_ImgView->ShowCaptions(Scale(kViewButtonWidth), Scale(kButtonHeight));
  TB_TextEdit->ShowCaptions(Scale(kTextEditButtonWidth), Scale(kButtonHeight));
  TB_ImgEdit->ShowCaptions(Scale(kImgEditButtonWidth), Scale(kButtonHeight));
  LV_Text->SetBounds(0, tb, w, h - tb);
  LV_Img->SetBounds(0, tb, w, h - tb);
  AREDB_Text->SetFont(EditorFont());
  AREDB_Text->SetBounds(0, tb, w, h - tb);
  IDB_Img->SetBounds(0, tb, w, h - tb);
  E_ImgComment->SetFont(Font());
  E_ImgComment->SetBounds(0, tb, w, Scale(40));
  ListView_SetColumnWidth(LV_Text->Handle(), 0, LVSCW_AUTOSIZE_USEHEADER);
  const int cb = IL_Close->ImageWidth();
  IB_Close->SetBounds(w - cb - (Scale(kHeaderHeight) - cb) / 2 - 1, (Scale(kHeaderHeight) - cb) / 2, cb, cb);
  PB_DbReadTrack->SetBounds(0, 0, Scale(198), Scale(7));
  RelayoutPanels();
}

// ---- lifecycle

void TCurInsWindow::FormCreate() {
  ShowWindow(hwnd_, SW_HIDE);
  ShowWindow(ui::Application::Instance().Handle(), SW_HIDE);
  FoundBarWindow = ConfirmedBarWindow = nullptr;
  CompanionSynchronised = false;
  TargetWindow = nullptr;
  SkipFirstIdle = true;
  OfferDemo = DragInProgress = false;
  // The tool bars know their button widths only once shown: centre them at the first quiet moment.
  RelayoutPending = true;
  // The registry accessor, the local-mode marker, the stores' owners and the settings belong to
  // the settings and storage parts; they run here in the order the rest of start-up relies on.
  LocalMode = GetFileAttributesW((ProgramFolder() + L"local.ini").c_str()) != INVALID_FILE_ATTRIBUTES;
  ExcludedClasses.assign(qbar::kBuiltInClasses, qbar::kBuiltInClasses + qbar::kBuiltInClassCount);
  CreateStores();
  BarDialogClasses.assign(qbar::kBarDialogClasses, qbar::kBarDialogClasses + qbar::kBarDialogClassCount);
  ReadSettings();
  if (LocalMode) UserDBFolder = ProgramFolder();
  handCursor_ = LoadCursorW(nullptr, IDC_HAND);
  SwitchLanguage(CurLang);
  SetActiveTextEditor(AREDB_Text);
  ActiveList = LV_Text;
  PendingAction = idle::kHideAndOpenPanel;
  AfterRefillAction = 0;
  ListView_SetColumnWidth(LV_Text->Handle(), 0, LVSCW_AUTOSIZE_USEHEADER);
  // The list's own tooltips would cover the item text that the info tips show.
  SendMessageW(LV_Text->Handle(), LVM_SETTOOLTIPS, 0, 0);
  BindStoreForList(ActiveList);
  CreateRefillWorker();
  ApplyAutoStart();
  TTB_ExpandTextEdit->SetDown(false);
  if (A_SetBarVis->Checked() && !FindBarWindow()) {
    StartCompanion();
  } else {
    CompanionSynchronised = false;
    ConfirmedBarWindow = nullptr;
  }
  HotKeys.window = hwnd_;
  RegisterAllHotKeys();
  TrayItemWidth = placement::kMinTrayItemWidth;
}

void TCurInsWindow::FormShow() {
  ComputeTrayItemWidth();
  if (OfferDemo) {
    OfferDemo = false;
    OfferDemoText();
  }
  ui::Application::Instance().ProcessMessages();
  SetForegroundWindow(GetDesktopWindow());
  SetForegroundWindow(ui::Application::Instance().Handle());
}

void TCurInsWindow::FormCloseQuery(bool& canClose) {
  canClose = true;
  StopRefillWorker();
  MW_TrayPopUp->ClosePopups();
  WriteSettings();
  UnregisterAllHotKeys();
  DestroyStores();
}

void TCurInsWindow::AppEventsSettingChange() {
  RelayoutPanels();
  RelayoutPending = true;
  ComputeTrayItemWidth();
  InvalidateRect(hwnd_, nullptr, TRUE);
  ui::Application::Instance().ProcessMessages();
}

void TCurInsWindow::AppEventsException(std::exception_ptr) {
  // Deliberately silent: a failed command leaves the program running as it was.
}

bool TCurInsWindow::AppEventsIdle() { return idle::AppEventsIdle(*this, *this); }

int TCurInsWindow::RefillStateFor(const ui::Component* control) const {
  if (control == LV_Text || control == CP_Text) return idle::kRefillText;
  if (control == LV_Img || control == CP_Img) return idle::kRefillImages;
  return 0;
}

// ---- the idle states

void TCurInsWindow::HideAndOpenActivePanel() {
  HideWindow();
  if (ActiveList == LV_Text)
    CP_Text->Expand();
  else if (ActiveList == LV_Img)
    CP_Img->Expand();
}

void TCurInsWindow::SteadyStep() {
  BarIdleStep();
  if (RelayoutPending) {
    RelayoutPanels();
    RelayoutPending = false;
  }
  CheckVersionIfDue();
  HWND fg = GetForegroundWindow();
  if (fg && !IsExcludedWindow(fg, true)) SetTargetWindow(fg);
}

void TCurInsWindow::StartRefill(int state) {
  ui::ListView* list = state == idle::kRefillText ? LV_Text : LV_Img;
  ui::CategoryPanel* panel = state == idle::kRefillText ? CP_Text : CP_Img;
  ActiveList = list;
  SetEditMode(list, false);
  BindStoreForList(list);
  if (panel->Collapsed()) CP_TextExpand(*panel);
  WakeRefillWorker();
}

// The machine has already left state 5 when this runs, so the handler is told it is the second pass.
void TCurInsWindow::RunTakeFrom() {
  A_TakeFrom->ActionComponent = nullptr;
  TakeFromClipboard(A_TakeFrom, true);
}

// The second phases run the handlers directly: after the refill nothing is modified or selected
// any more, so the actions' enabling rules would keep them from running.
void TCurInsWindow::RunDeleteFollowUp() {
  A_Delete->ActionComponent = nullptr;
  DeleteFollowUp();
}

void TCurInsWindow::RunSaveFollowUp() {
  A_Save->ActionComponent = nullptr;
  SaveFollowUp();
}

void TCurInsWindow::ReselectAfterDrop() {
  if (!ActiveList) return;
  const int index = ActiveList->Tag < 0 ? 0 : static_cast<int>(ActiveList->Tag);
  ActiveList->SelectItem(index);
}

// ---- message map

LRESULT TCurInsWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_HOTKEY:
      OnHotKey(wp, lp);
      return 0;
    case qbar::QBM_CAPTURE: {
      const qbar::CaretPoint p = qbar::UnpackCaretPoint(static_cast<std::intptr_t>(lp));
      CopyFromTarget(reinterpret_cast<HWND>(wp), POINT{p.x, p.y});
      return 0;
    }
    case qbar::QBM_SHOW_LIST:
    case qbar::QBM_HELLO:
    case qbar::QBM_SETTINGS_ACK:
    case qbar::QBM_SCREENSHOT:
    case qbar::QBM_VISIBILITY:
      return OnBarMessage(msg, wp, lp);
    case qbar::QBM_READ_ONLY:
      OnReadOnlyNotice();
      return 0;
    case qbar::QBM_UPDATE_RESULT:
      OnUpdateResult();
      return 0;
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE:
    case WM_THEMECHANGED:
      AppEventsSettingChange();
      break;
    case WM_SYSCOMMAND:
      // The system's close (Alt+F4, the task bar's Close) hides the window: the program lives in
      // the tray and ends only through Exit or the session's end.
      if ((wp & 0xFFF0) == SC_CLOSE) {
        HideWindow();
        return 0;
      }
      if ((wp & 0xFFF0) == SC_MINIMIZE) {
        HideWindow();
        return 0;
      }
      break;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wp) {
        bool canClose = true;
        FormCloseQuery(canClose);
      }
      return 0;
  }
  return ui::Form::HandleMessage(msg, wp, lp);
}

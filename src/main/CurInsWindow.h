// The main window: it owns everything of the main program that lives longer than one command.
// Declared once here; its handlers live in one file per concern.
#pragma once

#include "main/IdleMachine.h"
#include "main/Miscutils.h"
#include "ui/Action.h"
#include "ui/Bitmap.h"
#include "ui/CategoryPanel.h"
#include "ui/Form.h"
#include "ui/Handles.h"
#include "ui/ImageButton.h"
#include "ui/ImageList.h"
#include "ui/ListView.h"
#include "ui/Memo.h"
#include "ui/NotifyPopup.h"
#include "ui/PictureView.h"
#include "ui/PopupMenu.h"
#include "ui/ProgressBar.h"
#include "ui/RichEdit.h"
#include "ui/ToolBar.h"
#include "ui/TrayIcon.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "store/StorageFolder.h"

class TF_ExtendEdit;
class TThr;
namespace qstore {
class All_DB;
class Wnd_DB;
}  // namespace qstore

// The four global hot keys (filled by the hot keys part).
struct HotKeySlot {
  TShortCut shortCut = 0;
  ATOM atom = 0;
  bool registered = false;
};
struct HotKeyTable {
  HWND window = nullptr;
  HotKeySlot copy, paste, visibility, screenshot;
};

// Bookkeeping of the automatic update check.
struct UpdateDayTracker {
  SYSTEMTIME today{};
  SYSTEMTIME lastUpdate{};
  bool CheckedThisRun = false;
  int DayDistance() const;
};

class TCurInsWindow : public ui::Form, public idle::MachineState, private idle::Operations {
 public:
  explicit TCurInsWindow(ui::Component* owner);
  ~TCurInsWindow() override;

  // ---- state shared with the other parts of the program
  bool LocalMode = false;
  bool OfferDemo = false;
  bool RelayoutPending = false;
  bool DragInProgress = false;
  ui::ListView* ActiveList = nullptr;
  ui::RichEdit* ActiveTextEditor = nullptr;
  HWND TargetWindow = nullptr;
  std::wstring UserDBFolder;
  int CurLang = 0;
  int BarPos = 51;
  HotKeyTable HotKeys;
  UpdateDayTracker UpdateDays;
  int TrayItemWidth = placementMinTrayItemWidth();
  std::vector<std::wstring> ExcludedClasses;   // built-in classes plus the stored ones
  std::vector<std::wstring> BarDialogClasses;  // "TF_SetBarPos"
  HWND FoundBarWindow = nullptr;
  HWND ConfirmedBarWindow = nullptr;
  bool CompanionSynchronised = false;
  // The extended editor window, created right after this one.
  TF_ExtendEdit* ExtendEdit = nullptr;
  // The stores' owners and the refill worker (created in FormCreate, gone after closing).
  std::unique_ptr<qstore::All_DB> AllDb;
  std::unique_ptr<qstore::Wnd_DB> WndDb;
  std::unique_ptr<TThr> RefillWorker;
  // Yes/No questions of the storage folder commands: a message box; tests answer instead.
  qstore::Confirm AskUser;
  // Information boxes (the read-only notice, a clip that could not be saved): a message box by
  // default; tests record them instead.
  std::function<void(const std::wstring& text, const std::wstring& caption, UINT icon)> Inform;
  // The picture open in the picture editor (IDB_Img shows a copy) and the reused thumbnail.
  ui::Bitmap EditPicture;
  ui::Bitmap EditThumbnail;

  // ---- components (names as the translation files know them)
  ui::ImageList *IL_Tray, *IL_TrayBar, *IL_TrayIconAnime, *IL_Close, *IL_Tool, *IL_OneItem, *IL_Thumbs;
  ui::Action *A_VurivuZu, *A_TakeFrom, *A_Add, *A_Edit, *A_Delete, *A_Save, *A_Cancel, *A_ExpandEdit, *A_Refresh;
  ui::Action *A_Cut, *A_Copy, *A_Paste, *A_SelectAll, *A_Undo;
  ui::Action *A_PreviewImage, *A_AddImgComment, *A_SaveImgToFile, *A_AddText, *A_AddPicture;
  ui::Action *A_ShowHide, *A_Show, *A_SwWindowOnCursor, *A_SwAutoStart, *A_SwAutoCheckVersion;
  ui::Action *A_SetBarVis, *A_ToggleExtButView, *A_SetBarPos, *A_VisibilityEditor, *A_HotKeys;
  ui::Action *A_ChangeDBFolder, *A_ClearTextDB, *A_ClearImgDB, *A_CheckVersion, *A_ShowHelp, *A_SwLang, *A_ExitApp;
  ui::CategoryPanelGroup* CPG_Main;
  ui::CategoryPanel *CP_Text, *CP_Img;
  ui::ListView *LV_Text, *LV_Img;
  ui::RichEdit* AREDB_Text;
  ui::PictureView* IDB_Img;
  ui::Memo* E_ImgComment;
  ui::ToolBar *TB_TextView, *TB_TextEdit, *TB_ImgView, *TB_ImgEdit;
  ui::ToolButton* TTB_ExpandTextEdit;
  ui::ImageButton* IB_Close;
  ui::ProgressBar* PB_DbReadTrack;
  ui::TrayIcon* MainTrayIcon;
  ui::PopupMenu* PM_Tray;
  ui::MenuItem *MI_ShowWindow, *MI_NewRecord, *MI_AddTextRecord, *MI_AddPictureRecord, *MI_Settings, *MI_Language;
  ui::MenuItem *MI_CheckVersion, *Help1, *MI_AppExit, *MI_Repository, *MI_CheckBoxes, *MI_OnWebSite;
  ui::MenuItem *MI_ShowHideTitleButts, *MI_ExtButtonsView, *MI_SwWinOnCursor, *MI_AutoCheckVersion, *MI_SwAutoStart;
  ui::NotifyPopup* MW_TrayPopUp;

  // ---- lifecycle (program entry calls these in order)
  void FormCreate();
  void FormShow();
  void FormCloseQuery(bool& canClose);
  void FormKeyDown(WORD& key, ui::ShiftState shift);
  void AppEventsSettingChange();
  void AppEventsException(std::exception_ptr e);
  // The loop's idle event; returns whether to run again before waiting.
  bool AppEventsIdle();

  // Refill state for a list or its panel: 3 for the text side, 4 for the picture side, else 0.
  int RefillStateFor(const ui::Component* control) const;

  // ---- tray, show and hide, placement
  void A_ShowHideExecute(ui::Action& sender);
  void A_ShowExecute(ui::Action* sender);
  void HideWindow();  // A_ShowHide through the close button
  void MainTrayIconMouseUp(ui::MouseButton button);
  void PM_TrayPopup();
  void MI_NewRecordDrawItem(ui::MenuItem& item, HDC dc, const RECT& rect, bool selected);
  void MI_NewRecordMeasureItem(ui::MenuItem& item, HDC dc, int& width, int& height);
  void TrayBanner(HDC dc);
  void MI_OnWebSiteClick();
  void ComputeTrayItemWidth();
  void CentreOnScreen();
  void PlaceNearPoint(POINT point);
  void A_ExitAppExecute();

  // ---- panels
  void CP_TextExpand(ui::CategoryPanel& sender);
  void CP_TextCollapse(ui::CategoryPanel& sender);
  void RelayoutPanels();
  void CentreToolBar(ui::ToolBar& bar);

  // ---- storage folder (store/FolderCommands.cpp)
  void CreateStores();
  void DestroyStores();
  std::wstring DbPath(const std::wstring& name) const;
  bool TextDbExists() const;
  bool ImgDbExists() const;
  void CopyDemoStores();
  // Binds the stores to their files in the storage folder for that list; false for another list.
  bool BindStoreForList(ui::ListView* list);
  void A_ChangeDBFolderExecute();
  void A_ClearTextDBExecute();
  void A_ClearImgDBExecute();
  // The folder command after the dialog: moves or switches (asking), refills; restores the old
  // folder on failure.
  void ChangeStorageFolderTo(const std::wstring& chosen);

  // ---- clip lists (records/ListRefill.cpp)
  void CreateRefillWorker();
  // One refill pass of ActiveList; runs on the user-interface thread.
  void Refill();
  // which: 1 both lists, 2 LV_Text, 3 LV_Img, anything else clears both.
  void SetNeedUpdate(int which, bool value);
  void SetListNeedUpdate(ui::ListView* list, bool value);

  // ---- editing clips (records/Editing.cpp)
  void BindEditingActions();
  void AddEditExecute(ui::Action& sender);
  void SaveExecute();
  void DeleteExecute();
  // The second phases, run by the idle machine once the refill has ended.
  void SaveFollowUp();
  void DeleteFollowUp();
  void CancelExecute();
  void RefreshExecute();
  // The record id an item carries (its 32-bit data slot); 0 without a selection.
  std::int64_t SelectedRecordId(ui::ListView* list) const;
  // Puts a copy of EditPicture into IDB_Img.
  void ShowEditPicture();
  // The store refused to write because it is read-only.
  void OnReadOnlyNotice();
  void InformUser(const std::wstring& text, const std::wstring& caption, UINT icon);

  // ---- capture from the clipboard, the editors' clipboard commands and the editors' and lists'
  // popup menus (records/Capture.cpp)
  ui::ImageList *IL_Icons1, *IL_Icons2;
  ui::PopupMenu *PM_Edit, *PM_List;
  ui::MenuItem *MI_Undo, *MI_SelectAllSep, *MenuItem3, *MenuItem1, *MenuItem4, *N17, *MI_SaveAs, *MI_UndoSep1;
  ui::MenuItem *MI_Preview, *MI_UndoSep2, *MI_SelectAll;
  ui::MenuItem *Vurivuzu1, *N1, *Add1, *Edit1, *Delete1, *MI_PM_List_Sep1, *MI_RichEdit, *MI_PM_List_Sep2;
  ui::MenuItem *MI_SaveAs1, *MI_PM_List_Sep3, *MI_Preview1, *N15, *ARefresh1;
  // Builds the image lists and popup menus and binds the capture and clipboard actions.
  void CreateCaptureCommands();
  // Turns the clipboard into a new, unsaved record. `sender` is the calling action (its acting
  // component may ask for a kind); `secondPass` when the idle machine runs it in state 5.
  void TakeFromClipboard(ui::Action* sender = nullptr, bool secondPass = false);
  void CutExecute();
  void CopyExecute();
  void PasteExecute();
  void SelectAllExecute();
  void UndoExecute();
  // The one enabling rule of the clipboard commands, Preview and Save As.
  void EditCommandsUpdate(ui::Action& sender);
  void PM_EditPopup();
  void PM_ListPopup();
  // The popup menus show the pictures of the panel whose list this is.
  void UsePopupImagesOf(ui::ListView* list);
  // Right click, Shift+F10 or the menu key on `control` opens `menu`.
  void AttachPopupMenu(ui::Control& control, ui::PopupMenu& menu);

  // ---- the target window: inserting clips into it and capturing from it (records/TargetWindow.cpp)
  // TargetWindow is written only here.
  void SetTargetWindow(HWND window);
  void BindTargetActions();
  // A_VurivuZu: the selected record onto the clipboard, hide, and paste it into the target.
  void PasteIntoTarget();
  // QBM_CAPTURE: the target copies its selection, which becomes a new record.
  void CopyFromTarget(HWND window, POINT point);
  void LV_TextDblClick(ui::ListView& sender);
  // The selected record of ActiveList onto the clipboard; true when it got there.
  bool CopyRecordToClipboard();

  // ---- operations of other parts of the program that the shell calls
  bool IsExcludedWindow(HWND window, bool withBarDialogs);
  HWND FindBarWindow();
  void CloseCompanion();
  void StartCompanion();
  void BarIdleStep();
  void SetEditMode(ui::ListView* list, bool on);
  void SetActiveTextEditor(ui::RichEdit* editor);
  void WakeRefillWorker();
  void StopRefillWorker();
  void ReadSettings();
  void WriteSettings();
  void SwitchLanguage(int language);
  void ApplyAutoStart();
  void RegisterAllHotKeys();
  void UnregisterAllHotKeys();
  void OfferDemoText();
  void CheckVersionIfDue();
  void OnHotKey(WPARAM id, LPARAM keys);
  LRESULT OnBarMessage(UINT msg, WPARAM wp, LPARAM lp);
  void OnUpdateResult();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  static constexpr int placementMinTrayItemWidth() { return 175; }
  void CreateActions();
  void CreateImages();
  void CreateControls();
  void CreateTray();
  void LayoutControls();
  bool ExtendedEditorOpen() const;
  void ClearStoreCommand(int storeIndex);
  void TakeAfterRefillAction();

  // idle::Operations
  void HideAndOpenActivePanel() override;
  void SteadyStep() override;
  void StartRefill(int state) override;
  void RunTakeFrom() override;
  void RunDeleteFollowUp() override;
  void RunSaveFollowUp() override;
  void ReselectAfterDrop() override;

  // The compact editor's font (made for the window's current dpi).
  HFONT EditorFont();

  HCURSOR handCursor_ = nullptr;
  ui::FontHandle editorFont_, retiredEditorFont_;
  int editorFontHeight_ = 0;
};

// The one main window (null before creation and after destruction).
extern TCurInsWindow* CurInsWindow;

// The main window's side of the storage folder: its paths, binding the stores before each use,
// the first-run demo copies and the three Repository commands with their questions.
#include "main/CurInsWindow.h"

#include <shlobj.h>

#include "lang/LangPARAM.h"
#include "records/RefillWorker.h"
#include "store/Database.h"
#include "store/Databaseext.h"
#include "store/StorageFolder.h"

namespace {

// The folder browser PD_ChangeDbFolder: new dialog style with its new-folder button, starting
// at the current folder. Empty when the user cancels.
std::wstring BrowseForFolder(HWND owner, const std::wstring& title, const std::wstring& initial) {
  BROWSEINFOW bi{};
  bi.hwndOwner = owner;
  bi.lpszTitle = title.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  bi.lpfn = [](HWND dialog, UINT msg, LPARAM, LPARAM data) -> int {
    if (msg == BFFM_INITIALIZED && data) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
  };
  bi.lParam = reinterpret_cast<LPARAM>(initial.c_str());
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::wstring chosen;
  if (PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&bi)) {
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(item, path)) chosen = path;
    CoTaskMemFree(item);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return chosen;
}

}  // namespace

void TCurInsWindow::CreateStores() {
  AllDb = std::make_unique<qstore::All_DB>();
  WndDb = std::make_unique<qstore::Wnd_DB>();
  AllDb->SetMainWindow(hwnd_);
  WndDb->SetMainWindow(hwnd_);
  if (!AskUser) {
    AskUser = [this](const std::wstring& text, const std::wstring& caption) {
      return MessageBoxW(hwnd_, text.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
    };
  }
  A_ChangeDBFolder->OnExecute = [this](ui::Action&) { A_ChangeDBFolderExecute(); };
  A_ClearTextDB->OnExecute = [this](ui::Action&) { A_ClearTextDBExecute(); };
  A_ClearImgDB->OnExecute = [this](ui::Action&) { A_ClearImgDBExecute(); };
}

void TCurInsWindow::DestroyStores() {
  WndDb.reset();
  AllDb.reset();
}

std::wstring TCurInsWindow::DbPath(const std::wstring& name) const { return qstore::JoinPath(UserDBFolder, name); }
bool TCurInsWindow::TextDbExists() const { return qstore::FileExists(DbPath(qstore::kTextStoreFile)); }
bool TCurInsWindow::ImgDbExists() const { return qstore::FileExists(DbPath(qstore::kImgStoreFile)); }

void TCurInsWindow::CopyDemoStores() { qstore::CopyDemoStores(ProgramFolder(), UserDBFolder, CurLang, LocalMode); }

bool TCurInsWindow::BindStoreForList(ui::ListView* list) {
  if (!qstore::FolderExists(UserDBFolder)) UserDBFolder = DocumentsSubfolder(L"Quillet", LocalMode);
  if (!AllDb || !WndDb) return false;
  const int index = list == LV_Text ? 0 : list == LV_Img ? 1 : -1;
  if (index < 0) {
    if (SkipFirstIdle) AllDb->CheckReadOnly(UserDBFolder);
    return false;
  }
  qstore::BindStores(*AllDb, *WndDb, UserDBFolder, index, SkipFirstIdle);
  return true;
}

void TCurInsWindow::A_ChangeDBFolderExecute() {
  const std::wstring chosen = BrowseForFolder(hwnd_, MessageText(3), UserDBFolder);
  if (!chosen.empty()) ChangeStorageFolderTo(chosen);
  AllDb->CheckReadOnly(UserDBFolder);
  CPG_Main->SetEnabled(true);
}

void TCurInsWindow::ChangeStorageFolderTo(const std::wstring& chosen) {
  const std::wstring oldFolder = UserDBFolder;
  UserDBFolder = chosen;
  CPG_Main->SetEnabled(false);
  try {
    const qstore::FolderChangeResult result = qstore::ChangeStorageFolder(oldFolder, chosen, *AllDb, *WndDb, AskUser);
    if (result.change == qstore::FolderChange::Same) return;
    if (result.change == qstore::FolderChange::Failed) {
      // Nothing was moved: the records stay where they are and the program keeps using them.
      UserDBFolder = oldFolder;
      MessageBoxW(hwnd_, qstore::MoveFailureText(oldFolder, chosen, result.move).c_str(), MessageText(6).c_str(),
                  MB_OK | MB_ICONWARNING);
      return;
    }
    CompanionSynchronised = false;
    SetNeedUpdate(1, true);
    PendingAction = RefillStateFor(ActiveList);
    idle::IdleStep(*this, *this);
  } catch (...) {
    UserDBFolder = oldFolder;
  }
}

void TCurInsWindow::ClearStoreCommand(int storeIndex) {
  CPG_Main->SetEnabled(false);
  try {
    if (qstore::ClearStore(*AllDb, UserDBFolder, storeIndex, AskUser)) {
      SetNeedUpdate(storeIndex == 0 ? 2 : 3, true);
      PendingAction = RefillStateFor(ActiveList);
    }
  } catch (...) {
  }
  CPG_Main->SetEnabled(true);
}

void TCurInsWindow::A_ClearTextDBExecute() { ClearStoreCommand(0); }
void TCurInsWindow::A_ClearImgDBExecute() { ClearStoreCommand(1); }

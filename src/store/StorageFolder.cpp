#include "store/StorageFolder.h"

#include "lang/LangPARAM.h"
#include "store/Database.h"
#include "store/Databaseext.h"

#include <array>

namespace qstore {

namespace {

bool EndsWithDelimiter(std::wstring_view s) { return !s.empty() && (s.back() == L'\\' || s.back() == L'/'); }

// Volume and file index of a folder: the one reliable identity, whatever the spelling.
bool FolderIdentity(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
  HANDLE h = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool ok = GetFileInformationByHandle(h, &info) != 0;
  CloseHandle(h);
  return ok;
}

std::wstring FullPathWithoutDelimiter(const std::wstring& path) {
  std::wstring full(MAX_PATH, L'\0');
  DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (n > full.size()) {
    full.resize(n);
    n = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
  }
  full.resize(n == 0 ? 0 : n);
  if (n == 0) full = path;
  while (full.size() > 3 && EndsWithDelimiter(full)) full.pop_back();
  return full;
}

const wchar_t* StoreFileName(int storeIndex) { return storeIndex == 0 ? kTextStoreFile : kImgStoreFile; }

// The name a file is copied to beside its destination before it replaces it.
std::wstring Incoming(const std::wstring& destination) { return destination + L".moving"; }

}  // namespace

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) {
  std::wstring path(folder);
  if (!EndsWithDelimiter(path)) path += L'\\';
  path += name;
  return path;
}

bool FileExists(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
  if (path.empty()) return false;
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool SameFolder(const std::wstring& a, const std::wstring& b) {
  if (a == b) return true;
  BY_HANDLE_FILE_INFORMATION ia{}, ib{};
  if (FolderIdentity(a, ia) && FolderIdentity(b, ib))
    return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber && ia.nFileIndexHigh == ib.nFileIndexHigh &&
           ia.nFileIndexLow == ib.nFileIndexLow;
  const std::wstring fa = FullPathWithoutDelimiter(a), fb = FullPathWithoutDelimiter(b);
  return CompareStringOrdinal(fa.c_str(), -1, fb.c_str(), -1, TRUE) == CSTR_EQUAL;
}

const wchar_t* DemoTextStoreName(int language) { return language == 1 ? L"text_ru.qdb" : L"text_en.qdb"; }

void CopyDemoStores(const std::wstring& programFolder, const std::wstring& storageFolder, int language,
                    bool localMode) {
  if (localMode) return;
  const std::pair<const wchar_t*, const wchar_t*> demos[] = {{DemoTextStoreName(language), kTextStoreFile},
                                                             {kImgStoreFile, kImgStoreFile}};
  for (const auto& [demo, store] : demos) {
    const std::wstring target = JoinPath(storageFolder, store);
    if (FileExists(target)) continue;
    const std::wstring source = JoinPath(programFolder, demo);
    if (FileExists(source)) CopyFileW(source.c_str(), target.c_str(), FALSE);
  }
}

void BindStores(All_DB& records, Wnd_DB& windows, const std::wstring& folder, int storeIndex, bool checkReadOnly) {
  if (checkReadOnly) records.CheckReadOnly(folder);
  const std::wstring path = JoinPath(folder, StoreFileName(storeIndex));
  // Selecting again forgets the record open in an editor: only when the file is new or another.
  const bool rebind = !FileExists(path) || records.ActiveFileName() != path;
  if (rebind) {
    records.Select(storeIndex);
    records.SetActiveFileName(path);
  }
  windows.SetFileName(JoinPath(folder, kWndStoreFile));
}

MoveResult MoveStoreFiles(const std::wstring& from, const std::wstring& to, All_DB& records, Wnd_DB& windows) {
  MoveResult result;
  std::vector<std::wstring> present;
  for (const wchar_t* name : {kTextStoreFile, kImgStoreFile, kWndStoreFile}) {
    if (!FileExists(JoinPath(from, name))) continue;
    // Whichever store holds the file open lets go of it first.
    if (name == kWndStoreFile)
      windows.WndList.Close();
    else if (Base_DB* active = records.ActiveStore())
      active->Close();
    present.push_back(name);
  }
  std::vector<std::wstring> staged;
  auto unstage = [&] {
    for (const std::wstring& name : staged) DeleteFileW(Incoming(JoinPath(to, name)).c_str());
  };
  auto fail = [&](const std::wstring& name) {
    result.ok = false;
    result.failedFile = name;
    result.error = GetLastError();
    unstage();
    return result;
  };
  for (const std::wstring& name : present) {
    const std::wstring target = JoinPath(to, name);
    if (!CopyFileW(JoinPath(from, name).c_str(), Incoming(target).c_str(), FALSE)) return fail(name);
    staged.push_back(name);
  }
  // Every copy is complete: now the destinations are replaced, and only then the old files go.
  for (std::size_t i = 0; i < staged.size(); ++i) {
    const std::wstring target = JoinPath(to, staged[i]);
    if (!MoveFileExW(Incoming(target).c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      result.ok = false;
      result.failedFile = staged[i];
      result.error = GetLastError();
      // The files already put in place keep their originals too: nothing is deleted.
      staged.erase(staged.begin(), staged.begin() + static_cast<std::ptrdiff_t>(i));
      unstage();
      return result;
    }
  }
  for (const std::wstring& name : staged) {
    DeleteFileW(JoinPath(from, name).c_str());
    result.moved.push_back(name);
  }
  return result;
}

FolderChangeResult ChangeStorageFolder(const std::wstring& oldFolder, const std::wstring& newFolder,
                                       All_DB& records, Wnd_DB& windows, const Confirm& ask) {
  FolderChangeResult result;
  if (SameFolder(oldFolder, newFolder)) return result;
  if (ask(MessageText(4), MessageText(5))) {
    result.move = MoveStoreFiles(oldFolder, newFolder, records, windows);
    result.change = result.move.ok ? FolderChange::Moved : FolderChange::Failed;
  } else {
    if (Base_DB* active = records.ActiveStore()) active->Close();
    windows.WndList.Close();
    result.change = FolderChange::Switched;
  }
  return result;
}

std::wstring MoveFailureText(const std::wstring& oldFolder, const std::wstring& newFolder, const MoveResult& move) {
  std::wstring reason;
  wchar_t* text = nullptr;
  if (FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, move.error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr) &&
      text) {
    reason = text;
    LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
      reason.pop_back();
  } else {
    reason = L"Error " + std::to_wstring(move.error);
  }
  return L"The records could not be moved, so the storage folder stays\r\n" + oldFolder + L"\r\n\r\n" +
         JoinPath(newFolder, move.failedFile) + L":\r\n" + reason;
}

bool ClearStore(All_DB& records, const std::wstring& folder, int storeIndex, const Confirm& ask) {
  const std::wstring path = JoinPath(folder, StoreFileName(storeIndex));
  Base_DB* active = records.ActiveStore();
  if (!FileExists(path) || !active || active->ReadOnly(false, false)) return false;
  if (!ask(MessageText(storeIndex == 0 ? 7 : 8), MessageText(6))) return false;
  // A store is emptied by removing its file: the next opening creates it anew, ids from 1.
  records.TextDb.Close();
  records.ImgDb.Close();
  DeleteFileW(path.c_str());
  return true;
}

}  // namespace qstore

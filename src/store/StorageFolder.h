// The storage folder: the three store files live together in it. Paths, binding the stores to
// their files, the demo stores of a first run, moving the stores to another folder and emptying
// a store. No window here: the main window's handlers call these with its fields.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qstore {

class All_DB;
class Wnd_DB;

inline constexpr const wchar_t* kTextStoreFile = L"text.qdb";
inline constexpr const wchar_t* kImgStoreFile = L"img.qdb";
inline constexpr const wchar_t* kWndStoreFile = L"wnd.qdb";

// The folder with a trailing path delimiter added if missing, followed by the name.
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
// Whether two paths name the same folder, however they are spelled (trailing delimiter, letter
// case, "..", another route to it). Moving the stores onto themselves would delete them.
bool SameFolder(const std::wstring& a, const std::wstring& b);

// The demo text store beside the program for a language index. Languages without a store of
// their own (including indexes the program does not know) get the English one.
const wchar_t* DemoTextStoreName(int language);

// First run: copies the demo stores from the program folder into the storage folder where that
// has no store of the kind yet. Nothing in local mode. Failures are ignored (the stores then
// start empty).
void CopyDemoStores(const std::wstring& programFolder, const std::wstring& storageFolder, int language,
                    bool localMode);

// Points the record stores at `folder` for the store of a list (0 text, 1 pictures) and the
// window list store at its file there. The active store is selected again (forgetting the
// record open in an editor) only when its file is missing or its path differs. With
// `checkReadOnly` the folder's writability decides whether the record stores may write.
void BindStores(All_DB& records, Wnd_DB& windows, const std::wstring& folder, int storeIndex, bool checkReadOnly);

// A Yes/No question to the user. The main window asks with a message box; tests answer directly.
using Confirm = std::function<bool(const std::wstring& text, const std::wstring& caption)>;

struct MoveResult {
  bool ok = true;
  std::wstring failedFile;  // the file that could not be copied or put in place
  DWORD error = 0;          // the system's error code for it
  std::vector<std::wstring> moved;
};

// Moves the store files present in `from` ("text.qdb", "img.qdb", "wnd.qdb") to `to`, replacing
// files of the same names there, after closing the stores that may hold them. All or nothing:
// every file is first copied beside its destination; only when all copies are in place are the
// old files deleted. When one copy fails, no old file is touched, the copies made are removed
// and the destination keeps what it had.
MoveResult MoveStoreFiles(const std::wstring& from, const std::wstring& to, All_DB& records, Wnd_DB& windows);

enum class FolderChange {
  Same,      // the chosen folder is the current one: nothing asked, nothing done
  Moved,     // the user answered Yes and the files were moved
  Switched,  // the user answered No: the stores use what the new folder holds
  Failed,    // the files could not be moved: the storage folder stays the old one
};
struct FolderChangeResult {
  FolderChange change = FolderChange::Same;
  MoveResult move;
};

// The question and the file work of changing the storage folder from `oldFolder` to `newFolder`.
// The caller keeps the new folder unless the result is Failed.
FolderChangeResult ChangeStorageFolder(const std::wstring& oldFolder, const std::wstring& newFolder,
                                       All_DB& records, Wnd_DB& windows, const Confirm& ask);

// The text of the notice shown when moving failed.
std::wstring MoveFailureText(const std::wstring& oldFolder, const std::wstring& newFolder, const MoveResult& move);

// Empties the store (0 text, 1 pictures) in `folder` by deleting its file after the user agreed.
// Nothing is asked when the file is missing or the stores are read-only. True when the user agreed
// (the list must be refilled); a file another process holds then stays, silently.
bool ClearStore(All_DB& records, const std::wstring& folder, int storeIndex, const Confirm& ask);

}  // namespace qstore

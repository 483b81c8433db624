#include "support/MainProgram.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace testsupport {

namespace {

// Mirrors the program's own constants (ui/TrayIcon.h, shared/Protocol.h) without linking them.
constexpr UINT kTrayCallback = WM_APP + 0x151;
constexpr wchar_t kTrayClass[] = L"QuilletTrayWindow";

HWND ChildOfClass(HWND parent, const wchar_t* cls, bool visibleOnly) {
  struct Search {
    const wchar_t* cls;
    bool visibleOnly;
    HWND parent;
    HWND found;
  } s{cls, visibleOnly, parent, nullptr};
  EnumChildWindows(
      parent,
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        wchar_t name[64] = {};
        GetClassNameW(w, name, 64);
        if (GetParent(w) != s->parent || _wcsicmp(name, s->cls) != 0) return TRUE;
        if (s->visibleOnly && !(GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE)) return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// The tool bar's first button: Insert on both view-mode bars.
constexpr int kInsertCommand = 1;

}  // namespace

RemoteBuffer::RemoteBuffer(DWORD processId, SIZE_T size) {
  process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer() {
  if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  if (process_) CloseHandle(process_);
}

bool RemoteBuffer::Put(const void* data, SIZE_T size, SIZE_T offset) {
  return address_ && WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
}

bool RemoteBuffer::Get(void* data, SIZE_T size, SIZE_T offset) const {
  return address_ && ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
}

bool MainProgram::Start() {
  process = ChildProcess(L"\"" + BinFolder() + L"quilletmain.exe\"");
  if (!process.started()) return false;
  if (!WaitUntil([&] {
        window = FindWindowA("TCurInsWindow", "Quillet");
        tray = FindProcessWindow(process.id(), kTrayClass);
        return window && tray;
      }))
    return false;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != process.id()) return false;
  return WaitUntil([&] {
    EnumChildWindows(
        window,
        [](HWND child, LPARAM self) -> BOOL {
          auto* p = reinterpret_cast<MainProgram*>(self);
          wchar_t cls[64] = {};
          GetClassNameW(child, cls, 64);
          if (wcscmp(cls, WC_LISTVIEWW) == 0)
            ((GetWindowLongW(child, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT ? p->textList : p->pictureList) = child;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(this));
    return textList && pictureList;
  });
}

int MainProgram::Count(HWND list) const { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

int MainProgram::Selected(HWND list) const {
  return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool MainProgram::Select(HWND list, int index) {
  RemoteBuffer buffer(process.id());
  LVITEMW item{};
  item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
  if (!buffer.Put(&item, sizeof item)) return false;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), buffer.Address());
  return Selected(list) == index;
}

std::wstring MainProgram::ItemText(HWND list, int index) {
  RemoteBuffer buffer(process.id());
  LVITEMW item{};
  item.cchTextMax = 512;
  item.pszText = reinterpret_cast<wchar_t*>(buffer.Address() + sizeof(LVITEMW));
  if (!buffer.Put(&item, sizeof item)) return {};
  const int n = static_cast<int>(SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), buffer.Address()));
  std::wstring text(static_cast<std::size_t>(std::max(n, 0)), L'\0');
  if (n > 0) buffer.Get(text.data(), n * sizeof(wchar_t), sizeof(LVITEMW));
  return text;
}

HWND MainProgram::ViewToolBar(HWND list) const { return ChildOfClass(GetParent(list), TOOLBARCLASSNAMEW, true); }

bool MainProgram::InsertEnabled(HWND list) const {
  HWND bar = ViewToolBar(list);
  return bar && SendMessageW(bar, TB_ISBUTTONENABLED, kInsertCommand, 0) != 0;
}

void MainProgram::ClickInsert(HWND list) { ClickToolButton(list, kInsertCommand); }

void MainProgram::ClickToolButton(HWND list, int place) {
  HWND bar = ChildOfClass(GetParent(list), TOOLBARCLASSNAMEW, true);
  PostMessageW(GetParent(bar), WM_COMMAND, MAKEWPARAM(place, BN_CLICKED), reinterpret_cast<LPARAM>(bar));
}

HWND MainProgram::ShownTextEditor() const {
  for (const wchar_t* cls : {L"RichEdit50W", L"RichEdit20W"})
    if (HWND editor = ChildOfClass(GetParent(textList), cls, true)) return editor;
  return nullptr;
}

void MainProgram::ClickTextPanelHeader() {
  // The panel is the list surface's parent, a child of the panel group.
  HWND panel = GetParent(GetParent(textList));
  // Sent, not posted: a caller that repeats the click must know the last one has been handled.
  DWORD_PTR result = 0;
  SendMessageTimeoutW(panel, WM_LBUTTONUP, 0, MAKELPARAM(20, 5), SMTO_NORMAL, 10000, &result);
}

bool MainProgram::PanelOpen(HWND list) const {
  // A closed panel hides the surface its list sits on.
  return (GetWindowLongW(GetParent(list), GWL_STYLE) & WS_VISIBLE) != 0;
}

void MainProgram::ClickTray() {
  PostMessageW(tray, kTrayCallback, MAKEWPARAM(600, 500), MAKELPARAM(WM_LBUTTONUP, 1));
}

bool MainProgram::ExitFromTray() {
  PostMessageW(tray, kTrayCallback, MAKEWPARAM(600, 500), MAKELPARAM(WM_CONTEXTMENU, 1));
  HWND menu = nullptr;
  if (!WaitUntil([&] {
        menu = FindWindowW(L"#32768", nullptr);
        return menu && IsWindowVisible(menu);
      }))
    return false;
  // Exit is the last item: Up from no selection wraps to it.
  PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  return process.wait(std::chrono::seconds(10)) == 0;
}

void MainProgram::PressKey(WORD virtualKey) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  HWND target = window;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndFocus) target = info.hwndFocus;
  const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
  PostMessageW(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u);
}

bool Notepad::Start() {
  process = ChildProcess(L"notepad.exe");
  if (!process.started()) return false;
  return WaitUntil([&] {
    window = FindProcessWindow(process.id(), L"Notepad");
    edit = window ? ChildOfClass(window, L"Edit", false) : nullptr;
    return edit && IsWindowVisible(window);
  });
}

std::wstring Notepad::TextOf(HWND window) {
  const int n = static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  const int got = static_cast<int>(SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return text;
}

std::wstring Notepad::Text() const { return TextOf(edit); }

void Notepad::SetText(const std::wstring& text) {
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Notepad::Select(int from, int to) { SendMessageW(edit, EM_SETSEL, from, to); }

namespace {

// Another program may hold the clipboard for a moment.
bool OpenTheClipboard() {
  return WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, std::chrono::seconds(2));
}

}  // namespace

UINT RichTextFormat() { return RegisterClipboardFormatW(L"Rich Text Format"); }

bool ClipboardHas(UINT format) { return IsClipboardFormatAvailable(format) != FALSE; }

std::wstring ClipboardText() {
  if (!OpenTheClipboard()) return {};
  std::wstring text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = p;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

std::string ClipboardRichText() {
  if (!OpenTheClipboard()) return {};
  std::string rtf;
  if (HANDLE data = GetClipboardData(RichTextFormat())) {
    if (auto* p = static_cast<const char*>(GlobalLock(data))) {
      rtf.assign(p, strnlen(p, GlobalSize(data)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return rtf;
}

SIZE ClipboardBitmapSize() {
  SIZE size{};
  if (!OpenTheClipboard()) return size;
  if (HANDLE data = GetClipboardData(CF_BITMAP)) {
    BITMAP bm{};
    if (GetObjectW(data, sizeof bm, &bm)) size = {bm.bmWidth, bm.bmHeight};
  }
  CloseClipboard();
  return size;
}

bool SetClipboardText(const std::wstring& text) {
  if (!OpenTheClipboard()) return false;
  EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool put = false;
  if (memory) {
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!put) GlobalFree(memory);
  }
  CloseClipboard();
  return put;
}

bool EmptyTheClipboard() {
  if (!OpenTheClipboard()) return false;
  const bool emptied = EmptyClipboard() != FALSE;
  CloseClipboard();
  return emptied;
}

}  // namespace testsupport

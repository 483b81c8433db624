// Not a test: the Windows side of the scripted demo (tools/demo.sh). It waits for states of the
// running programs and reads what a user would see, so that the script never sleeps blindly.
//   demo_driver wait-window CLASS [TITLE]   a visible top-level window of that class appears
//   demo_driver activate CLASS              bring it to the foreground and wait until it is there
//   demo_driver wait-foreground CLASS       wait until a window of that class has the foreground
//   demo_driver wait-text CLASS TEXT        the window's edit child holds TEXT somewhere
//   demo_driver wait-selection CLASS        the window's edit child has a selection; prints it
//   demo_driver text CLASS                  prints the edit child's text
//   demo_driver wait-new-line CLASS         the edit child's text ends with a line break
//   demo_driver bar-button capture|insert   prints the screen centre "X Y" of a title-bar button
//   demo_driver send capture|show-list      sends the bar's message for the foreground window
//   demo_driver wait-main STATE [ARG]       STATE: ready, editor (ARG: text it must hold),
//                                           list (ARG: selected index), hidden
//   demo_driver main                        prints the main window's state and its list
//   demo_driver item N                      prints the text of item N of the open list
//   demo_driver item-point N                prints the screen centre "X Y" of item N
//   demo_driver clipboard                   prints the formats and the text on the clipboard
//   demo_driver keyboard                    prints the foreground, its focus and held modifiers
// Every wait ends after 15 s with exit code 1 and a line saying what was awaited.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "shared/Caret.h"
#include "shared/Protocol.h"

namespace {

constexpr DWORD kTimeoutMs = 15000;

void Print(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), n, nullptr, nullptr);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

// Polls until the condition holds; the programs answer at their own pace.
bool WaitFor(const std::function<bool()>& condition, const std::wstring& what) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start > kTimeoutMs) {
      Print(L"timed out waiting for " + what);
      return false;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
}

HWND FindVisible(const std::wstring& cls, const wchar_t* title = nullptr) {
  HWND w = nullptr;
  while ((w = FindWindowExW(nullptr, w, cls.c_str(), title)) != nullptr)
    if (IsWindowVisible(w)) return w;
  return nullptr;
}

HWND MainWindow() { return FindWindowA(qbar::kMainWindowClass, qbar::kMainWindowTitle); }

std::wstring ClassOf(HWND w) {
  wchar_t cls[128] = {};
  GetClassNameW(w, cls, 128);
  return cls;
}

// The first descendant (a visible one unless `hiddenToo`) whose class starts with `prefix`
// (letter case ignored).
HWND FindChild(HWND parent, const std::wstring& prefix, bool hiddenToo = false) {
  struct Search {
    std::wstring prefix;
    bool hiddenToo;
    HWND found = nullptr;
  } s{prefix, hiddenToo, nullptr};
  EnumChildWindows(
      parent,
      [](HWND w, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        const std::wstring cls = ClassOf(w);
        if ((s->hiddenToo || IsWindowVisible(w)) && _wcsnicmp(cls.c_str(), s->prefix.c_str(), s->prefix.size()) == 0) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::wstring WindowText(HWND w) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return L"";
  std::wstring text(length + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(w, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000, &got);
  text.resize(got);
  return text;
}

std::wstring EditText(const std::wstring& cls) {
  HWND top = FindVisible(cls);
  HWND edit = top ? FindChild(top, L"Edit") : nullptr;
  return edit ? WindowText(edit) : L"";
}

// A list view of another process, read through a buffer allocated in that process.
class RemoteList {
 public:
  explicit RemoteList(HWND list) : list_(list) {
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) buffer_ = VirtualAllocEx(process_, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteList() {
    if (buffer_) VirtualFreeEx(process_, buffer_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteList(const RemoteList&) = delete;
  RemoteList& operator=(const RemoteList&) = delete;

  int Count() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }
  int Selected() const { return static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)); }
  // The screen point in the middle of an item's label.
  POINT Centre(int index) {
    POINT p{};
    if (!buffer_) return p;
    RECT r{LVIR_LABEL, 0, 0, 0};
    WriteProcessMemory(process_, buffer_, &r, sizeof r, nullptr);
    if (!SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer_))) return p;
    ReadProcessMemory(process_, buffer_, &r, sizeof r, nullptr);
    p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(list_, &p);
    return p;
  }
  std::wstring Text(int index) {
    if (!buffer_) return L"";
    LVITEMW item{};
    item.cchTextMax = 1000;
    item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(buffer_) + sizeof(LVITEMW));
    WriteProcessMemory(process_, buffer_, &item, sizeof item, nullptr);
    const int n = static_cast<int>(SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer_)));
    std::wstring text(static_cast<size_t>(n), L'\0');
    ReadProcessMemory(process_, item.pszText, text.data(), static_cast<SIZE_T>(n) * sizeof(wchar_t), nullptr);
    return text;
  }

 private:
  HWND list_;
  HANDLE process_ = nullptr;
  void* buffer_ = nullptr;
};

struct MainState {
  bool shown = false;
  HWND editor = nullptr;  // the visible compact rich edit, if any
  HWND list = nullptr;    // the visible list view, if any
};

MainState ReadMain() {
  MainState s;
  HWND main = MainWindow();
  if (!main) return s;
  s.shown = IsWindowVisible(main);
  s.editor = FindChild(main, L"RichEdit");
  s.list = FindChild(main, L"SysListView32");
  return s;
}

std::wstring OneLine(std::wstring text) {
  for (wchar_t& c : text)
    if (c == L'\r' || c == L'\n') c = L' ';
  return text;
}

int PrintMain() {
  const MainState s = ReadMain();
  if (!MainWindow()) {
    Print(L"main window: not running");
    return 1;
  }
  Print(std::wstring(L"main window: ") + (s.shown ? L"shown" : L"hidden"));
  if (s.editor) Print(L"editor open: \"" + OneLine(WindowText(s.editor)) + L"\"");
  if (s.list) {
    RemoteList list(s.list);
    const int n = list.Count();
    Print(L"list: " + std::to_wstring(n) + L" clips, selected " + std::to_wstring(list.Selected()));
    for (int i = 0; i < n && i < 5; ++i) Print(L"  " + std::to_wstring(i) + L": " + OneLine(list.Text(i)));
  }
  return 0;
}

bool BarButtonCentre(bool capture, POINT& centre) {
  HWND bar = FindWindowA(qbar::kBarWindowClass, qbar::kBarWindowTitle);
  if (!bar || !IsWindowVisible(bar)) return false;
  RECT r{};
  GetWindowRect(bar, &r);
  if (r.right <= r.left) return false;
  // The capture button is the left half of the bar, the insert button the right half.
  const int half = (r.right - r.left) / 2;
  centre.x = capture ? r.left + half / 2 : r.left + half + half / 2;
  centre.y = (r.top + r.bottom) / 2;
  return true;
}

int PrintClipboard() {
  if (!OpenClipboard(nullptr)) return 1;
  std::wstring formats;
  for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) {
    wchar_t name[128] = {};
    if (!GetClipboardFormatNameW(f, name, 128)) swprintf(name, 128, L"%u", f);
    formats += (formats.empty() ? L"" : L", ") + std::wstring(name);
  }
  Print(L"clipboard formats: " + formats);
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
      Print(L"clipboard text: \"" + OneLine(p) + L"\"");
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring cmd = argv[1];
  const std::wstring a = argc > 2 ? argv[2] : L"";
  const std::wstring b = argc > 3 ? argv[3] : L"";

  if (cmd == L"wait-window") {
    return WaitFor([&] { return FindVisible(a, argc > 3 ? b.c_str() : nullptr) != nullptr; }, L"a window " + a) ? 0 : 1;
  }
  if (cmd == L"activate") {
    HWND w = nullptr;
    if (!WaitFor([&] { return (w = FindVisible(a)) != nullptr; }, L"a window " + a)) return 1;
    return WaitFor(
               [&] {
                 if (GetForegroundWindow() == w) return true;
                 SetForegroundWindow(w);
                 return false;
               },
               L"the foreground for " + a)
               ? 0
               : 1;
  }
  if (cmd == L"wait-foreground") {
    return WaitFor([&] { return ClassOf(GetForegroundWindow()) == a; }, L"the foreground for " + a) ? 0 : 1;
  }
  if (cmd == L"wait-text") {
    return WaitFor([&] { return EditText(a).find(b) != std::wstring::npos; }, L"\"" + b + L"\" in " + a) ? 0 : 1;
  }
  if (cmd == L"wait-new-line") {
    return WaitFor(
               [&] {
                 const std::wstring text = EditText(a);
                 return text.size() >= 2 && text.compare(text.size() - 2, 2, L"\r\n") == 0;
               },
               L"an empty last line in " + a)
               ? 0
               : 1;
  }
  if (cmd == L"text") {
    Print(EditText(a));
    return 0;
  }
  if (cmd == L"wait-selection") {
    std::wstring selected;
    const bool ok = WaitFor(
        [&] {
          HWND top = FindVisible(a);
          HWND edit = top ? FindChild(top, L"Edit") : nullptr;
          if (!edit) return false;
          DWORD from = 0, to = 0;
          SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
          if (to <= from) return false;
          selected = WindowText(edit).substr(from, to - from);
          return true;
        },
        L"a selection in " + a);
    if (ok) Print(selected);
    return ok ? 0 : 1;
  }
  if (cmd == L"bar-button") {
    POINT p{};
    if (!WaitFor([&] { return BarButtonCentre(a == L"capture", p); }, L"the title-bar buttons")) return 1;
    Print(std::to_wstring(p.x) + L" " + std::to_wstring(p.y));
    return 0;
  }
  if (cmd == L"send") {
    HWND main = MainWindow();
    HWND target = GetForegroundWindow();
    if (!main || !target) return 1;
    const POINT caret = CaretScreenPosition(target);
    const UINT msg = a == L"capture" ? qbar::QBM_CAPTURE : qbar::QBM_SHOW_LIST;
    SendMessageA(main, msg, reinterpret_cast<WPARAM>(target), qbar::PackCaretPoint(caret.x, caret.y));
    return 0;
  }
  if (cmd == L"wait-main") {
    // Started: the first idle moment has hidden the window and the text list is filled.
    if (a == L"ready")
      return WaitFor(
                 [] {
                   HWND main = MainWindow();
                   HWND list = main ? FindChild(main, L"SysListView32", true) : nullptr;
                   return list && !IsWindowVisible(main) && SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) > 0;
                 },
                 L"the main program to start")
                 ? 0
                 : 1;
    if (a == L"hidden") return WaitFor([] { return !ReadMain().shown; }, L"the main window to hide") ? 0 : 1;
    if (a == L"editor")
      return WaitFor(
                 [&] {
                   const MainState s = ReadMain();
                   return s.shown && s.editor && WindowText(s.editor).find(b) != std::wstring::npos;
                 },
                 L"the editor to hold \"" + b + L"\"")
                 ? 0
                 : 1;
    if (a == L"list") {
      const int index = b.empty() ? -1 : std::stoi(b);
      return WaitFor(
                 [&] {
                   const MainState s = ReadMain();
                   if (!s.shown || s.editor || !s.list) return false;
                   return index < 0 || RemoteList(s.list).Selected() == index;
                 },
                 L"the list with item " + b + L" selected")
                 ? 0
                 : 1;
    }
    return 2;
  }
  if (cmd == L"main") return PrintMain();
  if (cmd == L"keyboard") {
    HWND fg = GetForegroundWindow();
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(fg, nullptr), &info);
    Print(L"foreground " + ClassOf(fg) + L", focus " + ClassOf(info.hwndFocus) + L", ctrl " +
          std::to_wstring(GetAsyncKeyState(VK_CONTROL) < 0) + L", shift " + std::to_wstring(GetAsyncKeyState(VK_SHIFT) < 0) +
          L", alt " + std::to_wstring(GetAsyncKeyState(VK_MENU) < 0));
    return 0;
  }
  if (cmd == L"item") {
    const MainState s = ReadMain();
    if (!s.list) return 1;
    Print(RemoteList(s.list).Text(std::stoi(a)));
    return 0;
  }
  if (cmd == L"item-point") {
    const MainState s = ReadMain();
    if (!s.list) return 1;
    const POINT p = RemoteList(s.list).Centre(std::stoi(a));
    Print(std::to_wstring(p.x) + L" " + std::to_wstring(p.y));
    return 0;
  }
  if (cmd == L"clipboard") return PrintClipboard();
  return 2;
}

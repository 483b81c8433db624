// How much of one processor core qlt_bar.exe uses while it keeps its bar on Wine's notepad in
// front, over a measured period (30 s unless a number of seconds is given). The baseline is
// notepad itself over the same period: an idle program in the same session.
//
// The bench plays the main window ("TCurInsWindow", "Quillet") so that the companion starts no
// main program of its own.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>

#include "shared/Protocol.h"

namespace {

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

template <class Condition>
bool WaitFor(Condition condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Pump();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return true;
}

struct Process {
  PROCESS_INFORMATION info{};
  bool Start(std::wstring line) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &info)) return false;
    CloseHandle(info.hThread);
    return true;
  }
  ~Process() {
    if (!info.hProcess) return;
    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hProcess);
  }
  // Processor time used so far, in seconds.
  double CpuSeconds() const {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(info.hProcess, &created, &ended, &kernel, &user)) return 0;
    auto seconds = [](FILETIME t) { return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7; };
    return seconds(kernel) + seconds(user);
  }
};

HWND WindowOf(DWORD processId, const wchar_t* className) {
  struct Search { DWORD pid; const wchar_t* cls; HWND found; } search{processId, className, nullptr};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        wchar_t cls[256];
        GetClassNameW(w, cls, 256);
        if (pid != s->pid || std::wcscmp(cls, s->cls) != 0) return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring BinFolder() {
  wchar_t path[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  std::wstring s(path, n);
  return s.substr(0, s.find_last_of(L"\\/") + 1);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int seconds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 30;

  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TCurInsWindow";
  RegisterClassW(&wc);
  HWND main = CreateWindowExW(0, L"TCurInsWindow", L"Quillet", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);

  Process notepad;
  HWND notepadWindow = nullptr;
  if (!notepad.Start(L"notepad.exe") ||
      !WaitFor([&] { return (notepadWindow = WindowOf(notepad.info.dwProcessId, L"Notepad")) != nullptr; }, 10000)) {
    std::printf("bench_companion: notepad did not start\n");
    return 1;
  }
  WaitFor([&] { SetForegroundWindow(notepadWindow); return GetForegroundWindow() == notepadWindow; }, 5000);

  Process companion;
  HWND bar = nullptr;
  if (!companion.Start(L"\"" + BinFolder() + L"qlt_bar.exe\"") ||
      !WaitFor([&] { return (bar = WindowOf(companion.info.dwProcessId, L"qbar_base")) && IsWindowVisible(bar); }, 10000)) {
    std::printf("bench_companion: the bar did not appear on notepad\n");
    return 1;
  }

  const double companionBefore = companion.CpuSeconds(), notepadBefore = notepad.CpuSeconds();
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  WaitFor([] { return false; }, static_cast<DWORD>(seconds) * 1000);
  QueryPerformanceCounter(&end);
  const double wall = static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
  const double companionShare = (companion.CpuSeconds() - companionBefore) / wall;
  const double notepadShare = (notepad.CpuSeconds() - notepadBefore) / wall;
  const bool stillThere = IsWindowVisible(bar) && GetForegroundWindow() == notepadWindow;

  std::printf("companion over %.1f s with notepad in front (bar %s):\n", wall, stillThere ? "on notepad" : "LOST");
  std::printf("  qlt_bar.exe   %6.2f %% of one core\n", companionShare * 100);
  std::printf("  notepad.exe   %6.2f %% of one core (baseline, idle)\n", notepadShare * 100);
  DestroyWindow(main);
  return stillThere ? 0 : 1;
}

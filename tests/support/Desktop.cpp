#include "support/Desktop.h"

#include <tlhelp32.h>

#include <thread>
#include <utility>
#include <vector>

namespace testsupport {

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return condition();
    PumpMessages();
    // Wake on our own messages at once, otherwise poll again shortly.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 15, QS_ALLINPUT);
  }
}

ChildProcess::ChildProcess(const std::wstring& commandLine, const std::wstring& folder) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');
  if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    id_ = pi.dwProcessId;
  }
}

ChildProcess::~ChildProcess() { terminate(); }

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), id_(std::exchange(other.id_, 0)) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    terminate();
    process_ = std::exchange(other.process_, nullptr);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

bool ChildProcess::running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

DWORD ChildProcess::wait(std::chrono::milliseconds timeout) {
  if (!process_) return STILL_ACTIVE;
  const auto end = std::chrono::steady_clock::now() + timeout;
  // Keep pumping: the child may be sending messages to a window of ours.
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    const DWORD r = MsgWaitForMultipleObjects(1, &process_, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) break;
    PumpMessages();
  }
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_, &code);
  return code;
}

void ChildProcess::terminate() {
  if (!process_) return;
  if (running()) {
    TerminateProcess(process_, 255);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
  process_ = nullptr;
  id_ = 0;
}

std::wstring BinFolder() {
  wchar_t path[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  std::wstring s(path, n);
  return s.substr(0, s.find_last_of(L"\\/") + 1);
}

HWND FindProcessWindow(DWORD processId, const wchar_t* className) {
  struct Search { DWORD pid; const wchar_t* cls; HWND found; } search{processId, className, nullptr};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid != s->pid) return TRUE;
        if (s->cls) {
          wchar_t cls[256];
          GetClassNameW(w, cls, 256);
          if (wcscmp(cls, s->cls) != 0) return TRUE;
        }
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool ActivateAndWait(HWND window, std::chrono::milliseconds timeout) {
  return WaitUntil(
      [&] {
        if (GetForegroundWindow() == window) return true;
        SetForegroundWindow(window);
        return GetForegroundWindow() == window;
      },
      timeout);
}

void KillProcessesNamed(const wchar_t* exeName) {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32W pe{};
  pe.dwSize = sizeof pe;
  for (BOOL ok = Process32FirstW(snap, &pe); ok; ok = Process32NextW(snap, &pe)) {
    if (_wcsicmp(pe.szExeFile, exeName) != 0) continue;
    if (HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pe.th32ProcessID)) {
      TerminateProcess(h, 255);
      WaitForSingleObject(h, 5000);
      CloseHandle(h);
    }
  }
  CloseHandle(snap);
}

}  // namespace testsupport

// What end-to-end tests share: waiting for a condition, starting and ending real programs,
// and finding their windows.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

namespace testsupport {

// Polls `condition` (pumping this thread's messages between polls) until it holds or `timeout`
// runs out. Returns whether it held. Never a bare sleep: a fast condition returns at once.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Pumps this thread's messages for a while; for windows the test itself owns.
void PumpMessages();

// A program started by the test and ended with it (terminated if still running).
class ChildProcess {
 public:
  ChildProcess() = default;
  // `commandLine` is passed as is; `folder` is the working folder (empty: the test's own).
  explicit ChildProcess(const std::wstring& commandLine, const std::wstring& folder = L"");
  ~ChildProcess();
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return process_ != nullptr; }
  DWORD id() const { return id_; }
  HANDLE handle() const { return process_; }
  bool running() const;
  // Waits for the end; returns the exit code, or STILL_ACTIVE when the wait timed out.
  DWORD wait(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  void terminate();

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// The folder of the test program, which is build/bin: where the programs under test lie.
std::wstring BinFolder();

// First visible-or-not top-level window of a process with this class (null: any class).
HWND FindProcessWindow(DWORD processId, const wchar_t* className);

// Brings `window` to the foreground and waits until it really is there (activation is
// asynchronous under Wine and refused on Windows without the right to it).
bool ActivateAndWait(HWND window, std::chrono::milliseconds timeout = std::chrono::seconds(5));

// Ends every process of this name still running in the prefix (after a failed test).
void KillProcessesNamed(const wchar_t* exeName);

}  // namespace testsupport

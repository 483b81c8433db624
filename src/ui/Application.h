// The one application object: message loop with idle notifications, the exception event and
// the hand-over of work from worker threads to the user-interface thread.
#pragma once

#include <windows.h>

#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace ui {

class Form;

class Application {
 public:
  static Application& Instance();

  std::wstring Title;
  std::wstring HelpFile;

  // Receives every exception that escapes an event handler or a window procedure. Without a
  // handler the exception is discarded.
  std::function<void(std::exception_ptr)> OnException;
  void HandleException(std::exception_ptr e) noexcept;

  // Runs once each time the message queue has been emptied. The handler sets `done` to false
  // when it has more work, so that it runs again before the loop waits for a message.
  std::function<void(bool& done)> OnIdle;

  // Called at idle before OnIdle: the action lists' update handlers.
  int AddIdleUpdater(std::function<void()> updater);
  void RemoveIdleUpdater(int id);

  // Keyboard messages pass these filters before they are dispatched; a filter that returns
  // true has consumed the message (shortcuts, key preview).
  int AddKeyFilter(std::function<bool(MSG&)> filter);
  void RemoveKeyFilter(int id);

  // A hidden top-level window standing for the application (foreground hand-over).
  HWND Handle() const { return appWindow_; }

  // Main form: when it closes, the loop ends.
  Form* MainForm = nullptr;

  // Runs the loop until Terminate; returns the quit code.
  int Run();
  void Terminate(int code = 0);
  bool Terminated() const { return terminated_; }

  // Dispatches every waiting message without idle notifications.
  void ProcessMessages();

  // Runs `work` on the user-interface thread and waits for it; an exception it raises is
  // raised again in the caller. On the user-interface thread it runs at once.
  void Synchronize(const std::function<void()>& work);
  // Waits for a thread to end while still serving its Synchronize calls.
  void WaitForThread(HANDLE thread);
  bool IsMainThread() const { return GetCurrentThreadId() == mainThread_; }

 private:
  Application();
  bool ProcessOne(MSG& msg);
  void Idle();
  void RunSynchronized();
  static LRESULT CALLBACK SyncProc(HWND w, UINT m, WPARAM wp, LPARAM lp);

  struct SyncCall {
    const std::function<void()>* work;
    std::exception_ptr error;
    HANDLE done;
  };

  DWORD mainThread_;
  HANDLE syncPending_;
  HWND syncWindow_ = nullptr;
  bool terminated_ = false;
  int exitCode_ = 0;
  HWND appWindow_ = nullptr;
  int nextId_ = 1;
  std::vector<std::pair<int, std::function<void()>>> idleUpdaters_;
  std::vector<std::pair<int, std::function<bool(MSG&)>>> keyFilters_;
  std::mutex syncLock_;  // guards only the hand-over queue between threads
  std::deque<SyncCall*> syncQueue_;
};

// Runs `f`, handing any exception to the application's exception event.
template <class F>
void Guarded(F&& f) noexcept {
  try {
    f();
  } catch (...) {
    Application::Instance().HandleException(std::current_exception());
  }
}

}  // namespace ui

#include "ui/Application.h"

namespace ui {

namespace {
constexpr UINT kSyncMessage = WM_APP + 0x3F0;
constexpr wchar_t kSyncClass[] = L"QuilletSynchronize";
}  // namespace

Application& Application::Instance() {
  static Application app;
  return app;
}

Application::Application()
    : mainThread_(GetCurrentThreadId()), syncPending_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &Application::SyncProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kSyncClass;
  RegisterClassW(&wc);
  wc.lpfnWndProc = DefWindowProcW;
  wc.lpszClassName = L"QuilletApplication";
  RegisterClassW(&wc);
  // Hidden, never shown: it stands for the program when the foreground is handed back.
  appWindow_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"QuilletApplication", L"Quillet", WS_POPUP, 0, 0, 0, 0, nullptr,
                               nullptr, wc.hInstance, nullptr);
  syncWindow_ = CreateWindowExW(0, kSyncClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                wc.hInstance, nullptr);
}

void Application::HandleException(std::exception_ptr e) noexcept {
  if (!OnException) return;
  try {
    OnException(e);
  } catch (...) {
    // The exception event itself must never take the loop down.
  }
}

int Application::AddIdleUpdater(std::function<void()> updater) {
  idleUpdaters_.emplace_back(nextId_, std::move(updater));
  return nextId_++;
}

void Application::RemoveIdleUpdater(int id) {
  std::erase_if(idleUpdaters_, [id](auto& u) { return u.first == id; });
}

int Application::AddKeyFilter(std::function<bool(MSG&)> filter) {
  keyFilters_.emplace_back(nextId_, std::move(filter));
  return nextId_++;
}

void Application::RemoveKeyFilter(int id) {
  std::erase_if(keyFilters_, [id](auto& f) { return f.first == id; });
}

bool Application::ProcessOne(MSG& msg) {
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    exitCode_ = static_cast<int>(msg.wParam);
    return true;
  }
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
    auto filters = keyFilters_;
    for (auto& filter : filters) {
      bool consumed = false;
      Guarded([&] { consumed = filter.second(msg); });
      if (consumed) return true;
    }
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return true;
}

void Application::ProcessMessages() {
  MSG msg;
  while (ProcessOne(msg)) {
    if (terminated_) {
      // Keep the quit request for the loop that owns it.
      PostQuitMessage(exitCode_);
      break;
    }
  }
}

void Application::Idle() {
  auto updaters = idleUpdaters_;
  for (auto& updater : updaters) Guarded(updater.second);
}

int Application::Run() {
  MSG msg;
  while (!terminated_) {
    if (ProcessOne(msg)) continue;
    bool done = true;
    Idle();
    if (OnIdle) Guarded([&] { OnIdle(done); });
    if (done && !terminated_) WaitMessage();
  }
  return exitCode_;
}

void Application::Terminate(int code) {
  PostQuitMessage(code);
}

void Application::Synchronize(const std::function<void()>& work) {
  if (IsMainThread()) {
    work();
    return;
  }
  SyncCall call{&work, nullptr, CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  {
    std::lock_guard<std::mutex> lock(syncLock_);
    syncQueue_.push_back(&call);
  }
  SetEvent(syncPending_);
  PostMessageW(syncWindow_, kSyncMessage, 0, 0);
  WaitForSingleObject(call.done, INFINITE);
  CloseHandle(call.done);
  if (call.error) std::rethrow_exception(call.error);
}

void Application::RunSynchronized() {
  ResetEvent(syncPending_);
  for (;;) {
    SyncCall* call = nullptr;
    {
      std::lock_guard<std::mutex> lock(syncLock_);
      if (syncQueue_.empty()) return;
      call = syncQueue_.front();
      syncQueue_.pop_front();
    }
    try {
      (*call->work)();
    } catch (...) {
      call->error = std::current_exception();
    }
    SetEvent(call->done);
  }
}

void Application::WaitForThread(HANDLE thread) {
  HANDLE handles[2] = {thread, syncPending_};
  for (;;) {
    RunSynchronized();
    const DWORD r = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
    if (r != WAIT_OBJECT_0 + 1) break;
  }
  RunSynchronized();
}

LRESULT CALLBACK Application::SyncProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == kSyncMessage) {
    Instance().RunSynchronized();
    return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}

}  // namespace ui

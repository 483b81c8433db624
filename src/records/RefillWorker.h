// The refill worker: a thread that only paces the list refills. Each pass runs on the
// user-interface thread through the hand-over given at construction; the worker waits for it.
#pragma once

#include <windows.h>

#include <functional>

class TThr {
 public:
  // Runs `work` on the user-interface thread and returns when it is done.
  using Synchronizer = std::function<void(const std::function<void()>& work)>;
  // Waits on the user-interface thread for the worker to end, still serving its hand-overs.
  using Joiner = std::function<void(HANDLE thread)>;

  // The thread starts waiting for its first wake-up (the first pass runs at once when woken,
  // every later one 50 ms after its wake-up). `pass` is one refill pass.
  TThr(std::function<void()> pass, Synchronizer synchronize, Joiner join);
  ~TThr();
  TThr(const TThr&) = delete;
  TThr& operator=(const TThr&) = delete;

  // A wake-up is never lost: one that arrives during a pass (or before the worker waits again)
  // makes it run one more pass. Several before it waits count as one.
  void Wake();
  // Raises StopCount before waking the worker, so that it ends instead of starting another pass,
  // and waits until it has ended. Harmless when already stopped.
  void Stop();

  LONG StopCount() const { return InterlockedCompareExchange(const_cast<LONG*>(&stopCount_), 0, 0); }

 private:
  static DWORD WINAPI Execute(void* self);
  void Run();

  std::function<void()> pass_;
  Synchronizer synchronize_;
  Joiner join_;
  HANDLE wake_ = nullptr;  // auto-reset event: the wake-up that cannot be lost
  HANDLE thread_ = nullptr;
  LONG stopCount_ = 0;
};

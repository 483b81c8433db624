#include "records/RefillWorker.h"

#include <stdexcept>

TThr::TThr(std::function<void()> pass, Synchronizer synchronize, Joiner join)
    : pass_(std::move(pass)), synchronize_(std::move(synchronize)), join_(std::move(join)) {
  wake_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (!wake_) throw std::runtime_error("Cannot create the refill worker's event");
  thread_ = CreateThread(nullptr, 0, &TThr::Execute, this, 0, nullptr);
  if (!thread_) {
    CloseHandle(wake_);
    throw std::runtime_error("Cannot start the refill worker");
  }
}

TThr::~TThr() {
  Stop();
  CloseHandle(wake_);
}

void TThr::Wake() { SetEvent(wake_); }

void TThr::Stop() {
  if (!thread_) return;
  InterlockedIncrement(&stopCount_);
  SetEvent(wake_);
  if (join_)
    join_(thread_);
  else
    WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  thread_ = nullptr;
}

DWORD WINAPI TThr::Execute(void* self) {
  static_cast<TThr*>(self)->Run();
  return 0;
}

void TThr::Run() {
  WaitForSingleObject(wake_, INFINITE);
  while (StopCount() == 0) {
    try {
      // A stop requested while the hand-over waited for the user-interface thread wins.
      synchronize_([this] {
        if (StopCount() == 0) pass_();
      });
    } catch (...) {
      // The pass guards itself; anything else must not end the worker.
    }
    WaitForSingleObject(wake_, INFINITE);
    Sleep(50);  // pacing of the passes, not synchronisation
  }
  InterlockedExchange(&stopCount_, 0);
}

#include "ui/Timer.h"

namespace ui {

namespace {
constexpr wchar_t kTimerClass[] = L"QuilletTimer";
constexpr UINT_PTR kTimerId = 1;
}  // namespace

Timer::Timer(Component* owner, std::wstring name, unsigned intervalMs)
    : Component(owner, std::move(name)), interval_(intervalMs) {
  RegisterWindowClass(kTimerClass, 0);
  CreateOwn(0, kTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
}

Timer::~Timer() { SetEnabled(false); }

void Timer::SetInterval(unsigned ms) {
  interval_ = ms;
  if (enabled_) SetTimer(hwnd_, kTimerId, interval_, nullptr);
}

void Timer::SetEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  if (on)
    SetTimer(hwnd_, kTimerId, interval_, nullptr);
  else if (hwnd_)
    KillTimer(hwnd_, kTimerId);
}

LRESULT Timer::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && wp == kTimerId) {
    if (OnTimer) OnTimer(*this);
    return 0;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace ui

// A window timer with an interval and an event, running on the user-interface thread.
#pragma once

#include "ui/Component.h"
#include "ui/Window.h"

#include <functional>

namespace ui {

class Timer : public Component, public Window {
 public:
  Timer(Component* owner, std::wstring name, unsigned intervalMs = 1000);
  ~Timer() override;

  std::function<void(Timer&)> OnTimer;
  void SetInterval(unsigned ms);
  unsigned Interval() const { return interval_; }
  void SetEnabled(bool on);
  bool Enabled() const { return enabled_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  unsigned interval_;
  bool enabled_ = false;
};

}  // namespace ui

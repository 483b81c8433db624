// The record lists: a list view that never shows a horizontal scroll bar and carries the flag
// that asks the idle machine for a refill.
#pragma once

#include "ui/Control.h"

#include <functional>

namespace ui {

class ListView : public Control {
 public:
  enum class Kind { Report, Icons };
  ListView(Component* owner, std::wstring name, HWND parent, Kind kind);

  // Set when the list's store may have changed; a refill clears it.
  bool NeedUpdate = true;
  // Always false here: the bar is suppressed whenever the system recalculates the frame.
  bool ShowHorizScroll = false;

  int ItemCount() const;
  int SelectedIndex() const;  // -1 when nothing is selected
  void SelectItem(int index);  // also focuses and scrolls it into view

  // A double click anywhere in the list (the first click has already set the selection).
  std::function<void(ListView& sender)> OnDblClick;

  bool Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace ui

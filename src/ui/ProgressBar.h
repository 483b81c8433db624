// A thin progress bar with its own colours (themes would override them, so it is unthemed).
#pragma once

#include "ui/Control.h"

namespace ui {

class ProgressBar : public Control {
 public:
  ProgressBar(Component* owner, std::wstring name, HWND parent, COLORREF bar, COLORREF background);
  void SetRange(int max);
  void SetPosition(int pos);
  void StepIt();
};

}  // namespace ui

// A plain multi-line edit box.
#pragma once

#include "ui/Control.h"

namespace ui {

class Memo : public Control {
 public:
  Memo(Component* owner, std::wstring name, HWND parent, HFONT font);
  bool Modified() const;
  void SetModified(bool m);
};

}  // namespace ui

// A rich-text editor control (the system's newest rich edit available).
#pragma once

#include "ui/Control.h"

namespace ui {

class RichEdit : public Control {
 public:
  RichEdit(Component* owner, std::wstring name, HWND parent, HFONT font);

  bool Modified() const;
  void SetModified(bool m);
  void SetReadOnly(bool r);
};

}  // namespace ui

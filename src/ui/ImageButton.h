// A flat button drawn from three pictures of an image list: normal, under the mouse, pressed.
#pragma once

#include "ui/Control.h"

namespace ui {

class ImageList;

class ImageButton : public Control {
 public:
  ImageButton(Component* owner, std::wstring name, HWND parent, ImageList& images, int normal, int hot, int down);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  ImageList& images_;
  int normal_, hot_, down_;
  bool over_ = false, pressed_ = false;
};

}  // namespace ui

// A picture stretched to fit its box, keeping its proportions.
#pragma once

#include "ui/Control.h"
#include "ui/Handles.h"

namespace ui {

class PictureView : public Control {
 public:
  PictureView(Component* owner, std::wstring name, HWND parent);

  // Takes ownership of `bitmap` (null clears the view).
  void SetBitmap(HBITMAP bitmap);
  HBITMAP Bitmap() const { return bitmap_.get(); }
  bool Modified = false;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  BitmapHandle bitmap_;
};

}  // namespace ui

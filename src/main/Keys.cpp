// The main window's keyboard: the form sees keys before its controls.
#include "main/CurInsWindow.h"

void TCurInsWindow::FormKeyDown(WORD& key, ui::ShiftState shift) {
  if (shift & ui::kAlt) {
    // Hide, and leave the key to the system.
    if (key == VK_F4) HideWindow();
    return;
  }
  if (shift & (ui::kShift | ui::kCtrl)) return;
  switch (key) {
    case VK_ESCAPE:
      if (LV_Text->CanFocus() || LV_Img->CanFocus()) {
        HideWindow();
      } else {
        A_Cancel->ActionComponent = nullptr;
        A_Cancel->Execute();
      }
      key = 0;
      break;
    case VK_RETURN: {
      A_VurivuZu->Update();
      if (!A_VurivuZu->Enabled()) break;
      const bool textSide = ActiveList == LV_Text && ActiveTextEditor && !ActiveTextEditor->CanFocus();
      const bool pictureSide = ActiveList == LV_Img && !IDB_Img->CanFocus();
      if (textSide || pictureSide) {
        A_VurivuZu->ActionComponent = nullptr;
        A_VurivuZu->Execute();
        key = 0;
      }
      break;
    }
    case VK_DELETE: {
      A_Delete->Update();
      if (!A_Delete->Enabled()) break;
      const bool textSide = ActiveList == LV_Text && ActiveTextEditor && !ActiveTextEditor->Focused();
      const bool pictureSide = ActiveList == LV_Img && !E_ImgComment->Focused();
      if (textSide || pictureSide) {
        A_Delete->ActionComponent = nullptr;
        A_Delete->Execute();
        key = 0;
      }
      break;
    }
  }
}

// The notification-area icon: hint, picture from an image list, popup menu on the right button,
// mouse-up events, and re-adding itself when the taskbar restarts.
#pragma once

#include "ui/Component.h"
#include "ui/Handles.h"
#include "ui/Window.h"

#include <functional>
#include <string>

namespace ui {

class ImageList;
class PopupMenu;

// The callback message the icon's window receives (lParam low word: the mouse message).
inline constexpr UINT kTrayCallbackMessage = WM_APP + 0x151;
// Class of the icon's hidden top-level window.
inline constexpr wchar_t kTrayWindowClass[] = L"QuilletTrayWindow";

enum class MouseButton { Left, Right, Middle };

class TrayIcon : public Component, public Window {
 public:
  TrayIcon(Component* owner, std::wstring name);
  ~TrayIcon() override;

  ImageList* Icons = nullptr;
  PopupMenu* Menu = nullptr;
  std::function<void(MouseButton button, int x, int y)> OnMouseUp;

  void SetVisible(bool v);
  bool Visible() const { return visible_; }
  void SetHint(const std::wstring& hint);
  const std::wstring& Hint() const { return hint_; }
  // Picture `index` of Icons.
  void SetIconIndex(int index);
  int IconIndex() const { return iconIndex_; }

  bool SetStringProperty(std::wstring_view property, const std::wstring& value) override;
  std::optional<std::wstring> GetStringProperty(std::wstring_view property) const override;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool Notify(DWORD message);
  std::wstring hint_;
  int iconIndex_ = 0;
  IconHandle icon_;
  bool visible_ = false;
  bool added_ = false;
  bool version4_ = false;
  UINT taskbarCreated_;
};

}  // namespace ui

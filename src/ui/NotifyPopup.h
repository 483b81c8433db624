// Small notices that slide up from the bottom-right corner of the work area of a monitor, with
// a title, a centred text that can be a link, and a gradient background. Several cascade.
#pragma once

#include "ui/Component.h"
#include "ui/Handles.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

struct PopupFont {
  std::wstring face = L"Tahoma";
  int pixels = 11;
  bool bold = false;
  bool underline = false;
  COLORREF color = RGB(0, 0, 0);
};

class NotifyPopup : public Component {
 public:
  NotifyPopup(Component* owner, std::wstring name);
  ~NotifyPopup() override;

  PopupFont TitleFont{L"Tahoma", 11, true, false, RGB(0, 0, 0)};
  PopupFont TextFont{L"Tahoma", 11, false, true, RGB(0, 0, 0)};
  PopupFont HoverFont{L"Tahoma", 11, false, true, RGB(0, 0, 255)};
  bool TextCentred = true;
  bool HandCursorOverText = true;
  COLORREF GradientFrom = RGB(153, 204, 255);
  COLORREF GradientTo = RGB(255, 255, 255);
  HBITMAP BackgroundPicture = nullptr;  // fitted over the background when set (not owned)
  HICON Icon = nullptr;                 // not owned
  POINT IconPosition{8, 4};
  int ScrollSpeed = 9;  // pixels per animation step
  int Margin = 1;
  int StartOffsetX = 6, StartOffsetY = 1;
  int Width = 220, Height = 90;
  unsigned ShowMilliseconds = 8000;
  bool OpenLinkOnClick = true;
  bool Cascade = true;
  bool AllowScroll = true;
  bool AllowHyperlink = true;
  // The popup appears on the monitor of this window (the active form); the primary one without.
  HWND MonitorOf = nullptr;

  std::wstring URL;
  // Opens the link; the default asks the shell to open it.
  std::function<void(const std::wstring& url)> OnOpenLink;

  void ShowPopup(const std::wstring& title, const std::wstring& text);
  void ClosePopups();
  int OpenCount() const;

  bool SetStringProperty(std::wstring_view property, const std::wstring& value) override;
  std::optional<std::wstring> GetStringProperty(std::wstring_view property) const override;

 private:
  class PopupWindow;
  std::vector<std::unique_ptr<PopupWindow>> popups_;
};

}  // namespace ui

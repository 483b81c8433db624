// Popup menus built from named items that bind to actions; items may be drawn and measured by
// the program, the others show their image list picture and check mark the system's way.
#pragma once

#include "ui/Action.h"
#include "ui/Component.h"
#include "ui/Handles.h"

#include <functional>
#include <string>
#include <vector>

namespace ui {

class ImageList;

class MenuItem : public Component {
 public:
  // `caption` "-" makes a separator.
  MenuItem(Component* owner, std::wstring name, std::wstring caption = L"", Action* action = nullptr,
           int imageIndex = -1);
  ~MenuItem() override;

  std::wstring Caption() const;
  void SetCaption(const std::wstring& c) { caption_ = c; }
  bool IsSeparator() const { return Caption() == L"-"; }
  int ImageIndex = -1;
  bool Visible = true;
  bool Enabled() const { return action_ ? action_->Enabled() : enabled_; }
  void SetEnabled(bool e) { enabled_ = e; }
  bool Checked() const { return action_ ? action_->Checked() : checked_; }
  void SetChecked(bool c) { checked_ = c; }
  Action* GetAction() const { return action_; }

  // Drawn and measured by the handlers below instead of the system.
  bool OwnerDraw = false;
  std::function<void(MenuItem& item, HDC dc, const RECT& rect, bool selected)> OnDrawItem;
  std::function<void(MenuItem& item, HDC dc, int& width, int& height)> OnMeasureItem;
  std::function<void(MenuItem& item)> OnClick;

  MenuItem* Add(MenuItem* child);
  const std::vector<MenuItem*>& Items() const { return items_; }
  MenuItem* Parent() const { return parent_; }
  UINT Command() const { return command_; }

  // What a click does: the bound action with this item as acting component, else OnClick.
  void Click();

  bool SetStringProperty(std::wstring_view property, const std::wstring& value) override;
  std::optional<std::wstring> GetStringProperty(std::wstring_view property) const override;

 private:
  std::wstring caption_;
  Action* action_;
  bool enabled_ = true, checked_ = false;
  UINT command_;
  MenuItem* parent_ = nullptr;
  std::vector<MenuItem*> items_;
};

class PopupMenu : public Component {
 public:
  PopupMenu(Component* owner, std::wstring name);

  MenuItem& Items() { return *root_; }
  ImageList* Images = nullptr;
  std::function<void(PopupMenu&)> OnPopup;
  // Window that receives the menu's messages; it must route them through HandleOwnerMessage.
  HWND OwnerWindow = nullptr;

  // Opens the menu at a screen point; returns when it has closed. The chosen item's click
  // arrives afterwards as a posted command to the owner window.
  void Popup(int x, int y);
  // True while the menu is open.
  bool IsOpen() const { return open_; }

  // Owner-draw messages and menu commands of every menu of ours.
  static bool HandleOwnerMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  static MenuItem* ItemForCommand(UINT command);

 private:
  HMENU Build(MenuItem& parent);
  MenuItem* root_;
  MenuHandle menu_;
  bool open_ = false;
};

}  // namespace ui

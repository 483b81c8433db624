#include "ui/PopupMenu.h"

#include "ui/Application.h"
#include "ui/ImageList.h"

#include <map>

namespace ui {

namespace {
// Which image list draws the picture of a system-drawn item (only ever read on the UI thread).
std::map<const MenuItem*, const ImageList*> imageOwners_;  // NOLINT
std::map<UINT, MenuItem*>& Commands() {
  static std::map<UINT, MenuItem*> commands;
  return commands;
}
UINT g_nextCommand = 0x1000;
}  // namespace

MenuItem::MenuItem(Component* owner, std::wstring name, std::wstring caption, Action* action, int imageIndex)
    : Component(owner, std::move(name)),
      ImageIndex(imageIndex),
      caption_(std::move(caption)),
      action_(action),
      command_(g_nextCommand++) {
  Commands()[command_] = this;
}

MenuItem::~MenuItem() {
  Commands().erase(command_);
  imageOwners_.erase(this);
}

std::wstring MenuItem::Caption() const {
  if (action_ && caption_.empty()) return action_->Caption();
  return caption_;
}

MenuItem* MenuItem::Add(MenuItem* child) {
  child->parent_ = this;
  items_.push_back(child);
  return child;
}

void MenuItem::Click() {
  Guarded([this] {
    if (action_) {
      action_->ActionComponent = this;
      action_->Execute();
    } else if (OnClick) {
      OnClick(*this);
    }
  });
}

bool MenuItem::SetStringProperty(std::wstring_view property, const std::wstring& value) {
  if (SameName(property, L"Caption")) {
    caption_ = value;
    return true;
  }
  return false;
}

std::optional<std::wstring> MenuItem::GetStringProperty(std::wstring_view property) const {
  if (SameName(property, L"Caption")) return Caption();
  return std::nullopt;
}

PopupMenu::PopupMenu(Component* owner, std::wstring name) : Component(owner, std::move(name)) {
  root_ = Make<MenuItem>(L"");
}

HMENU PopupMenu::Build(MenuItem& parent) {
  HMENU menu = CreatePopupMenu();
  UINT pos = 0;
  bool afterSeparator = false;
  for (MenuItem* item : parent.Items()) {
    if (!item->Visible || (item->GetAction() && !item->GetAction()->Visible())) continue;
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    // Hidden items can leave two separators next to each other: one line is enough.
    if (item->IsSeparator() && afterSeparator) continue;
    afterSeparator = item->IsSeparator();
    if (item->IsSeparator()) {
      mi.fMask = MIIM_FTYPE;
      mi.fType = MFT_SEPARATOR;
      InsertMenuItemW(menu, pos++, TRUE, &mi);
      continue;
    }
    std::wstring text = item->Caption();
    if (Action* a = item->GetAction())
      if (a->GetShortCut()) text += L"\t" + ShortCutText(a->GetShortCut());
    mi.fMask = MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_DATA | MIIM_FTYPE;
    mi.wID = item->Command();
    mi.fState = (item->Enabled() ? MFS_ENABLED : MFS_DISABLED) | (item->Checked() ? MFS_CHECKED : 0);
    mi.dwTypeData = text.data();
    mi.dwItemData = reinterpret_cast<ULONG_PTR>(item);
    mi.fType = item->OwnerDraw ? MFT_OWNERDRAW : MFT_STRING;
    if (!item->Items().empty()) {
      mi.fMask |= MIIM_SUBMENU;
      mi.hSubMenu = Build(*item);
    }
    if (!item->OwnerDraw && Images && item->ImageIndex >= 0) {
      // Drawn by us on request: menus of some systems ignore a bitmap's alpha channel.
      mi.fMask |= MIIM_BITMAP;
      mi.hbmpItem = HBMMENU_CALLBACK;
      imageOwners_[item] = Images;
    }
    InsertMenuItemW(menu, pos++, TRUE, &mi);
  }
  return menu;
}

void PopupMenu::Popup(int x, int y) {
  if (open_) return;
  if (OnPopup) OnPopup(*this);
  // Update the bound actions so that captions, checks and enabling are current.
  std::vector<MenuItem*> stack{root_};
  while (!stack.empty()) {
    MenuItem* m = stack.back();
    stack.pop_back();
    if (Action* a = m->GetAction()) Guarded([a] { a->Update(); });
    for (MenuItem* c : m->Items()) stack.push_back(c);
  }
  menu_.reset(Build(*root_));
  open_ = true;
  TrackPopupMenuEx(menu_.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, OwnerWindow, nullptr);
  open_ = false;
  // The classic tray-menu hand-off: let the owner's queue move so the menu dismisses properly.
  PostMessageW(OwnerWindow, WM_NULL, 0, 0);
}

MenuItem* PopupMenu::ItemForCommand(UINT command) {
  auto it = Commands().find(command);
  return it == Commands().end() ? nullptr : it->second;
}

bool PopupMenu::HandleOwnerMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (wp != 0 || mis->CtlType != ODT_MENU || !mis->itemData) return false;
      auto* item = reinterpret_cast<MenuItem*>(mis->itemData);
      if (!item->OwnerDraw) {
        // The picture of a system-drawn item.
        auto it = imageOwners_.find(item);
        // A little wider than the picture: some menus put the caption right against it.
        mis->itemWidth = (it != imageOwners_.end() ? static_cast<UINT>(it->second->ImageWidth()) : 16) + 4;
        mis->itemHeight = it != imageOwners_.end() ? static_cast<UINT>(it->second->ImageHeight()) : 16;
        result = TRUE;
        return true;
      }
      HDC dc = GetDC(nullptr);
      int w = static_cast<int>(mis->itemWidth), h = static_cast<int>(mis->itemHeight);
      Guarded([&] {
        if (item->OnMeasureItem) item->OnMeasureItem(*item, dc, w, h);
      });
      ReleaseDC(nullptr, dc);
      mis->itemWidth = static_cast<UINT>(w);
      mis->itemHeight = static_cast<UINT>(h);
      result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (wp != 0 || dis->CtlType != ODT_MENU || !dis->itemData) return false;
      auto* item = reinterpret_cast<MenuItem*>(dis->itemData);
      const bool selected = dis->itemState & ODS_SELECTED;
      if (!item->OwnerDraw) {
        auto it = imageOwners_.find(item);
        if (it != imageOwners_.end()) {
          const ImageList* images = it->second;
          const RECT& r = dis->rcItem;
          images->Draw(dis->hDC, item->ImageIndex, r.left + (r.right - r.left - 4 - images->ImageWidth()) / 2,
                       r.top + (r.bottom - r.top - images->ImageHeight()) / 2);
        }
        result = TRUE;
        return true;
      }
      Guarded([&] {
        if (item->OnDrawItem) item->OnDrawItem(*item, dis->hDC, dis->rcItem, selected);
      });
      result = TRUE;
      return true;
    }
    case WM_COMMAND:
      if (HIWORD(wp) == 0 && lp == 0) {
        if (MenuItem* item = ItemForCommand(LOWORD(wp))) {
          item->Click();
          result = 0;
          return true;
        }
      }
      return false;
  }
  return false;
}

}  // namespace ui

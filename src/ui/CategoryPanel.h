// An accordion: a group of panels stacked top down, each with a painted header that opens or
// closes it. The expand and collapse events decide which panel stays open.
#pragma once

#include "ui/Control.h"
#include "ui/Handles.h"

#include <functional>
#include <vector>

namespace ui {

class CategoryPanelGroup;

class CategoryPanel : public Control {
 public:
  CategoryPanel(Component* owner, std::wstring name, CategoryPanelGroup& group, std::wstring caption);

  CategoryPanelGroup& Group() const { return group_; }
  // Parent window of the panel's contents; hidden while the panel is collapsed.
  HWND Surface() const { return surface_.Handle(); }
  int SurfaceWidth() const;
  int SurfaceHeight() const;

  bool Collapsed() const { return collapsed_; }
  // Changes the state without events (the handlers call these on other panels).
  void SetCollapsed(bool c);
  // Height when open, header included.
  int ExpandedHeight() const { return expandedHeight_; }
  void SetExpandedHeight(int h);

  // Header clicks: open a closed panel (then OnExpand), close an open one (then OnCollapse).
  void Expand();
  void Collapse();

  void SetCaption(const std::wstring& c) override;
  // Pixels at the right end of the header kept free for a child button.
  int HeaderRightReserve = 0;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  class SurfaceWindow : public Window {
   public:
    void Create(HWND parent, HBRUSH background);
   protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
   private:
    HBRUSH background_ = nullptr;
  };
  void PaintHeader(HDC dc);

  CategoryPanelGroup& group_;
  SurfaceWindow surface_;
  std::wstring caption_;
  bool collapsed_ = false;
  bool hot_ = false;
  int expandedHeight_ = 200;
};

class CategoryPanelGroup : public Control {
 public:
  CategoryPanelGroup(Component* owner, std::wstring name, HWND parent, HFONT font, COLORREF color,
                     int headerHeight);

  const std::vector<CategoryPanel*>& Panels() const { return panels_; }
  int HeaderHeight() const { return headerHeight_; }
  void SetHeaderHeight(int h);
  HFONT Font() const { return font_; }
  HFONT HeaderFont() const { return headerFont_.get(); }
  void SetFont(HFONT f);
  COLORREF Color() const { return color_; }
  HBRUSH ColorBrush() const { return brush_.get(); }

  std::function<void(CategoryPanel& sender)> OnExpand;
  std::function<void(CategoryPanel& sender)> OnCollapse;

  // Stacks the panels top down: an open panel takes its expanded height, a closed one its header.
  void Realign();
  bool AllPanelsCollapsed() const;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  friend class CategoryPanel;
  std::vector<CategoryPanel*> panels_;
  HFONT font_;
  FontHandle headerFont_;
  COLORREF color_;
  BrushHandle brush_;
  int headerHeight_;
};

}  // namespace ui

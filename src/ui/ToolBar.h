// A flat tool bar whose buttons bind to actions: enabling, check state and tips follow them.
#pragma once

#include "ui/Control.h"

#include <vector>

namespace ui {

class ImageList;
class ToolBar;

class ToolButton : public Component {
 public:
  // A null action makes a separator.
  ToolButton(Component* owner, std::wstring name, ToolBar& bar, Action* action, int imageIndex, bool check = false);
  ~ToolButton() override;

  Action* GetAction() const { return action_; }
  int ImageIndex() const { return imageIndex_; }
  bool IsCheck() const { return check_; }
  bool Down() const;
  void SetDown(bool down);
  int Command() const { return command_; }
  // Width in pixels as the bar lays it out.
  int Width() const;
  // The text under the picture on a bar that shows captions: the action's caption until a
  // translation gives the button one of its own.
  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& c);
  // The tip; empty means the action's hint (or caption).
  const std::wstring& Hint() const { return hint_; }

  bool SetStringProperty(std::wstring_view property, const std::wstring& value) override;
  std::optional<std::wstring> GetStringProperty(std::wstring_view property) const override;

 private:
  friend class ToolBar;
  void Sync();
  void ShowCaption();
  ToolBar& bar_;
  std::wstring caption_, hint_;
  Action* action_;
  int imageIndex_;
  bool check_;
  int command_;
  int subscription_ = 0;
};

class ToolBar : public Control {
 public:
  ToolBar(Component* owner, std::wstring name, HWND parent, ImageList* images);

  const std::vector<ToolButton*>& Buttons() const { return buttons_; }
  void SetIndent(int pixels);
  // Distance of the first button from the bar's designed left edge.
  int Indent() const;
  int ButtonHeight() const;
  // Captions under the pictures on buttons of a fixed size (separators keep their own width).
  void ShowCaptions(int buttonWidth, int buttonHeight);
  bool CaptionsShown() const { return captions_; }

  bool Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  friend class ToolButton;
  void AddButton(ToolButton* b);
  void ApplyButtonSize();
  std::vector<ToolButton*> buttons_;
  int shift_ = 0;
  bool captions_ = false;
  int buttonWidth_ = 0, buttonHeight_ = 0;
};

}  // namespace ui

// A child window with a name: bounds, visibility, focus, caption and hint, and an optional
// bound action whose caption and state it follows.
#pragma once

#include "ui/Action.h"
#include "ui/Component.h"
#include "ui/Window.h"

#include <string>

namespace ui {

class Control : public Component, public Window {
 public:
  Control(Component* owner, std::wstring name);
  ~Control() override;

  void SetBounds(int x, int y, int w, int h);
  RECT Bounds() const;  // in the parent's client coordinates
  int Left() const { return Bounds().left; }
  int Top() const { return Bounds().top; }
  int Width() const;
  int Height() const;
  int ClientWidth() const;
  int ClientHeight() const;

  bool Visible() const;
  void SetVisible(bool v);
  bool Enabled() const;
  void SetEnabled(bool e);
  // Whether the control could take the focus now: it and all its parents are visible and enabled.
  bool CanFocus() const;
  bool Focused() const;
  void SetFocus();
  void Repaint();

  std::wstring Caption() const;
  virtual void SetCaption(const std::wstring& c);
  const std::wstring& Hint() const { return hint_; }
  virtual void SetHint(const std::wstring& h) { hint_ = h; }
  void SetFont(HFONT f);

  Action* GetAction() const { return action_; }
  void SetAction(Action* a);
  // Runs the bound action with this control as its acting component.
  void ExecuteAction();

  bool SetStringProperty(std::wstring_view property, const std::wstring& value) override;
  std::optional<std::wstring> GetStringProperty(std::wstring_view property) const override;

 protected:
  virtual void ActionChanged();

 private:
  std::wstring hint_;
  Action* action_ = nullptr;
  int subscription_ = 0;
};

}  // namespace ui

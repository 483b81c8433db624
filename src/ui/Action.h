// Commands as actions: one execute handler, an update handler that computes Enabled/Checked,
// and the component the action was last executed through. Menu items and tool buttons only
// bind to actions and follow their state.
#pragma once

#include "ui/Component.h"

#include <functional>
#include <vector>

namespace ui {

// Key code in the low byte; 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt (as the settings store them).
using ShortCut = unsigned short;
ShortCut MakeShortCut(unsigned short key, bool ctrl, bool shift = false, bool alt = false);
// "Ctrl+Q", "Alt+Bksp", "F5"; empty for 0.
std::wstring ShortCutText(ShortCut s);

class Action : public Component {
 public:
  Action(Component* owner, std::wstring name, std::wstring caption, ShortCut shortCut = 0);

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& c);
  const std::wstring& Hint() const { return hint_; }
  void SetHint(const std::wstring& h);
  ShortCut GetShortCut() const { return shortCut_; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool e);
  bool Checked() const { return checked_; }
  void SetChecked(bool c);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int i);

  // The control or menu item the action was last executed through; callers set it before
  // Execute when the handler branches on it.
  Component* ActionComponent = nullptr;

  std::function<void(Action& sender)> OnExecute;
  std::function<void(Action& sender)> OnUpdate;

  // Runs the update handler, then the execute handler if the action is enabled. Returns
  // whether the execute handler ran. Exceptions reach the caller.
  bool Execute();
  void Update();

  // Clients (menu items, tool buttons) follow caption and state through these.
  int Subscribe(std::function<void()> changed);
  void Unsubscribe(int id);

  bool SetStringProperty(std::wstring_view property, const std::wstring& value) override;
  std::optional<std::wstring> GetStringProperty(std::wstring_view property) const override;

 private:
  void Changed();
  std::wstring caption_, hint_;
  ShortCut shortCut_;
  bool enabled_ = true, checked_ = false, visible_ = true;
  int imageIndex_ = -1;
  int nextId_ = 1;
  std::vector<std::pair<int, std::function<void()>>> clients_;
};

// The action manager: updates its actions at idle and turns shortcut keys into executions.
class ActionList : public Component {
 public:
  using Component::Component;
  void Add(Action* a) { actions_.push_back(a); }
  const std::vector<Action*>& Actions() const { return actions_; }
  void UpdateAll();
  // Executes the enabled action whose shortcut this is; true when one ran.
  bool ExecuteShortCut(ShortCut s);
  Action* FindAction(std::wstring_view name) const;

 private:
  std::vector<Action*> actions_;
};

}  // namespace ui

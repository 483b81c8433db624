#include "ui/Action.h"

#include "ui/Application.h"

#include <windows.h>

#include <algorithm>

namespace ui {

ShortCut MakeShortCut(unsigned short key, bool ctrl, bool shift, bool alt) {
  return static_cast<ShortCut>((key & 0xFF) | (shift ? 0x2000 : 0) | (ctrl ? 0x4000 : 0) | (alt ? 0x8000 : 0));
}

std::wstring ShortCutText(ShortCut s) {
  if (!s) return {};
  std::wstring text;
  if (s & 0x4000) text += L"Ctrl+";
  if (s & 0x2000) text += L"Shift+";
  if (s & 0x8000) text += L"Alt+";
  const unsigned key = s & 0xFF;
  if (key >= VK_F1 && key <= VK_F24) {
    text += L"F" + std::to_wstring(key - VK_F1 + 1);
  } else if (key == VK_BACK) {
    text += L"Bksp";
  } else if (key == VK_DELETE) {
    text += L"Del";
  } else if (key == VK_RETURN) {
    text += L"Enter";
  } else if (key == VK_ESCAPE) {
    text += L"Esc";
  } else {
    text += static_cast<wchar_t>(key);
  }
  return text;
}

Action::Action(Component* owner, std::wstring name, std::wstring caption, ShortCut shortCut)
    : Component(owner, std::move(name)), caption_(std::move(caption)), shortCut_(shortCut) {
  if (auto* list = dynamic_cast<ActionList*>(owner)) list->Add(this);
}

void Action::Changed() {
  // A client may unsubscribe while being told; walk a copy.
  auto clients = clients_;
  for (auto& c : clients) c.second();
}

void Action::SetCaption(const std::wstring& c) {
  if (c == caption_) return;
  caption_ = c;
  Changed();
}

void Action::SetHint(const std::wstring& h) {
  if (h == hint_) return;
  hint_ = h;
  Changed();
}

void Action::SetEnabled(bool e) {
  if (e == enabled_) return;
  enabled_ = e;
  Changed();
}

void Action::SetChecked(bool c) {
  if (c == checked_) return;
  checked_ = c;
  Changed();
}

void Action::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  Changed();
}

void Action::SetImageIndex(int i) {
  if (i == imageIndex_) return;
  imageIndex_ = i;
  Changed();
}

void Action::Update() {
  if (OnUpdate) OnUpdate(*this);
}

bool Action::Execute() {
  Update();
  if (!enabled_ || !OnExecute) return false;
  OnExecute(*this);
  return true;
}

int Action::Subscribe(std::function<void()> changed) {
  const int id = nextId_++;
  clients_.emplace_back(id, std::move(changed));
  return id;
}

void Action::Unsubscribe(int id) {
  clients_.erase(std::remove_if(clients_.begin(), clients_.end(), [id](auto& c) { return c.first == id; }),
                 clients_.end());
}

bool Action::SetStringProperty(std::wstring_view property, const std::wstring& value) {
  if (SameName(property, L"Caption")) {
    SetCaption(value);
    return true;
  }
  if (SameName(property, L"Hint")) {
    SetHint(value);
    return true;
  }
  return false;
}

std::optional<std::wstring> Action::GetStringProperty(std::wstring_view property) const {
  if (SameName(property, L"Caption")) return caption_;
  if (SameName(property, L"Hint")) return hint_;
  return std::nullopt;
}

void ActionList::UpdateAll() {
  for (Action* a : actions_) Guarded([a] { a->Update(); });
}

bool ActionList::ExecuteShortCut(ShortCut s) {
  for (Action* a : actions_) {
    if (a->GetShortCut() != s) continue;
    bool ran = false;
    Guarded([&] {
      a->ActionComponent = nullptr;
      ran = a->Execute();
    });
    // A disabled action lets its key through to the focused control.
    return ran;
  }
  return false;
}

Action* ActionList::FindAction(std::wstring_view name) const {
  for (Action* a : actions_)
    if (SameName(a->Name(), name)) return a;
  return nullptr;
}

}  // namespace ui

#include "ui/Component.h"

#include <windows.h>

#include <algorithm>

namespace ui {

Component::Component(Component* owner, std::wstring name) : owner_(owner), name_(std::move(name)) {
  if (owner_) owner_->components_.push_back(this);
}

Component::~Component() {
  // Free owned components newest first: later ones may refer to earlier ones.
  while (!owned_.empty()) owned_.pop_back();
  if (owner_) {
    auto& list = owner_->components_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
}

bool Component::SameName(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                              TRUE) == CSTR_EQUAL;
}

Component* Component::FindComponent(std::wstring_view name) const {
  if (name.empty()) return nullptr;
  for (Component* c : components_)
    if (SameName(c->name_, name)) return c;
  return nullptr;
}

bool Component::SetStringProperty(std::wstring_view, const std::wstring&) { return false; }

std::optional<std::wstring> Component::GetStringProperty(std::wstring_view) const { return std::nullopt; }

}  // namespace ui

// Named, owned objects: an owner frees what it owns and finds its components by name, and
// translation sets their texts by property name.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class Component {
 public:
  Component(Component* owner, std::wstring name);
  virtual ~Component();
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  const std::wstring& Name() const { return name_; }
  Component* Owner() const { return owner_; }
  std::intptr_t Tag = 0;

  // Creates a component owned (and later freed) by this one.
  template <class T, class... Args>
  T* Make(Args&&... args) {
    auto p = std::make_unique<T>(this, std::forward<Args>(args)...);
    T* raw = p.get();
    owned_.push_back(std::move(p));
    return raw;
  }

  // Every component whose owner is this one, in creation order (letter case of names ignored).
  const std::vector<Component*>& Components() const { return components_; }
  Component* FindComponent(std::wstring_view name) const;

  // The text properties a translation may set: "Caption", "Hint", "URL" (names compared
  // without letter case). Returns false when this component has no such property.
  virtual bool SetStringProperty(std::wstring_view property, const std::wstring& value);
  virtual std::optional<std::wstring> GetStringProperty(std::wstring_view property) const;

 protected:
  static bool SameName(std::wstring_view a, std::wstring_view b);

 private:
  Component* owner_;
  std::wstring name_;
  std::vector<Component*> components_;
  std::vector<std::unique_ptr<Component>> owned_;
};

}  // namespace ui

// A top-level window of ours: borderless or framed, stay-on-top or normal, with key preview,
// action shortcuts, close query, modal showing and dragging by its body.
#pragma once

#include "ui/Action.h"
#include "ui/Component.h"
#include "ui/Handles.h"
#include "ui/Window.h"

#include <functional>
#include <string>

namespace ui {

// Shift state of key events: 1 Shift, 2 Alt, 4 Ctrl.
using ShiftState = unsigned;
inline constexpr ShiftState kShift = 1, kAlt = 2, kCtrl = 4;
ShiftState CurrentShiftState();

struct FormStyle {
  const wchar_t* className;
  std::wstring caption;
  bool borderless = true;
  bool onTaskbar = false;  // own taskbar button while shown
  COLORREF color = RGB(255, 255, 255);
  const wchar_t* fontFace = L"Tahoma";
  int fontPixels = 11;  // character height at 96 dpi
  HICON icon = nullptr;
};

class Form : public Component, public Window {
 public:
  Form(Component* owner, std::wstring name, const FormStyle& style);
  ~Form() override;

  bool Visible() const;
  void Show();  // SW_SHOW
  void Hide();
  void SetStayOnTop(bool on);
  bool StayOnTop() const;
  void SetClientSize(int w, int h);
  void SetPosition(int left, int top);
  RECT BoundsOnScreen() const;
  int Width() const;
  int Height() const;

  // Asks OnCloseQuery; when allowed, hides the form and, for the main form, ends the loop.
  void Close();
  // Shows the form modally; returns the modal result (set with SetModalResult, 2 when closed).
  int ShowModal();
  void SetModalResult(int r) { modalResult_ = r; }

  // Starts moving the form with the mouse, as if its caption were dragged.
  void DragMove();

  // Scales a length designed at 96 dpi to this form's monitor.
  int Scale(int designPixels) const { return MulDiv(designPixels, dpi_, 96); }
  int Dpi() const { return dpi_; }
  HFONT Font() const { return font_.get(); }
  COLORREF Color() const { return color_; }
  HBRUSH ColorBrush() const { return brush_.get(); }

  ActionList& Actions() { return *actions_; }

  bool KeyPreview = true;
  // Key preview: set `key` to 0 to consume the key.
  std::function<void(WORD& key, ShiftState shift)> OnKeyDown;
  std::function<void(bool& canClose)> OnCloseQuery;
  // After the form has been moved to a monitor with another dpi (fonts already remade).
  std::function<void()> OnDpiChanged;

  bool SetStringProperty(std::wstring_view property, const std::wstring& value) override;
  std::optional<std::wstring> GetStringProperty(std::wstring_view property) const override;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // The form's own key handling (shortcuts, then preview); true when consumed.
  bool PreviewKey(MSG& msg);

 private:
  void MakeFont();
  std::wstring fontFace_;
  int fontPixels_;
  COLORREF color_;
  int dpi_ = 96;
  FontHandle font_;
  BrushHandle brush_;
  ActionList* actions_;
  int keyFilterId_ = 0, idleUpdaterId_ = 0;
  int modalResult_ = 0;
  bool inModal_ = false;
};

// The dpi of a window's monitor (96 when the system cannot tell).
int WindowDpi(HWND w);

}  // namespace ui

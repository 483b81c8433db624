// A C++ object behind a window handle. One trampoline for our own window classes and one for
// subclassed system controls; neither lets an exception cross into the system: it goes to the
// application's exception event instead.
#pragma once

#include <windows.h>

namespace ui {

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd_; }
  static Window* FromHandle(HWND w);

  // Registers a class of ours (idempotent).
  static void RegisterWindowClass(const wchar_t* className, UINT style = CS_DBLCLKS, HICON icon = nullptr,
                                  HCURSOR cursor = nullptr);

  // Called by a parent for WM_NOTIFY, WM_COMMAND and owner-draw messages that came from this
  // window; return true when handled and set `result`.
  virtual bool Reflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

 protected:
  // Creates a window of one of our classes bound to this object.
  HWND CreateOwn(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                 int w, int h, HWND parent, UINT_PTR id = 0);
  // Creates a system control and subclasses it so that HandleMessage sees its messages.
  HWND CreateSubclassed(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x,
                        int y, int w, int h, HWND parent, UINT_PTR id = 0);

  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);
  // Routes a child's notification to the child object.
  static bool ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK OwnProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK SubclassProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);
  LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
  bool subclassed_ = false;
};

}  // namespace ui

// A window whose messages an object of the painted look sees first (comctl32 subclassing), from Subclass
// until the window is destroyed or the object goes, whichever comes first.
#pragma once

#include "framework/win32/win32_api.h"

namespace quorvel::skin {

class SubclassedWindow {
 public:
  SubclassedWindow(const SubclassedWindow&) = delete;
  SubclassedWindow& operator=(const SubclassedWindow&) = delete;

  // The window, or null before Subclass and after the window is gone.
  HWND hwnd() const { return window_; }

 protected:
  SubclassedWindow() = default;
  ~SubclassedWindow() { Unsubclass(); }

  // false: no window, or the subclassing failed.
  bool Subclass(HWND window);
  void Unsubclass();

  // A message of the window before its own handling: true answers it with `result`; false lets the
  // window's own handling go on.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
  // The window's own handling of a message.
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR self);

  HWND window_ = nullptr;
};

}  // namespace quorvel::skin

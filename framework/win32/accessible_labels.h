// Accessible names for the controls that the standard accessible object leaves without one or names by
// their value: a drop-down list (its current item) and an address editor (its address; its four fields
// have none). Each such control whose label, a static text, comes just before it in the template's order
// answers WM_GETOBJECT with the standard object under the label's text; an address editor's fields
// under that text and the field's number.
#pragma once

#include "framework/win32/win32_api.h"

#include <memory>
#include <string>
#include <vector>

namespace quorvel::ui {

class AccessibleLabels {
 public:
  explicit AccessibleLabels(HWND dialog);
  ~AccessibleLabels();
  AccessibleLabels(const AccessibleLabels&) = delete;
  AccessibleLabels& operator=(const AccessibleLabels&) = delete;

  struct Named {
    HWND window;
    std::wstring name;
  };

 private:
  void Name(HWND window, std::wstring name);

  std::vector<std::unique_ptr<Named>> named_;  // each window's subclass keeps a pointer to its entry
  bool comStarted_ = false;
};

}  // namespace quorvel::ui

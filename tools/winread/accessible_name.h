// The name that the accessibility interface gives a window: what a screen reader announces for it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace quorvel::winread {

// COM for the calling thread while the object lives (the names are fetched through it).
class ComApartment {
 public:
  ComApartment();
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialised_ = false;
};

// The client object's name (CHILDID_SELF) as AccessibleObjectFromWindow finds it: it asks the window
// first (WM_GETOBJECT), then takes the standard object for its class. nullopt when there is no object
// or it has no name.
std::optional<std::wstring> AccessibleName(HWND hwnd);

}  // namespace quorvel::winread

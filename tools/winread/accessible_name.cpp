#include "accessible_name.h"

#include <oleacc.h>

namespace quorvel::winread {

namespace {

// Defined here: with static linking the import library's IID_IAccessible does not resolve to the GUID.
constexpr IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

struct Released {
  IAccessible* object;
  ~Released() { object->Release(); }
};

}  // namespace

ComApartment::ComApartment() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}

ComApartment::~ComApartment() {
  if (initialised_) CoUninitialize();
}

std::optional<std::wstring> AccessibleName(HWND hwnd) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                        reinterpret_cast<void**>(&object))) ||
      object == nullptr) {
    return std::nullopt;
  }
  Released release{object};
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  if (object->get_accName(self, &name) != S_OK || name == nullptr) return std::nullopt;
  std::wstring text(name, SysStringLen(name));
  SysFreeString(name);
  return text;
}

}  // namespace quorvel::winread

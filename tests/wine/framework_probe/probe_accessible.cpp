#include "probe_accessible.h"

#include <oleacc.h>

#include <string>

#include "probe_report.h"

namespace probe {

namespace {

constexpr IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
constexpr IID kIidUnknown = {0x00000000, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct Face {
  const char* name;
  IID iid;
};
constexpr Face kFaces[] = {
    {"IDispatch", {0x00020400, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}}},
    {"IOleWindow", {0x00000114, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}}},
    {"IEnumVARIANT", {0x00020404, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}}},
};

// One reference, released at the end of the scope.
template <typename T>
struct Held {
  T* p = nullptr;
  ~Held() {
    if (p != nullptr) p->Release();
  }
  void** out() { return reinterpret_cast<void**>(&p); }
};

std::string NameOf(IAccessible* object) {
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  if (object->get_accName(self, &name) != S_OK || name == nullptr) return "<none>";
  std::string text;
  for (UINT i = 0; i < SysStringLen(name); ++i) text += name[i] < 0x80 ? static_cast<char>(name[i]) : '?';
  SysFreeString(name);
  return text;
}

}  // namespace

void ProbeAccessibleIdentity(HWND control) {
  Held<IAccessible> object;
  if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible, object.out())) ||
      object.p == nullptr) {
    Report("acc.name", "<no object>");
    return;
  }
  const std::string name = NameOf(object.p);
  Report("acc.name", name);
  Held<IUnknown> identity;
  object.p->QueryInterface(kIidUnknown, identity.out());
  std::string faces;
  std::string verdict = "same";
  for (const Face& face : kFaces) {
    Held<IUnknown> reached;
    if (FAILED(object.p->QueryInterface(face.iid, reached.out())) || reached.p == nullptr) continue;
    faces += faces.empty() ? face.name : std::string(",") + face.name;
    Held<IUnknown> back;
    Held<IAccessible> accessible;
    reached.p->QueryInterface(kIidUnknown, back.out());
    reached.p->QueryInterface(kIidAccessible, accessible.out());
    const bool same = back.p == identity.p && accessible.p != nullptr && NameOf(accessible.p) == name;
    if (!same && verdict == "same") verdict = face.name;
  }
  Report("acc.faces", faces);
  Report("acc.identity", verdict);
}

}  // namespace probe

#include "framework/win32/accessible_labels.h"

#include <oleacc.h>

#include "framework/win32/window_class.h"

#include <atomic>

namespace quorvel::ui {

namespace {

// Defined here: with static linking the import library's IID_IAccessible does not resolve to the GUID.
constexpr IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
constexpr IID kIidDispatch = {0x00020400, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kIidUnknown = {0x00000000, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kIidOleWindow = {0x00000114, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kIidEnumVariant = {0x00020404, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr UINT_PTR kSubclassId = 0x51;  // this file's subclass among others on the same window

constexpr int kAddressFields = 4;

// The standard object's face of this interface; null when it has none.
template <typename Face>
Face* FaceOf(IAccessible* standard, const IID& iid) {
  void* face = nullptr;
  return SUCCEEDED(standard->QueryInterface(iid, &face)) ? static_cast<Face*>(face) : nullptr;
}

// The standard object of a window, with its own name for the window itself; every other question goes
// to the standard object. It keeps one COM identity: every interface it hands out is its own (the
// standard object's window and child enumeration are answered through it), so a client that asks any
// of them for IUnknown or IAccessible comes back to this object and its name.
class NamedAccessible final : public IAccessible, public IOleWindow, public IEnumVARIANT {
 public:
  NamedAccessible(IAccessible* standard, const std::wstring& name)
      : standard_(standard),
        window_(FaceOf<IOleWindow>(standard, kIidOleWindow)),
        children_(FaceOf<IEnumVARIANT>(standard, kIidEnumVariant)),
        name_(name) {}
  NamedAccessible(const NamedAccessible&) = delete;
  NamedAccessible& operator=(const NamedAccessible&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(riid, kIidUnknown) || IsEqualIID(riid, kIidDispatch) || IsEqualIID(riid, kIidAccessible)) {
      *object = static_cast<IAccessible*>(this);
    } else if (IsEqualIID(riid, kIidOleWindow) && window_ != nullptr) {
      *object = static_cast<IOleWindow*>(this);
    } else if (IsEqualIID(riid, kIidEnumVariant) && children_ != nullptr) {
      *object = static_cast<IEnumVARIANT*>(this);
    } else {
      return E_NOINTERFACE;  // a face of the standard object alone would lead back to it, without the name
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return standard_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(riid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argument) override {
    return standard_->Invoke(id, riid, locale, flags, params, result, exception, argument);
  }

  // IAccessible: the name of the window itself is ours.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (name == nullptr) return E_POINTER;
    if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return standard_->get_accName(child, name);
    *name = SysAllocString(name_.c_str());
    return *name != nullptr ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return standard_->get_accChildCount(count); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return standard_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return standard_->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return standard_->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return standard_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return standard_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override { return standard_->get_accFocus(focus); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    return standard_->get_accSelection(selection);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return standard_->accSelect(flags, child); }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
    return standard_->accHitTest(left, top, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return standard_->accDoDefaultAction(child); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

  // IOleWindow: the window of the standard object.
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override { return window_->GetWindow(window); }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override { return window_->ContextSensitiveHelp(enter); }

  // IEnumVARIANT: the standard object's children.
  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override {
    return children_->Next(count, items, fetched);
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override { return children_->Skip(count); }
  HRESULT STDMETHODCALLTYPE Reset() override { return children_->Reset(); }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override { return children_->Clone(copy); }

 private:
  ~NamedAccessible() {
    if (children_ != nullptr) children_->Release();
    if (window_ != nullptr) window_->Release();
    standard_->Release();
  }

  IAccessible* standard_;  // owned: one reference
  IOleWindow* window_;     // owned when not null
  IEnumVARIANT* children_;  // owned when not null
  std::wstring name_;
  std::atomic<ULONG> references_{1};
};

LRESULT AnswerGetObject(HWND window, WPARAM wParam, const std::wstring& name) {
  IAccessible* standard = nullptr;
  if (FAILED(CreateStdAccessibleObject(window, static_cast<LONG>(OBJID_CLIENT), kIidAccessible,
                                       reinterpret_cast<void**>(&standard))) ||
      standard == nullptr) {
    return 0;
  }
  auto* named = new NamedAccessible(standard, name);
  const LRESULT answer = LresultFromObject(kIidAccessible, wParam, static_cast<IAccessible*>(named));
  named->Release();  // the answer holds its own reference
  return answer;
}

LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
  const auto* named = reinterpret_cast<const AccessibleLabels::Named*>(data);
  if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == static_cast<LONG>(OBJID_CLIENT)) {
    // Nothing may throw through a window procedure (the name's copy, the object's allocation): the
    // control then answers with its unnamed standard object.
    try {
      const LRESULT answer = AnswerGetObject(window, wParam, named->name);
      if (answer != 0) return answer;
    } catch (...) {
    }
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, &Subclass, id);
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

// The text of the static label just before the control in the template's (the window) order.
std::wstring LabelBefore(HWND control) {
  const HWND label = GetWindow(control, GW_HWNDPREV);
  if (label == nullptr || !HasWindowClass(label, "Static")) return {};
  wchar_t text[128] = {};
  GetWindowTextW(label, text, static_cast<int>(sizeof text / sizeof text[0]));
  return text;
}

}  // namespace

AccessibleLabels::AccessibleLabels(HWND dialog) : comStarted_(SUCCEEDED(CoInitialize(nullptr))) {
  for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
    const bool combo = HasWindowClass(control, WC_COMBOBOXA);
    const bool address = HasWindowClass(control, WC_IPADDRESSA);
    if (!combo && !address) continue;
    const std::wstring label = LabelBefore(control);
    if (label.empty()) continue;
    Name(control, label);
    if (!address) continue;
    // The fields are the editor's children, first to last.
    int field = 0;
    for (HWND edit = GetWindow(control, GW_CHILD); edit != nullptr && field < kAddressFields;
         edit = GetWindow(edit, GW_HWNDNEXT)) {
      Name(edit, label + L" field " + std::to_wstring(++field));
    }
  }
}

AccessibleLabels::~AccessibleLabels() {
  for (const auto& named : named_) {
    if (IsWindow(named->window)) RemoveWindowSubclass(named->window, &Subclass, kSubclassId);
  }
  if (comStarted_) CoUninitialize();
}

void AccessibleLabels::Name(HWND window, std::wstring name) {
  named_.push_back(std::make_unique<Named>(Named{window, std::move(name)}));
  if (!SetWindowSubclass(window, &Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(named_.back().get()))) {
    named_.pop_back();
  }
}

}  // namespace quorvel::ui

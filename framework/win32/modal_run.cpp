#include "framework/win32/modal_run.h"

#include <exception>
#include <memory>

#include "framework/win32/accessible_labels.h"
#include "framework/win32/dpi_layout.h"
#include "framework/win32/keyboard_cues.h"
#include "framework/win32/window_class.h"
#include "framework/win32/win32_host.h"

namespace quorvel::ui {

namespace {

constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED

bool IsListView(HWND window) { return HasWindowClass(window, WC_LISTVIEWA); }

// The state of one modal run, on the stack of RunDialogModal. Its address goes to the dialog procedure
// as the create parameter and lives in the window's DWLP_USER from WM_INITDIALOG on.
class ModalRun {
 public:
  ModalRun(HINSTANCE instance, Dialog& dialog, const SkinFactory& skins)
      : instance_(instance), dialog_(dialog), skins_(skins) {}
  ModalRun(const ModalRun&) = delete;
  ModalRun& operator=(const ModalRun&) = delete;
  ~ModalRun() {
    if (attached_) dialog_.Attach(nullptr);  // the window never got to WM_DESTROY
  }

  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  void RethrowFailure() const {
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  INT_PTR Init(HWND window);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Command(int id, int code);
  void Destroyed();
  void Fail(HWND window);

  HINSTANCE instance_;
  Dialog& dialog_;
  const SkinFactory& skins_;
  std::unique_ptr<Win32Host> host_;  // outlives the window: the controls' fonts go after it
  std::unique_ptr<DpiLayout> layout_;  // outlives the window too: the fonts it made for a new DPI
  std::unique_ptr<WindowSkin> skin_;  // outlives the window too; destroyed before the host  // outlives the window: the controls' fonts go after it
  std::unique_ptr<AccessibleLabels> labels_;
  KeyboardCueHook keyboardCues_;
  bool attached_ = false;
  bool destroying_ = false;
  std::exception_ptr failure_;
};

INT_PTR CALLBACK ModalRun::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ModalRun* run = nullptr;
  if (message == WM_INITDIALOG) {
    run = reinterpret_cast<ModalRun*>(lParam);
    ::SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(run));
  } else {
    run = reinterpret_cast<ModalRun*>(::GetWindowLongPtrA(window, DWLP_USER));
  }
  if (run == nullptr) return FALSE;  // the messages before WM_INITDIALOG
  try {
    if (message == WM_INITDIALOG) return run->Init(window);
    INT_PTR result = FALSE;
    if (message == WM_WINDOWPOSCHANGED && run->host_) run->host_->PositionChanged();
    if (run->host_ && run->host_->FilterBusy(message, wParam, lParam, result)) return result;
    // The new layout first, so that the look and the dialog see the controls where they now are.
    if (message == kDpiChanged && run->layout_) {
      run->layout_->OnDpiChanged(wParam, lParam);
      run->host_->LoadIcons();
    }
    // The busy filter lets the size and move messages through: a window moved during busy work is laid
    // out as any other.
    if (run->layout_ && run->layout_->OnSizeMessage(message, wParam, lParam, result)) return result;
    if (run->skin_ && run->attached_ && run->skin_->Handle(message, wParam, lParam, result)) return result;
    return run->Handle(message, wParam, lParam);
  } catch (...) {
    run->Fail(window);
    return FALSE;
  }
}

INT_PTR ModalRun::Init(HWND window) {
  host_ = std::make_unique<Win32Host>(instance_, window, skins_);
  layout_ = std::make_unique<DpiLayout>(instance_, window, dialog_.templateId());
  if (skins_) skin_ = skins_(instance_, window, dialog_.templateId());
  labels_ = std::make_unique<AccessibleLabels>(window);
  dialog_.Attach(host_.get());
  attached_ = true;
  return dialog_.OnInitDialog() ? TRUE : FALSE;
}

INT_PTR ModalRun::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!attached_) return FALSE;  // after WM_DESTROY
  switch (message) {
    case WM_COMMAND:
      Command(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_NOTIFY: {
      if (host_->busy()) return FALSE;  // no handler runs while busy work does
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      const int id = static_cast<int>(header->idFrom);
      const int code = static_cast<int>(header->code);
      if (code == NM_CLICK && IsListView(header->hwndFrom)) {
        // A list view's click carries the row it hit (NMITEMACTIVATE).
        dialog_.OnListClick(id, code, reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem);
      } else if (code == static_cast<int>(LVN_KEYDOWN) && IsListView(header->hwndFrom)) {
        dialog_.OnListKeyDown(id, reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey);
      } else {
        dialog_.OnNotify(id, code);
      }
      return FALSE;  // the dialog manager answers 0
    }
    case WM_TIMER:
      dialog_.OnTimer(static_cast<int>(wParam));
      return TRUE;
    case Win32Host::kPosted:
      dialog_.OnPosted(static_cast<int>(wParam));
      return TRUE;
    case WM_DESTROY:
      Destroyed();
      return FALSE;
    case kDpiChanged:
      return TRUE;  // laid out anew: the dialog manager has nothing to add
    default:
      return FALSE;
  }
}

// Escape, Enter and the close box reach a dialog as IDCANCEL or IDOK clicked.
void ModalRun::Command(int id, int code) {
  if (code == BN_CLICKED && id == IDOK) {
    dialog_.OnOK();
  } else if (code == BN_CLICKED && id == IDCANCEL) {
    dialog_.OnCancel();
  } else {
    dialog_.OnCommand(id, code);
  }
}

void ModalRun::Destroyed() {
  if (destroying_) return;
  destroying_ = true;
  ForgetKeyboardCues(host_->window());
  struct Detach {
    ModalRun& run;
    ~Detach() {
      run.dialog_.Attach(nullptr);
      run.attached_ = false;
    }
  } detach{*this};
  dialog_.OnDestroy();
}

void ModalRun::Fail(HWND window) {
  if (!failure_) failure_ = std::current_exception();
  if (!destroying_) ::EndDialog(window, IDCANCEL);
}

}  // namespace

int RunDialogModal(HINSTANCE instance, Dialog& dialog, HWND parent, const SkinFactory& skins) {
  if (dialog.isOpen()) return -1;
  ModalRun run(instance, dialog, skins);
  const INT_PTR result = ::DialogBoxParamA(instance, MAKEINTRESOURCEA(dialog.templateId()), parent,
                                           &ModalRun::Procedure, reinterpret_cast<LPARAM>(&run));
  run.RethrowFailure();
  return static_cast<int>(result);
}

}  // namespace quorvel::ui

#include "probe_child.h"

#include <stdexcept>

#include "framework/win32/win32_host.h"
#include "probe_ids.h"

namespace probe {

namespace ui = quorvel::ui;

namespace {

constexpr int kEndTimer = 7;

}  // namespace

ChildDialog::ChildDialog(Ending ending, HWND parent) : ui::Dialog(IDD_CHILD), ending_(ending), parent_(parent) {}

bool ChildDialog::OnInitDialog() {
  host().SetTimer(kEndTimer, 20);
  return true;
}

void ChildDialog::OnTimer(int id) {
  if (id != kEndTimer) return;
  host().KillTimer(kEndTimer);
  parentWasDisabled_ = ::IsWindowEnabled(parent_) == FALSE;
  HWND self = static_cast<ui::Win32Host&>(host()).window();
  HWND okButton = ::GetDlgItem(self, ui::IDOK);
  switch (ending_) {
    // Keys go through the dialog manager of the modal loop, as a user's would.
    case Ending::EscapeKey: ::PostMessageA(okButton, WM_KEYDOWN, VK_ESCAPE, 1); break;
    case Ending::EnterKey: ::PostMessageA(okButton, WM_KEYDOWN, VK_RETURN, 1); break;
    case Ending::CloseBox: ::PostMessageA(self, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case Ending::EndDialog42: host().EndDialog(42); break;
    case Ending::DestroyWindow: host().DestroyWindow(); break;
    case Ending::Throw: throw std::runtime_error("thrown by a handler");
  }
}

void ChildDialog::OnOK() {
  handledBy_ = "OnOK";
  Dialog::OnOK();
}

void ChildDialog::OnCancel() {
  handledBy_ = "OnCancel";
  Dialog::OnCancel();
}

void ChildDialog::OnDestroy() { ++destroyCount_; }

}  // namespace probe

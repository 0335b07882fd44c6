// The backend's side of one real dialog window: hands out the control wrappers, which it owns (with their
// fonts) until the modal run is over, and does the window's own operations.
#pragma once

#include "framework/win32/win32_api.h"

#include <map>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/dialog.h"
#include "framework/win32/gdi_handles.h"
#include "framework/win32/win32_combo_box.h"
#include "framework/win32/win32_control.h"
#include "framework/win32/win32_busy.h"
#include "framework/win32/win32_ip_address.h"
#include "framework/win32/win32_list_view.h"
#include "framework/win32/win32_progress_bar.h"
#include "framework/win32/window_skin.h"

namespace quorvel::ui {

class Win32Host : public DialogHost {
 public:
  Win32Host(HINSTANCE instance, HWND dialog, const SkinFactory& skins)
      : instance_(instance), window_(dialog), skins_(skins) {}
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  Control& Item(int id) override { return Get<Win32Item>(id, Kind::Plain); }
  ListView& List(int id) override { return Get<Win32ListView>(id, Kind::List); }
  ComboBox& Combo(int id) override { return Get<Win32ComboBox>(id, Kind::Combo); }
  IpAddressEdit& Address(int id) override { return Get<Win32IpAddress>(id, Kind::Address); }
  ProgressBar& Progress(int id) override { return Get<Win32ProgressBar>(id, Kind::Progress); }

  void SetWindowText(std::string_view text) override;
  void SetIcon(int iconResource) override;
  // The window's icons again at the sizes of its DPI (after a DPI change).
  void LoadIcons();
  void EndDialog(int result) override;
  void DestroyWindow() override;  // ends the modal run as EndDialog(IDCANCEL) does
  void Minimize() override { ::ShowWindow(window_, SW_MINIMIZE); }
  int MessageBox(std::string_view text, std::string_view caption, Icon icon) override;
  bool AskYesNo(std::string_view text, std::string_view caption, Icon icon) override;
  int RunModal(Dialog& child) override;
  bool SetTimer(int id, int millis) override;
  void KillTimer(int id) override;
  int TextCharset() override;
  int FocusedId() override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  bool Closing() const override { return busy_.closing(); }
  void SetBusyRole(int controlId, BusyRole role) override { busy_.SetRole(controlId, role); }
  void SetUserCannotClose() override { busy_.SetUserCannotClose(); }
  // The dialog manager shows a dialog being opened only once its queue is empty, so a message posted
  // before then would run ahead of the show: it is held until the window is first shown.
  void Post(int id) override;
  // The dialog procedure's WM_WINDOWPOSCHANGED: once the window is first visible (shown by ShowWindow or
  // SetWindowPos), what was held is posted.
  void PositionChanged();

  HWND window() const { return window_; }
  // The message that Post sends; its wParam is the id for Dialog::OnPosted.
  static constexpr UINT kPosted = Win32Busy::kPosted;
  // Busy work's filter of the dialog procedure's messages, this dialog's own or another's of the thread
  // (see Win32Busy::Filter and FilterOther).
  bool FilterBusy(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    return busy_.Filter(message, wParam, lParam, result);
  }
  bool busy() const { return busy_.busy(); }

 protected:
  BusyStatus RunWork(const std::function<void(const BusyStop&)>& work) override { return busy_.Run(work); }

 private:
  enum class Kind { Plain, List, Combo, Address, Progress };

  template <class Wrapper>
  Wrapper& Get(int id, Kind kind) {
    std::unique_ptr<Control>& slot = controls_[{id, kind}];
    if (!slot) slot = std::make_unique<Wrapper>(::GetDlgItem(window_, id), id);
    return static_cast<Wrapper&>(*slot);
  }

  HINSTANCE instance_;
  HWND window_;
  const SkinFactory& skins_;  // the dialogs this one runs get their looks from it too
  int iconResource_ = 0;      // the window's icon (0: none set)
  IconHandle bigIcon_;        // at the sizes of the window's DPI
  IconHandle smallIcon_;
  std::map<std::pair<int, Kind>, std::unique_ptr<Control>> controls_;
  Win32Busy busy_{window_};
  bool shown_ = false;
  std::vector<int> heldPosts_;
  int waitDepth_ = 0;
  HCURSOR cursorBeforeWait_ = nullptr;
};

}  // namespace quorvel::ui

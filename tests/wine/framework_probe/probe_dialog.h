// The probe's main dialog: exercises the controls in OnInitDialog, then, once the window is on screen, the
// user-like input, child dialogs and a message box from a timer, and finally destroys itself.
#pragma once

#include "framework/win32/win32_api.h"

#include <string>
#include <vector>

#include "framework/dialog.h"

namespace probe {

class ProbeDialog : public quorvel::ui::Dialog {
 public:
  ProbeDialog();

  bool OnInitDialog() override;
  void OnCommand(int id, int code) override;
  void OnNotify(int id, int code) override;
  void OnTimer(int id) override;
  void OnDestroy() override;

  int destroyCount() const { return destroyCount_; }
  HFONT listFont() const { return listFont_; }

 private:
  HWND Window();
  HWND ControlWindow(int id) { return ::GetDlgItem(Window(), id); }
  std::string TakeEvents();

  void ProbeWindow();
  void ProbeList();
  void ProbeCombo();
  void ProbeAddress();
  void ProbeItem();
  void ProbeOnScreen();
  void ProbeProgressAndCheck();
  void ProbeInput();
  void ProbeChildren();
  void ProbeMessageBox();
  void AnswerMessageBox();

  std::vector<std::string> events_;
  HFONT listFont_ = nullptr;
  int destroyCount_ = 0;
};

}  // namespace probe

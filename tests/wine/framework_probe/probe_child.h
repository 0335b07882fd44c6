// The child dialog: ends itself from a timer in one of several ways, as the main probe dialog asks.
#pragma once

#include "framework/win32/win32_api.h"

#include "framework/dialog.h"

namespace probe {

class ChildDialog : public quorvel::ui::Dialog {
 public:
  enum class Ending { EscapeKey, EnterKey, CloseBox, EndDialog42, DestroyWindow, Throw };

  ChildDialog(Ending ending, HWND parent);

  bool OnInitDialog() override;
  void OnTimer(int id) override;
  void OnOK() override;
  void OnCancel() override;
  void OnDestroy() override;

  int destroyCount() const { return destroyCount_; }
  const char* handledBy() const { return handledBy_; }
  bool parentWasDisabled() const { return parentWasDisabled_; }

 private:
  Ending ending_;
  HWND parent_;
  int destroyCount_ = 0;
  const char* handledBy_ = "none";
  bool parentWasDisabled_ = false;
};

}  // namespace probe

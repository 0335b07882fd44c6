// The copy message ("Loading....."): its one timer tick runs the copy job, then the dialog ends. Enter,
// Escape and the close request do nothing.
#pragma once

#include "framework/dialog.h"
#include "res/resource.h"
#include "services/copy_job.h"
#include "services/service_state.h"

namespace quorvel {

inline constexpr int kCopyJobDelayMillis = 2000;
inline constexpr const char* kCheckHardDrives = "Please check hard drives.";

class messageDlg : public ui::Dialog {
 public:
  explicit messageDlg(ServiceContext& context) : ui::Dialog(IDD_COPY_MESSAGE), context_(context) {}

  bool OnInitDialog() override;
  void OnTimer(int id) override;
  void OnOK() override {}
  void OnCancel() override {}

  // How the job ended; Failure also when the dialog ended without running it.
  JobOutcome outcome() const { return outcome_; }

 private:
  ServiceContext& context_;
  int timerId_ = kCodepageJobTimer;
  bool ran_ = false;
  JobOutcome outcome_ = JobOutcome::Failure;
};

}  // namespace quorvel

#include "shares/mount_message.h"

#include "res/resource.h"

namespace quorvel {

MountMessage::MountMessage(std::int32_t& answer) : ui::Dialog(IDD_MOUNT_MESSAGE), answer_(answer) { answer_ = 0; }

void MountMessage::OnOK() {
  answer_ = 1;
  host().EndDialog(ui::IDOK);
}

void MountMessage::OnCancel() {
  answer_ = 0;
  host().EndDialog(ui::IDCANCEL);
}

}  // namespace quorvel

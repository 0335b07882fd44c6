// The drive-letter-in-use dialog: the letter chosen for a mapping has a connection already. OK
// means replace it; Cancel, Esc and the close box mean keep it.
#pragma once

#include <cstdint>

#include "framework/dialog.h"

namespace quorvel {

class MountMessage : public ui::Dialog {
 public:
  // answer is the DriveReuseAnswer that the dialog sets: 1 after OK, 0 otherwise. It is 0 from the
  // start, so a dialog that never opens answers no.
  explicit MountMessage(std::int32_t& answer);

  void OnOK() override;
  void OnCancel() override;

 private:
  std::int32_t& answer_;
};

}  // namespace quorvel

// The model chooser (`ServerModel`): the box's model has no widget of its own, so the user picks one of
// three models. OK answers the chosen radio button's place (0, 1, 2) or kNoModelChosen when none is
// chosen; Cancel, Esc and the close box answer kNoModelChosen.
#pragma once

#include <cstdint>

#include "framework/dialog.h"
#include "services/widget_files.h"

namespace quorvel {

class ServerModel : public ui::Dialog {
 public:
  ServerModel();

  bool OnInitDialog() override;  // starts with no radio button chosen
  void OnOK() override;
  void OnCancel() override;

  // kNoModelChosen until the chooser is closed with OK and a model chosen.
  std::int32_t answer() const { return answer_; }

 private:
  std::int32_t answer_ = kNoModelChosen;
};

}  // namespace quorvel

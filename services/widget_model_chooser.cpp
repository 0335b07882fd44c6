#include "services/widget_model_chooser.h"

#include <array>

#include "res/resource.h"

namespace quorvel {

namespace {

// The radio group, in its order in the dialog.
constexpr std::array<int, 3> kModelRadios = {IDC_MODEL_VRX511, IDC_MODEL_VRX513, IDC_MODEL_VRX533};

}  // namespace

ServerModel::ServerModel() : ui::Dialog(IDD_MODEL_CHOOSER) {}

bool ServerModel::OnInitDialog() {
  for (int radio : kModelRadios) host().Item(radio).SetCheck(false);
  return true;
}

void ServerModel::OnOK() {
  answer_ = kNoModelChosen;
  for (std::size_t place = 0; place < kModelRadios.size(); ++place) {
    if (host().Item(kModelRadios[place]).GetCheck()) {
      answer_ = static_cast<std::int32_t>(place);
      break;
    }
  }
  host().EndDialog(ui::IDOK);
}

void ServerModel::OnCancel() {
  answer_ = kNoModelChosen;
  host().EndDialog(ui::IDCANCEL);
}

}  // namespace quorvel

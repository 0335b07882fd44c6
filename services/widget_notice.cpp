#include "services/widget_notice.h"

#include "res/resource.h"

namespace quorvel {

yahoowidgetalert::yahoowidgetalert() : ui::Dialog(IDD_WIDGET_NOTICE) {}

void yahoowidgetalert::OnOK() {
  answer_ = kEngineDownload;
  host().EndDialog(ui::IDOK);
}

void yahoowidgetalert::OnCancel() {
  answer_ = kEngineNext;
  host().EndDialog(ui::IDCANCEL);
}

}  // namespace quorvel

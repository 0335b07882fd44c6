#include "services/language_dialog.h"

#include <string>

#include "platform/processes.h"
#include "services/busy_pause.h"
#include "services/codepage_table.h"
#include "services/message_dialog.h"
#include "services/progress_dialog.h"

namespace quorvel {

namespace {

bool NeedsFullSupport(int row) { return row >= 3 && row <= 5; }

// Up to ten polls of the disk status, a second apart, until the box reports a known one.
void PollCodepageDiskStatus(ServiceContext& context, const ui::BusyStop& stop) {
  ServiceState& state = context.state;
  for (int poll = 0; poll < kDiskStatusPolls; ++poll) {
    state.DiskStatusText.clear();
    context.requests.QueryDiskStatus(state.DiskStatusText);
    if (!PauseUnlessClosing(context.platform.clock, kDiskStatusPollMillis, stop)) return;
    const int status = StatusValue(state.DiskStatusText);
    if (status >= kStatusNoDisks && status <= kStatusFullSupport) break;
  }
}

}  // namespace

void OpenDevicePages(ServiceContext& context) {
  context.platform.processes.StartCommandLine("explorer http://" + context.deviceAddress.text(), platform::kShowHide);
}

bool GiveUpOnService(ui::DialogHost& owner, ServiceContext& context, std::string_view message) {
  if (!message.empty()) owner.MessageBox(message, kServiceCaption, ui::Icon::None);
  context.state.ServiceAborted.store(-1);
  return false;
}

bool CodepagePrecheck(ui::DialogHost& owner, ServiceContext& context) {
  // A close recorded on the owner during the polls ends them; the flow is then abandoned without a word.
  if (!owner.RunBusy([&context](const ui::BusyStop& stop) { PollCodepageDiskStatus(context, stop); })) {
    return GiveUpOnService(owner, context, {});
  }
  ServiceState& state = context.state;
  state.FullCodepageSupport = 0;
  if (StatusValue(state.DiskStatusText) == kStatusFullSupport) {
    state.DiskStatusText = "3";
    state.FullCodepageSupport = 1;
  }
  switch (StatusValue(state.DiskStatusText)) {
    case kStatusNoDisks: return GiveUpOnService(owner, context, kNoHardDrives);
    case kStatusUnformatted:
      owner.MessageBox(kFormatHardDrive, kServiceCaption, ui::Icon::None);
      OpenDevicePages(context);
      return GiveUpOnService(owner, context, {});
    case kStatusReady: return true;
    case kStatusUnicode: return GiveUpOnService(owner, context, kSupportsUnicode);
    default: return GiveUpOnService(owner, context, kNoMultiLanguage);
  }
}

bool language::OnInitDialog() {
  ui::ComboBox& list = host().Combo(IDC_LANGUAGE_LIST);
  list.ResetContent();
  for (const CodepageRow& row : CodepageTable()) list.AddString(row.listText);
  list.SetCurSel(-1);
  return true;
}

bool language::FirmwareLacks(int row) {
  if (context_.state.FullCodepageSupport != 0 || !NeedsFullSupport(row)) return false;
  host().MessageBox(kFirmwareLacksCodepage, kServiceCaption, ui::Icon::None);
  return true;
}

void language::OnCommand(int id, int code) {
  if (id == IDC_LANGUAGE_LIST && code == ui::CBN_SELCHANGE) FirmwareLacks(host().Combo(IDC_LANGUAGE_LIST).CurSel());
}

void language::OnOK() {
  const int row = host().Combo(IDC_LANGUAGE_LIST).CurSel();
  context_.state.SelectedCodepageIndex = row;
  if (row < 0 || FirmwareLacks(row)) return;
  accepted_ = true;
  host().EndDialog(ui::IDOK);
}

void language::OnCancel() {
  context_.state.ServiceAborted.store(-1);
  host().EndDialog(ui::IDCANCEL);
}

// A failed job brings the chooser back from its start (its polls and choice), as often as the user tries.
void RunCodepageUpload(ui::DialogHost& owner, ServiceContext& context) {
  for (;;) {
    if (!CodepagePrecheck(owner, context)) return;
    language chooser(context);
    owner.RunModal(chooser);
    if (!chooser.accepted()) return;
    messageDlg copying(context);
    owner.RunModal(copying);
    if (copying.outcome() == JobOutcome::Success) {
      progress restart(context.state, context.platform.clock);
      owner.RunModal(restart);
      return;
    }
  }
}

}  // namespace quorvel

#include "services/copy_job.h"

#include <string>

#include "protocol/utf8_rules.h"
#include "services/addon_install.h"
#include "services/codepage_table.h"
#include "services/extract_resource.h"

namespace quorvel {

namespace {

constexpr std::string_view kOldShare = "HDD_a";
constexpr std::string_view kNewShare = "HDD_1";

}  // namespace

bool ChoosePayloadFolder(ServiceContext& context, int timerId) {
  ServiceState& state = context.state;
  const std::string folder = timerId == kAddonJobTimer ? "Nas_Prog/BT" : ".codepages";
  state.AccessModeText = "rw";
  context.requests.RequestAccessMode(state.AccessModeText);
  for (int attempt = 0; attempt < kShareNameAttempts; ++attempt) {
    state.SystemShareName.clear();
    context.requests.QuerySystemShareName(state.SystemShareName);
    const std::string_view name = state.SystemShareName.view();
    if (EqualIgnoringAsciiCase(name, kNewShare) || EqualIgnoringAsciiCase(name, kOldShare)) break;
  }
  const std::string_view share = state.SystemShareName.view();
  if (share.empty() || EqualIgnoringAsciiCase(share, kOldShare)) {
    state.PayloadFolder = std::string(kOldShare) + "\\" + folder;
    state.ShareLayout = kOldShareLayout;
  } else if (EqualIgnoringAsciiCase(share, kNewShare)) {
    // The codepages live in the new layout's system folder, under the share name as the box spells it.
    state.PayloadFolder = timerId == kAddonJobTimer ? std::string(kNewShare) + "\\" + folder
                                                    : std::string(share) + "\\.systemfile\\" + folder;
    state.ShareLayout = kNewShareLayout;
  } else {
    return false;
  }
  return true;
}

std::string PayloadDestination(const ServiceContext& context, std::string_view name) {
  return "\\\\" + context.deviceAddress.text() + "\\" + context.state.PayloadFolder + "\\" + std::string(name);
}

JobOutcome CopyJob(ServiceContext& context, int timerId) {
  if (!ChoosePayloadFolder(context, timerId)) return JobOutcome::Failure;
  return timerId == kAddonJobTimer ? AddonJob(context) : CodepageJob(context);
}

JobOutcome CodepageJob(ServiceContext& context) {
  for (const PayloadFile& file : CodepageFiles(context.state.SelectedCodepageIndex, context.state.ShareLayout)) {
    if (!ExtractResourceToFile(context, "Codepage", file.id, PayloadDestination(context, file.name), "")) {
      return JobOutcome::Failure;
    }
  }
  return JobOutcome::Success;
}

}  // namespace quorvel

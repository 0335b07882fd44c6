#include "services/addon_install.h"

#include <string>

#include "services/busy_pause.h"
#include "services/extract_resource.h"
#include "services/language_dialog.h"

namespace quorvel {

namespace {

struct AddonPayload {
  int id;
  const char* stagingFile;
  const char* nameOnBox;
};

constexpr AddonPayload kAddonPayloads[] = {{215, "C:\\bt\\bt", "bt"}, {220, "C:\\bt\\btdog", "btdog"}};

constexpr int kAddonReady = 1;
constexpr int kAddonStoppedByBox = 2;

void PollDiskStatus(ServiceContext& context, const ui::BusyStop& stop) {
  ServiceState& state = context.state;
  for (int poll = 0; poll < kAddonDiskPolls; ++poll) {
    state.DiskStatusText.clear();
    const int result = context.requests.QueryDiskStatus(state.DiskStatusText);
    if (!PauseUnlessClosing(context.platform.clock, kAddonDiskPollMillis, stop)) return;
    const int status = StatusValue(state.DiskStatusText);
    if ((status >= kStatusNoDisks && status <= kStatusUnicode) || (status == kStatusFullSupport && result == 1)) {
      break;
    }
  }
  const int status = StatusValue(state.DiskStatusText);
  if (status >= kStatusReady && status <= kStatusFullSupport) state.DiskStatusText = "3";
}

void PollAddonStatus(ServiceContext& context, const ui::BusyStop& stop) {
  ServiceState& state = context.state;
  state.AddonStatusText.clear();
  const int result = context.requests.QueryAddonStatus(state.AddonStatusText);
  if (!PauseUnlessClosing(context.platform.clock, kAddonFirstPollMillis, stop)) return;
  if (StatusValue(state.AddonStatusText) == kAddonStoppedByBox && result == 1) return;
  for (int poll = 0; poll < kAddonStatusPolls; ++poll) {
    state.AddonStatusText.clear();
    context.requests.QueryAddonStatus(state.AddonStatusText);
    if (!PauseUnlessClosing(context.platform.clock, kAddonStatusPollMillis, stop)) return;
    if (StatusValue(state.AddonStatusText) == kAddonReady) break;
  }
}

}  // namespace

bool AddonPrecheck(ui::DialogHost& owner, ServiceContext& context) {
  const auto polled = owner.RunBusy([&context](const ui::BusyStop& stop) {
    PollDiskStatus(context, stop);
    if (!stop.requested()) PollAddonStatus(context, stop);
  });
  if (!polled) return GiveUpOnService(owner, context, {});
  switch (StatusValue(context.state.DiskStatusText)) {
    case kStatusNoDisks: return GiveUpOnService(owner, context, kNoHardDrives);
    case kStatusUnformatted:
      owner.MessageBox(kFormatHardDrive, kServiceCaption, ui::Icon::None);
      OpenDevicePages(context);
      return GiveUpOnService(owner, context, {});
    case kStatusReady:
      if (StatusValue(context.state.AddonStatusText) == kAddonReady) return true;
      return GiveUpOnService(owner, context, kAddonUnsupported);
    default: return GiveUpOnService(owner, context, kAddonUnsupported);
  }
}

JobOutcome AddonJob(ServiceContext& context) {
  ServiceState& state = context.state;
  context.platform.files.CreateFolder(kStagingFolder);
  state.AddonInstallActive = 0;
  for (const AddonPayload& payload : kAddonPayloads) {
    if (!ExtractResourceToFile(context, "BT", payload.id, payload.stagingFile,
                               PayloadDestination(context, payload.nameOnBox))) {
      return JobOutcome::Failure;
    }
  }
  state.AddonNameText = "BT";
  context.requests.StartAddon(state.AddonNameText);
  state.AddonCopied = 1;
  return JobOutcome::Success;
}

}  // namespace quorvel

// The add-on install's own steps: the readiness check of the box (disk and add-on statuses) and the add-on
// job of the copy message, which stages the two add-on files on the PC and copies them to the box.
#pragma once

#include "framework/dialog.h"
#include "services/copy_job.h"
#include "services/service_state.h"

namespace quorvel {

inline constexpr const char* kStagingFolder = "C:\\bt\\";
inline constexpr int kAddonDiskPolls = 15;
inline constexpr int kAddonDiskPollMillis = 2000;
inline constexpr int kAddonFirstPollMillis = 1000;
inline constexpr int kAddonStatusPolls = 15;
inline constexpr int kAddonStatusPollMillis = 2000;

inline constexpr const char* kAddonUnsupported = "BitTorrent does not supported on this device now.";

// Polls the statuses and decides; every refusal is shown (owned by the main window) and sets
// ServiceAborted to -1.
bool AddonPrecheck(ui::DialogHost& owner, ServiceContext& context);

// The add-on branch of the copy job: payloads "BT" 215 ("bt") and 220 ("btdog") through the staging folder,
// then the add-on start; AddonCopied 1 when both are on the box.
JobOutcome AddonJob(ServiceContext& context);

}  // namespace quorvel

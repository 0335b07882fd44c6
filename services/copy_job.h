// The copy job that the copy message's timer runs: the access mode, the box's first volume share and the
// folder that receives the payloads, then the codepage's files or the add-on's.
#pragma once

#include <string_view>

#include "services/service_state.h"

namespace quorvel {

inline constexpr int kCodepageJobTimer = 1;
inline constexpr int kAddonJobTimer = 2;
inline constexpr int kShareNameAttempts = 10;

enum class JobOutcome { Success, Failure };

// The common steps: asks for the access mode and the share name, and sets PayloadFolder and ShareLayout.
// False when the box names a share other than "HDD_1" or "HDD_a" (there is then no folder to write to).
bool ChoosePayloadFolder(ServiceContext& context, int timerId);

// The destination "\\\\address\\PayloadFolder\\name".
std::string PayloadDestination(const ServiceContext& context, std::string_view name);

// The whole job of one timer id: the common steps, then the add-on job (kAddonJobTimer) or the codepage job.
JobOutcome CopyJob(ServiceContext& context, int timerId);

// Writes the files of the row SelectedCodepageIndex for the current ShareLayout, stopping at the first
// failure (files already written stay on the box). A row without files succeeds at once.
JobOutcome CodepageJob(ServiceContext& context);

}  // namespace quorvel

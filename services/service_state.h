// What the hidden services (codepage upload, add-on install) keep between their dialogs and steps, and what
// each step works with: the box, its requests and the platform.
#pragma once

#include <atomic>
#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "protocol/fixed_text.h"
#include "services/box_address.h"
#include "services/service_requests.h"

namespace quorvel {

// The caption of the services' message boxes that have none of their own: the program's title.
inline constexpr const char* kServiceCaption = "Quorvel";

// The box's disk statuses.
inline constexpr int kStatusNoDisks = 1;
inline constexpr int kStatusUnformatted = 2;
inline constexpr int kStatusReady = 3;
inline constexpr int kStatusUnicode = 4;      // file names in Unicode already
inline constexpr int kStatusFullSupport = 5;  // ready, and every codepage may be chosen

inline constexpr int kOldShareLayout = 1;  // the box's first volume is "HDD_a"
inline constexpr int kNewShareLayout = 2;  // the box's first volume is "HDD_1"

struct ServiceState {
  StatusText DiskStatusText;       // one decimal digit, read with atoi
  int FullCodepageSupport = 0;     // 1: every row of the codepage list may be chosen
  int SelectedCodepageIndex = -1;  // row of the codepage list
  int LastCopyFailed = 0;          // 1: the last payload was not found where it was written
  // -1 when a flow ended early, 0 when a restart wait ran to its end. The restart wait's worker writes it.
  std::atomic<int> ServiceAborted{0};
  StatusText AccessModeText;
  ShareNameText SystemShareName;
  std::string PayloadFolder;       // share-relative folder that receives the payloads
  int ShareLayout = 0;             // kOldShareLayout or kNewShareLayout
  int AddonInstallActive = 0;      // 1: the copy job is the add-on's
  int AddonCopied = 0;             // 1: both add-on files are on the box
  StatusText AddonStatusText;      // one decimal digit, read with atoi
  StatusText AddonNameText;
};

struct ServiceContext {
  ServiceState& state;
  ServiceRequests& requests;
  platform::Platform& platform;
  BoxAddress deviceAddress;  // the selected box
};

// A status text as a number, read as atoi reads it (0 for an empty text).
inline int StatusValue(const StatusText& text) { return std::atoi(text.c_str()); }

}  // namespace quorvel

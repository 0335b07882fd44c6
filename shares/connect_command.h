// The Connect command of the main window: maps the volume selected in the share list, as the
// selected box's share, to the letter chosen in the drive-letter box, and its companion share to the
// next free letter, as persistent network drives.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/os_info.h"
#include "protocol/device_protocol.h"
#include "protocol/fixed_text.h"
#include "services/auth_table.h"
#include "shares/mapping_window.h"

namespace quorvel {

inline constexpr int kNtMappingAttempts = 6;

// The console's state that the command reads and leaves behind.
struct ConnectState {
  CommandContext& request;              // UserName and Password: emptied, and left empty
  int& adminLoginMode;                  // set to 0
  AuthTable& authTable;                 // the credentials that each box accepted at its selection
  platform::OsInfo& os;                 // the Windows version decides how credentials are tried
  FixedText<64>& currentDeviceAddress;  // takes the selected box's address
  std::int32_t& driveReuseAnswer;       // the drive-letter-in-use dialog's answer
  // The key text of the box of a device row; empty when the row's box is gone.
  std::function<std::string(int row)> deviceKeyOfRow;
};

// Stops with a warning when no volume, or no box in view, is selected; silently when no letter is
// chosen or the user keeps a letter in use; with "Failed to map drive." when the box's address or
// volume name (the box's own, UTF-8) may not go into a path, or the volume cannot be connected (the letter's earlier
// connection is gone by then). On success the drive-letter box and the share list are rebuilt.
void ConnectSelectedShare(const MappingWindow& window, const ConnectState& state);

}  // namespace quorvel

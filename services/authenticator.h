// The administrator login: the login dialog, the per-box authentication table and the two check
// sequences that the console runs before it works with a box.
#pragma once

#include <string_view>

#include "framework/dialog.h"
#include "platform/os_info.h"
#include "protocol/device_protocol.h"
#include "services/auth_table.h"

namespace quorvel {

class Authenticator {
 public:
  Authenticator(DeviceProtocol& protocol, AuthTable& table, platform::OsInfo& os)
      : protocol_(protocol), table_(table), os_(os) {}

  // 1 makes the login dialog fix the user name to "admin"; set by the settings command, cleared by
  // the share mapping command.
  int AdminLoginMode = 0;

  bool IsAuthenticated(std::string_view key) const { return table_.IsAuthenticated(key); }
  // Puts the box's remembered user name and password back into the request values.
  void RestoreCredentials(std::string_view key);
  // The device-selection login: the dialog, then the password check (once more at once if refused).
  bool LoginForDevice(ui::DialogHost& owner, std::string_view key);
  // "admin" with an empty password first, the login dialog only if the box refuses that.
  bool AdminCheckWithFallback(ui::DialogHost& owner);

 private:
  DeviceProtocol& protocol_;
  AuthTable& table_;
  platform::OsInfo& os_;
};

}  // namespace quorvel

// The login dialog: a user name and a password for the box, at most 16 characters each. OK writes them
// into the request values that the next command carries; Cancel leaves those as they were.
#pragma once

#include <cstddef>

#include "framework/dialog.h"
#include "platform/os_info.h"
#include "protocol/device_protocol.h"
#include "res/resource.h"

namespace quorvel {

inline constexpr std::size_t kLoginFieldMaxChars = 16;

class login : public ui::Dialog {
 public:
  // adminLoginMode 1 fixes the user name to "admin".
  login(CommandContext& context, platform::OsInfo& os, int adminLoginMode)
      : ui::Dialog(IDD_LOGIN), context_(context), os_(os), adminLoginMode_(adminLoginMode) {}

  bool OnInitDialog() override;
  void OnOK() override;

 private:
  // False, with a message and the caret in the field, when the field holds too many characters.
  bool FieldFits(int id);

  CommandContext& context_;
  platform::OsInfo& os_;
  int adminLoginMode_;
};

}  // namespace quorvel

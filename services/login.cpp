#include "services/login.h"

#include <string>

#include "services/windows_version.h"

namespace quorvel {

bool login::OnInitDialog() {
  ui::Control& user = host().Item(IDC_LOGIN_USER_NAME);
  ui::Control& password = host().Item(IDC_LOGIN_PASSWORD);
  user.SetLimitText(static_cast<int>(kLoginFieldMaxChars));
  password.SetLimitText(static_cast<int>(kLoginFieldMaxChars));

  if (adminLoginMode_ == 1) {
    user.SetText("admin");
    user.Enable(false);
  } else {
    const std::string windows = GetWindowsVersionName(os_);
    if (windows.find("ME") != std::string::npos || windows.find("98") != std::string::npos) {
      // Those systems log on with one name for the network too.
      user.SetText(os_.UserName());
      user.Enable(false);
    } else {
      user.SetText("");
      user.Enable(true);
    }
  }
  password.SetText("");
  return true;
}

bool login::FieldFits(int id) {
  ui::Control& field = host().Item(id);
  if (field.Text().size() <= kLoginFieldMaxChars) return true;
  const std::string message =
      "Please enter no more than " + std::to_string(kLoginFieldMaxChars) + " characters.";
  host().MessageBox(message, "Warning", ui::Icon::Warning);
  field.SetFocus();
  return false;
}

void login::OnOK() {
  if (!FieldFits(IDC_LOGIN_USER_NAME) || !FieldFits(IDC_LOGIN_PASSWORD)) return;
  context_.UserName = host().Item(IDC_LOGIN_USER_NAME).Text();
  context_.Password = host().Item(IDC_LOGIN_PASSWORD).Text();
  host().EndDialog(ui::IDOK);
}

}  // namespace quorvel

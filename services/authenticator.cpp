#include "services/authenticator.h"

#include "services/device_key.h"
#include "services/login.h"

namespace quorvel {

namespace {

constexpr const char* kWrongPassword = "Wrong administrator password input!";

void ReportWrongPassword(ui::DialogHost& owner) {
  owner.MessageBox(kWrongPassword, "Error", ui::Icon::Error);
}

}  // namespace

void Authenticator::RestoreCredentials(std::string_view key) {
  const AuthEntry* entry = table_.Find(key);
  if (!entry) return;
  CommandContext& context = protocol_.context();
  context.UserName = entry->userName.view();
  context.Password = entry->password.view();
}

bool Authenticator::LoginForDevice(ui::DialogHost& owner, std::string_view key) {
  if (!table_.Find(key)) return false;
  // The table's keys are built from ids, so they read back; a key that does not is no box to ask, and the
  // password must not go to whichever box was selected before.
  const auto id = DeviceIdFromKeyText(key);
  if (!id) return false;
  CommandContext& context = protocol_.context();
  context.SelectedDeviceId = *id;

  login dialog(context, os_, AdminLoginMode);
  if (owner.RunModal(dialog) != ui::IDOK) return false;

  // One retry at once with the same values: a box that missed the first request is not a refusal.
  // The retry is a new request with its own tag, so a late acceptance of the first one that
  // arrives during the retry's wait is dropped: only the box's answer to the retry decides. After a
  // close recorded during the first try the retry is not sent.
  const auto checked = owner.RunBusy([this](const ui::BusyStop& stop) {
    return protocol_.CheckPassword() || (!stop.requested() && protocol_.CheckPassword());
  });
  if (!checked.ran()) return false;
  // The box's answer is kept even when a close was recorded meanwhile; only the message and the steps
  // after the login wait for no close.
  const bool accepted = *checked;
  AuthEntry* entry = table_.Find(key);  // looked up again: the table may have changed meanwhile
  if (accepted && entry) {
    entry->authenticated = true;
    entry->userName = context.UserName.view();
    entry->password = context.Password.view();
    return !checked.closing();
  }
  if (!accepted && !checked.closing()) ReportWrongPassword(owner);
  return false;
}

bool Authenticator::AdminCheckWithFallback(ui::DialogHost& owner) {
  CommandContext& context = protocol_.context();
  context.UserName = "admin";
  context.Password = "";
  const auto first = owner.RunBusy([this] { return protocol_.CheckPassword(); });
  if (!first) return false;
  if (*first) return true;

  // Whatever the dialog ends with, the check runs once more: after Cancel with "admin" and no password.
  login dialog(context, os_, AdminLoginMode);
  owner.RunModal(dialog);
  const auto second = owner.RunBusy([this] { return protocol_.CheckPassword(); });
  if (!second) return false;
  if (*second) return true;
  ReportWrongPassword(owner);
  return false;
}

}  // namespace quorvel

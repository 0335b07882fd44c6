// The codepage chooser ("language"): OK with an allowed row starts the upload. RunCodepageUpload is the
// whole flow after the main window's command: the disk status polls (run by the main window, with its wait
// cursor and its close), then the chooser only for a box that can take a codepage, the copy message, and
// the restart wait or, after a failed job, the polls and the chooser again.
#pragma once

#include <string_view>

#include "framework/dialog.h"
#include "res/resource.h"
#include "services/service_state.h"

namespace quorvel {

inline constexpr int kDiskStatusPolls = 10;
inline constexpr int kDiskStatusPollMillis = 1000;

inline constexpr const char* kNoHardDrives =
    "No hard drives were detected.\nPlease verify that the hard drives are properly connected before continuing.";
inline constexpr const char* kFormatHardDrive = "Please format hard drive.";
inline constexpr const char* kSupportsUnicode = "This device supports Unicode.";
inline constexpr const char* kNoMultiLanguage = "Multi-language options are not supported on this device.";
inline constexpr const char* kFirmwareLacksCodepage =
    "This codepage does not supported in this firmware.\nPlease download the latest firmware from the support link.";

// Starts the box's web pages in the browser, as the services do when a disk needs formatting.
void OpenDevicePages(ServiceContext& context);

// A service's flow ends early: the message (none when empty) with the owner's message box, and the flow
// marked as abandoned (ServiceAborted -1). Returns false.
bool GiveUpOnService(ui::DialogHost& owner, ServiceContext& context, std::string_view message);

// The disk status polls as busy work of the owner, and what the status says: true when the box can take
// a codepage (FullCodepageSupport then set); otherwise its message was shown and the flow abandoned.
bool CodepagePrecheck(ui::DialogHost& owner, ServiceContext& context);

class language : public ui::Dialog {
 public:
  explicit language(ServiceContext& context) : ui::Dialog(IDD_LANGUAGE), context_(context) {}

  bool OnInitDialog() override;
  void OnCommand(int id, int code) override;
  void OnOK() override;
  void OnCancel() override;

  // True when the user chose an allowed row and pressed OK.
  bool accepted() const { return accepted_; }

 private:
  // The row needs a firmware with full codepage support, and the box's has none: says so.
  bool FirmwareLacks(int row);

  ServiceContext& context_;
  bool accepted_ = false;
};

void RunCodepageUpload(ui::DialogHost& owner, ServiceContext& context);

}  // namespace quorvel

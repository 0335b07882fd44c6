// The box's requests that the hidden services make: the disk and add-on statuses, the name of the box's
// first volume share, the access mode and the add-on start. The services call them through this seam; the
// console passes the device protocol's, tests a scripted box.
#pragma once

#include "protocol/device_protocol.h"
#include "protocol/fixed_text.h"

namespace quorvel {

using StatusText = FixedText<8>;
using ShareNameText = FixedText<256>;

class ServiceRequests {
 public:
  virtual ~ServiceRequests() = default;
  // Each returns the request's result (0 when it failed) and fills the text it is given, if anything.
  virtual int QueryDiskStatus(StatusText& diskStatus) = 0;
  virtual int QueryAddonStatus(StatusText& addonStatus) = 0;
  virtual int QuerySystemShareName(ShareNameText& shareName) = 0;
  virtual int RequestAccessMode(const StatusText& accessMode) = 0;
  virtual int StartAddon(const StatusText& addonName) = 0;
};

// The device protocol's requests. They have no wire form: they send nothing, fill nothing and return 0.
class ProtocolServiceRequests final : public ServiceRequests {
 public:
  explicit ProtocolServiceRequests(DeviceProtocol& protocol) : protocol_(protocol) {}

  int QueryDiskStatus(StatusText&) override { return protocol_.QueryDiskStatus(); }
  int QueryAddonStatus(StatusText&) override { return protocol_.QueryAddonStatus(); }
  int QuerySystemShareName(ShareNameText&) override { return protocol_.QuerySystemShareName(); }
  int RequestAccessMode(const StatusText&) override { return protocol_.RequestAccessMode(); }
  int StartAddon(const StatusText&) override { return protocol_.StartAddon(); }

 private:
  DeviceProtocol& protocol_;
};

}  // namespace quorvel

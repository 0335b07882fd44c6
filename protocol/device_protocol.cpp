#include "device_protocol.h"

#include <algorithm>

namespace quorvel {

DeviceProtocol::DeviceProtocol(std::unique_ptr<Transport> transport, Clock& clock)
    : transport_(std::move(transport)), clock_(clock) {}

DeviceProtocol::~DeviceProtocol() { NetShutdown(); }

bool DeviceProtocol::NetStartup() {
  if (!transport_->Start()) return false;
  started_ = true;
  return true;
}

void DeviceProtocol::NetShutdown() {
  if (!started_) return;
  transport_->Stop();
  started_ = false;
}

const DeviceRecord* DeviceProtocol::FindDevice(const DeviceId& id) const {
  const auto it = std::find_if(devices_.begin(), devices_.end(),
                               [&](const DeviceRecord& record) { return record.id == id; });
  return it == devices_.end() ? nullptr : &*it;
}

int DeviceProtocol::InterfaceOfDevice(const DeviceId& id) const {
  const DeviceRecord* record = FindDevice(id);
  return record ? record->interfaceIndex : -1;
}

Bytes ReceivedBytes(const Received& received, const PacketBuffer& buffer) {
  if (!received.arrived || received.length < 0 ||
      static_cast<std::size_t>(received.length) > buffer.size()) {
    return {};
  }
  return Bytes(buffer.data(), static_cast<std::size_t>(received.length));
}

}  // namespace quorvel

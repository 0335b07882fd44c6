// Discovery: one search request on every interface, and the replies that make the device table.
#include "device_protocol.h"

namespace quorvel {

namespace {

// A steady stream of replies that count no poll (foreign, broken or repeated ones) must not hold
// the search forever: each interface is left at the latest after twice its longest quiet wait.
constexpr std::int64_t kSearchDeadlineMicros =
    2LL * SEARCH_COUNTED_POLLS * SEARCH_POLL_MICROS;

}  // namespace

void DeviceProtocol::SearchDevices() {
  ClearDeviceTable();
  const Request request(OP_SEARCH, clientId_, DeviceId{});
  searchStats_.assign(static_cast<std::size_t>(transport_->InterfaceCount()), SearchStats{});
  for (int i = 0; i < transport_->InterfaceCount(); ++i) SearchInterface(i, request);
}

void DeviceProtocol::SearchInterface(int interfaceIndex, const Request& request) {
  transport_->SendOnInterface(interfaceIndex, request.bytes());
  PacketBuffer buffer{};
  const std::int64_t deadline = clock_.NowMicros() + kSearchDeadlineMicros;
  SearchStats& stats = searchStats_[static_cast<std::size_t>(interfaceIndex)];
  int polls = 0;
  while (clock_.NowMicros() < deadline) {
    const Received received = transport_->ReceiveOnInterface(interfaceIndex, SEARCH_POLL_MICROS, buffer);
    if (received.arrived) {
      const Bytes reply = ReceivedBytes(received, buffer);
      const ReplyVerdict verdict = JudgeReply(reply, OP_SEARCH, clientId_);
      if (verdict != ReplyVerdict::Valid) {
        ++(verdict == ReplyVerdict::Foreign ? stats.foreign : stats.invalid);
        continue;
      }
      if (IsAcceptedModel(ReplyModel(reply))) {
        if (IsKnownDevice(ReplyDeviceId(reply))) continue;
        devices_.push_back(RecordFromReply(reply, interfaceIndex));
        ++stats.boxes;
      } else {
        ++stats.rejectedModel;
      }
    }
    if (++polls == SEARCH_COUNTED_POLLS) return;
  }
}

}  // namespace quorvel

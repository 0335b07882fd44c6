// The commands to one box: password check, share names and network settings.
#include <string>

#include "device_protocol.h"
#include "drain.h"
#include "request_tag.h"

namespace quorvel {

namespace {

constexpr int kSettleMillis = 50;      // pause between sending and the first wait
constexpr int kEmptyPollMillis = 20;   // pause after each wait that brought nothing
constexpr int kEmptyPollsAllowed = 100;
constexpr int kLongWaitMicros = 30'000;
constexpr int kShortWaitMicros = 10'000;

// Twice the longest quiet wait: the limit that a stream of unusable datagrams cannot stretch.
constexpr std::int64_t DeadlineMicros(int waitMicros) {
  return 2LL * ((kEmptyPollsAllowed + 1) * std::int64_t{waitMicros} +
                kEmptyPollsAllowed * kEmptyPollMillis * 1000LL);
}

}  // namespace

int PortIndexForSelection(const DeviceRecord& record, std::string_view selectedPortText) {
  int port = 0;
  if (record.portCount == 1) {
    port = record.primaryPort;
  } else if (record.portCount == 2) {
    if (selectedPortText == "LAN1+LAN2") port = record.primaryPort;
    else port = selectedPortText == "LAN1" ? 0 : 1;
  }
  return port == 1 ? 1 : 0;  // a primary port other than 0 or 1 falls back to the first port
}

std::optional<Bytes> DeviceProtocol::AwaitReply(int interfaceIndex, const Request& request,
                                                int waitMicros, PacketBuffer& reply) {
  const std::int64_t deadline = clock_.NowMicros() + DeadlineMicros(waitMicros);
  int emptyPolls = 0;
  while (clock_.NowMicros() < deadline) {
    const Received received = transport_->ReceiveOnInterface(interfaceIndex, waitMicros, reply);
    if (received.arrived) {
      const Bytes datagram = ReceivedBytes(received, reply);
      if (request.Judge(datagram) == ReplyVerdict::Valid) return datagram;
      continue;
    }
    if (emptyPolls == kEmptyPollsAllowed) return std::nullopt;
    ++emptyPolls;
    clock_.SleepMillis(kEmptyPollMillis);
  }
  return std::nullopt;
}

// Every command is built with a fresh tag, so no reply to an earlier request can pass for its answer.
Request DeviceProtocol::CommandRequest(std::uint16_t opcode) const {
  Request request(opcode, NewRequestTag(), context_.SelectedDeviceId);
  request.AddAuthBlock(context_.UserName.view(), context_.Password.view());
  return request;
}

std::optional<Bytes> DeviceProtocol::Exchange(const Request& request, int waitMicros,
                                              PacketBuffer& reply) {
  const int interfaceIndex = InterfaceOfDevice(context_.SelectedDeviceId);
  if (interfaceIndex < 0) return std::nullopt;
  DrainInterface(*transport_, clock_, interfaceIndex);
  transport_->SendOnInterface(interfaceIndex, request.bytes());
  clock_.SleepMillis(kSettleMillis);
  return AwaitReply(interfaceIndex, request, waitMicros, reply);
}

bool DeviceProtocol::CheckPassword() {
  PacketBuffer reply{};
  const auto answer = Exchange(CommandRequest(OP_CHECK_PASSWORD), kLongWaitMicros, reply);
  return answer && ReplyStatus(*answer) == 1;
}

bool DeviceProtocol::FetchShareNames() {
  ClearShareNameList();
  shareNamesStatus_ = 0;
  PacketBuffer reply{};
  const auto answer = Exchange(CommandRequest(OP_GET_SHARES), kShortWaitMicros, reply);
  if (!answer) return false;
  shareNamesStatus_ = ReplyStatus(*answer);
  AppendShareNames(*answer, shares_);
  return true;
}

bool DeviceProtocol::SetNetworkSettings(bool dhcp) {
  const DeviceRecord* record = FindDevice(context_.SelectedDeviceId);
  if (!record) return false;
  const int p = PortIndexForSelection(*record, context_.SelectedPortText.view());
  const PortSettings& port = record->ports[p];
  Request request = CommandRequest(OP_SET_NETWORK);
  request.AddField(FLD_PORT_IP, context_.NewIpText.view());
  request.AddField(FLD_PORT_NETMASK, context_.NewNetmaskText.view());
  request.AddField(FLD_PORT_GATEWAY, context_.NewGatewayText.view());
  request.AddField(FLD_PORT_ADDR_A, port.addrA.view());
  request.AddField(FLD_PORT_ADDR_B, port.addrB.view());
  request.AddField(FLD_PORT_OPTION, port.option != 0 ? "1" : "0");
  request.AddField(FLD_PORT_INDEX, p != 0 ? "1" : "0");
  request.AddField(FLD_PORT_DHCP, dhcp ? "1" : "0");
  PacketBuffer reply{};
  const auto answer = Exchange(request, dhcp ? kLongWaitMicros : kShortWaitMicros, reply);
  return answer && ReplyStatus(*answer) == 1;
}

}  // namespace quorvel

#include "platform/win32/address_probe_win32.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>
#include <icmpapi.h>

#include <netioapi.h>

#include <array>
#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "platform/neighbour_state.h"
#include "platform/probe_deadline.h"
#include "platform/system_address_probe.h"
#include "platform/win32/system_library.h"
#include "protocol/socket_api.h"

namespace quorvel::platform {

namespace {

using Deadline = std::chrono::steady_clock::time_point;
// The echo ends this much before the caller stops waiting, so that a silent address reads as silent.
constexpr std::chrono::milliseconds kEchoMargin{100};
constexpr std::chrono::milliseconds kTablePoll{20};
// What the resolve call on the worker came to; kPendingResolve while it runs.
constexpr long kPendingResolve = -1;

std::optional<IPAddr> ParseAddress(const std::string& text) {
  in_addr address{};
  if (inet_pton(AF_INET, text.c_str(), &address) != 1) return std::nullopt;
  return address.s_addr;
}

// One ICMP handle, closed by its destructor.
class IcmpHandle {
 public:
  IcmpHandle() : handle_(IcmpCreateFile()) {}
  ~IcmpHandle() {
    if (valid()) IcmpCloseHandle(handle_);
  }
  IcmpHandle(const IcmpHandle&) = delete;
  IcmpHandle& operator=(const IcmpHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// An echo request and the wait for its reply, until the deadline.
ProbeAnswer Echo(IPAddr target, Deadline deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - kEchoMargin - std::chrono::steady_clock::now());
  if (left.count() <= 0) return ProbeAnswer::CannotProbe;
  IcmpHandle icmp;
  if (!icmp.valid()) return ProbeAnswer::CannotProbe;
  std::array<char, 8> payload{'q', 'u', 'o', 'r', 'v', 'e', 'l', '?'};
  std::array<unsigned char, sizeof(ICMP_ECHO_REPLY) + 8 + 8 + 64> reply{};
  const DWORD replies = IcmpSendEcho(icmp.get(), target, payload.data(), static_cast<WORD>(payload.size()), nullptr,
                                     reply.data(), static_cast<DWORD>(reply.size()), static_cast<DWORD>(left.count()));
  if (replies > 0) {
    return reinterpret_cast<const ICMP_ECHO_REPLY*>(reply.data())->Status == IP_SUCCESS ? ProbeAnswer::Answered
                                                                                         : ProbeAnswer::Silent;
  }
  switch (GetLastError()) {
    case IP_REQ_TIMED_OUT:
    case IP_DEST_HOST_UNREACHABLE:
      return ProbeAnswer::Silent;
    default:
      return ProbeAnswer::CannotProbe;
  }
}

ProbeAnswer ArpThenEcho(IPAddr target, IPAddr source, Deadline deadline) {
  std::array<ULONG, 2> hardware{};
  ULONG length = sizeof hardware;
  switch (SendARP(target, source, hardware.data(), &length)) {
    case NO_ERROR:
      return length > 0 ? ProbeAnswer::Answered : ProbeAnswer::Silent;
    case ERROR_BAD_NET_NAME:  // no ARP reply
    case ERROR_GEN_FAILURE:   // no ARP reply (older systems)
      return ProbeAnswer::Silent;
    case ERROR_NOT_SUPPORTED:  // no ARP request to be had here (Wine)
      return Echo(target, deadline);
    default:
      return ProbeAnswer::CannotProbe;
  }
}

// The neighbour-table calls of iphlpapi, looked up when first needed: not every system that runs
// this program exports them (Wine's iphlpapi lacks both, and a program that imports them aborts
// there when it calls one).
using ResolveFn = decltype(&ResolveIpNetEntry2);
using GetEntryFn = decltype(&GetIpNetEntry2);
struct NeighbourCalls {
  ResolveFn resolve = nullptr;
  GetEntryFn getEntry = nullptr;
  bool available() const { return resolve != nullptr && getEntry != nullptr; }
};

const NeighbourCalls& IphlpapiNeighbourCalls() {
  static const NeighbourCalls calls{FindSystemFunction<ResolveFn>("iphlpapi.dll", "ResolveIpNetEntry2"),
                                    FindSystemFunction<GetEntryFn>("iphlpapi.dll", "GetIpNetEntry2")};
  return calls;
}

MIB_IPNET_ROW2 RowOf(IPAddr target, NET_IFINDEX interfaceIndex) {
  MIB_IPNET_ROW2 row{};
  row.Address.si_family = AF_INET;
  row.Address.Ipv4.sin_family = AF_INET;
  row.Address.Ipv4.sin_addr.s_addr = target;
  row.InterfaceIndex = interfaceIndex;
  return row;
}

// The neighbour entry of the address on the PC's interface, as the system's table has it now.
NeighbourState TableState(GetEntryFn getEntry, IPAddr target, NET_IFINDEX interfaceIndex) {
  MIB_IPNET_ROW2 row = RowOf(target, interfaceIndex);
  if (getEntry(&row) != NO_ERROR) return NeighbourState::Absent;
  return WindowsNeighbourState(static_cast<int>(row.State));
}

ResolveStatus StatusOfResolve(long result) {
  switch (result) {
    case kPendingResolve: return ResolveStatus::Pending;
    case NO_ERROR: return ResolveStatus::Resolved;
    case ERROR_BAD_NET_NAME:  // no ARP reply
    case ERROR_GEN_FAILURE:   // no ARP reply (older systems)
      return ResolveStatus::NoReply;
    case ERROR_NOT_SUPPORTED:
    case ERROR_CALL_NOT_IMPLEMENTED:
      return ResolveStatus::Unsupported;
    default:
      return ResolveStatus::Failed;
  }
}

// The system index of the interface that carries the PC's address; 0 when none does.
NET_IFINDEX InterfaceOfAddress(const std::string& localAddress) {
  for (const net::LocalAddress& each : net::ListLocalAddresses()) {
    if (each.address == localAddress) return each.systemIndex;
  }
  return 0;
}

// SendARP or an echo, on a worker, for what is left of the time.
ProbeAnswer OlderProbe(IPAddr target, IPAddr source, Deadline deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
  if (left <= 0) return ProbeAnswer::CannotProbe;
  return AnswerWithin([target, source, deadline] { return ArpThenEcho(target, source, deadline); },
                      static_cast<int>(left));
}

}  // namespace

// ResolveIpNetEntry2 asks the link afresh whatever the table holds; it has no time limit of its own,
// so it runs on a worker while the table is read until the deadline (ResolvePolling decides from the
// reads). Where the system lacks the neighbour calls or resolves nothing itself, SendARP or an echo.
ProbeAnswer Win32AddressProbe::Probe(const std::string& address, const std::string& localAddress, int timeoutMillis) {
  const std::optional<IPAddr> target = ParseAddress(address);
  const std::optional<IPAddr> source = ParseAddress(localAddress);
  if (!target || !source) return ProbeAnswer::CannotProbe;
  const Deadline deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMillis);
  const NeighbourCalls& calls = IphlpapiNeighbourCalls();
  if (!calls.available()) return OlderProbe(*target, *source, deadline);
  const NET_IFINDEX interfaceIndex = InterfaceOfAddress(localAddress);
  if (interfaceIndex == 0) return ProbeAnswer::CannotProbe;
  auto resolved = std::make_shared<std::atomic<long>>(kPendingResolve);
  std::thread([resolved, resolve = calls.resolve, target = *target, source = *source, interfaceIndex] {
    MIB_IPNET_ROW2 row = RowOf(target, interfaceIndex);
    SOCKADDR_INET from{};
    from.si_family = AF_INET;
    from.Ipv4.sin_family = AF_INET;
    from.Ipv4.sin_addr.s_addr = source;
    resolved->store(static_cast<long>(resolve(&row, &from)));
  }).detach();
  ResolvePolling polling;
  for (;;) {
    const bool atDeadline = std::chrono::steady_clock::now() + kTablePoll >= deadline;
    // The call's status before the table, so that a Failed entry read while the call runs is one
    // that was there before it ended.
    const ResolveStatus status = StatusOfResolve(resolved->load());
    const ResolveStep step = polling.Next(status, TableState(calls.getEntry, *target, interfaceIndex), atDeadline);
    if (step.kind == ResolveStep::Answer) return step.answer;
    if (step.kind == ResolveStep::OtherProbe) return OlderProbe(*target, *source, deadline);
    std::this_thread::sleep_for(kTablePoll);
  }
}
AddressProbe& SystemAddressProbe() {
  static Win32AddressProbe probe;
  return probe;
}

}  // namespace quorvel::platform

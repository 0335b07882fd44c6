// The device protocol of one running program: the interface table (through its transport), the
// device table, the share name list and the context values that the console
// writes before a command. Every operation blocks its caller until it is done.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "clock.h"
#include "device_record.h"
#include "search_progress.h"
#include "search_stats.h"
#include "share_names.h"
#include "transport.h"

namespace quorvel {

// Written by the console before a command; commands only read them.
struct CommandContext {
  DeviceId SelectedDeviceId{};
  FixedText<64> UserName;
  FixedText<64> Password;
  FixedText<12> SelectedPortText;  // at most 10 characters are used
  FixedText<16> NewIpText;
  FixedText<16> NewNetmaskText;
  FixedText<16> NewGatewayText;
};

// Asked by a long wait whether to end early; an empty one never stops it.
using StopCheck = std::function<bool()>;

class DeviceProtocol {
 public:
  DeviceProtocol(std::unique_ptr<Transport> transport, Clock& clock);
  ~DeviceProtocol();
  DeviceProtocol(const DeviceProtocol&) = delete;
  DeviceProtocol& operator=(const DeviceProtocol&) = delete;

  // Starts the sockets. False when the socket library cannot start;
  // the program then ends with exit code 1.
  bool NetStartup();
  void NetShutdown();

  int InterfaceCount() const { return transport_->InterfaceCount(); }
  std::string InterfaceAddress(int index) const { return transport_->InterfaceAddress(index); }
  int InterfacePrefixLength(int index) const { return transport_->InterfacePrefixLength(index); }
  unsigned InterfaceSystemIndex(int index) const { return transport_->InterfaceSystemIndex(index); }
  std::vector<std::string> LocalAddresses() const { return transport_->LocalAddresses(); }

  // Discovery: empties the device table and fills it from one search on every interface. `stop` is
  // asked during each interface's drain and at each counted poll; once it answers true every interface
  // ends its search there (one still draining sends no request) and the table holds what came so far.
  // Without it the search runs its full course. `progress`, when given, hears each change of the table
  // that the search builds as it happens, on the searching thread; the finished table is the same with
  // it or without.
  void SearchDevices(const StopCheck& stop = {}, const SearchProgress& progress = {});
  void ClearDeviceTable() { devices_.clear(); }
  const std::vector<DeviceRecord>& DeviceTable() const { return devices_; }
  // One entry per interface of the last search, in interface order.
  const std::vector<SearchStats>& LastSearchStats() const { return searchStats_; }
  bool IsKnownDevice(const DeviceId& id) const { return FindDevice(id) != nullptr; }
  const DeviceRecord* FindDevice(const DeviceId& id) const;
  int InterfaceOfDevice(const DeviceId& id) const;

  // Commands to the selected box, through the interface on which it was found.
  CommandContext& context() { return context_; }
  const CommandContext& context() const { return context_; }
  bool CheckPassword();
  bool FetchShareNames();
  bool SetNetworkSettings(bool dhcp);
  void ClearShareNameList() { shares_.clear(); }
  const std::vector<ShareName>& ShareNameList() const { return shares_; }
  // The status of the last share names reply, 0 when none arrived. FetchShareNames does not look at it
  // (the console takes the names whatever it says); quorvel-cli reports a box that refused.
  std::uint16_t ShareNamesStatus() const { return shareNamesStatus_; }

  // Requests that have no wire form: they send nothing, fill nothing and return 0.
  int QueryDiskStatus() { return 0; }
  int QueryAddonStatus() { return 0; }
  int QuerySystemShareName() { return 0; }
  int RequestAccessMode() { return 0; }
  int StartAddon() { return 0; }

 private:
  std::optional<Bytes> AwaitReply(int interfaceIndex, const Request& request, int waitMicros,
                                  PacketBuffer& reply);
  std::optional<Bytes> Exchange(const Request& request, int waitMicros, PacketBuffer& reply);
  Request CommandRequest(std::uint16_t opcode) const;

  std::unique_ptr<Transport> transport_;
  Clock& clock_;
  bool started_ = false;
  std::vector<DeviceRecord> devices_;
  std::vector<SearchStats> searchStats_;
  std::vector<ShareName> shares_;
  std::uint16_t shareNamesStatus_ = 0;
  CommandContext context_;
};

// Which port of the record a settings request changes.
int PortIndexForSelection(const DeviceRecord& record, std::string_view selectedPortText);

// The datagram as received; empty when the socket reported an error or the datagram did not fit
// the buffer, so that the reply check turns it away.
Bytes ReceivedBytes(const Received& received, const PacketBuffer& buffer);

}  // namespace quorvel

// The identities and the device record that discovery builds from a box's search reply.
#pragma once

#include <array>
#include <cstdint>

#include "fixed_text.h"

namespace quorvel {

using DeviceId = std::array<std::uint8_t, 8>;
using ClientId = std::array<std::uint8_t, 8>;

inline constexpr int PORTS_PER_DEVICE = 2;

struct PortSettings {
  FixedText<16> ip;
  FixedText<16> netmask;
  FixedText<16> gateway;
  FixedText<16> addrA;
  FixedText<16> addrB;
  FixedText<8> dhcp;
  std::int32_t option = 0;
};

struct DeviceRecord {
  FixedText<256> name;
  DeviceId id{};
  FixedText<256> model;
  std::int32_t bonded = 0;
  std::int32_t auxNumber = 0;
  std::int32_t portCount = 0;
  std::int32_t primaryPort = 0;
  FixedText<12> auxText;
  std::array<PortSettings, PORTS_PER_DEVICE> ports{};
  std::int32_t interfaceIndex = 0;

  // The port that the device list shows: primaryPort, or port 0 when the box named no valid port.
  const PortSettings& primary() const { return ports[primaryPort == 1 ? 1 : 0]; }
};

}  // namespace quorvel

// Fixed numbers of the device protocol: group, port, opcodes, field codes and widths.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvel {

inline constexpr const char* DEVICE_GROUP = "224.0.0.10";
inline constexpr std::uint16_t DEVICE_PORT = 24680;
inline constexpr int MAX_INTERFACES = 8;

inline constexpr std::size_t PACKET_BUFFER_SIZE = 4096;
inline constexpr std::size_t HEADER_SIZE = 44;
inline constexpr std::size_t AUTH_BLOCK_SIZE = 128;
inline constexpr std::size_t AUTH_SLOT_SIZE = 64;
inline constexpr std::size_t CREDENTIAL_BYTES = 48;  // bytes of a name or password that are coded
inline constexpr std::size_t FIELD_HEADER_SIZE = 4;

inline constexpr std::uint16_t REQUEST_MAGIC = 0x55AA;
inline constexpr std::uint16_t REPLY_MAGIC = 0xAA55;

// Header offsets.
inline constexpr std::size_t HDR_MAGIC = 0;
inline constexpr std::size_t HDR_OPCODE = 2;
inline constexpr std::size_t HDR_STATUS = 4;
inline constexpr std::size_t HDR_RESERVED = 6;
inline constexpr std::size_t HDR_CLIENT_ID = 8;
inline constexpr std::size_t HDR_DEVICE_ID = 16;
inline constexpr std::size_t HDR_PAYLOAD_LENGTH = 42;

enum Opcode : std::uint16_t {
  OP_SEARCH = 101,
  OP_CHECK_PASSWORD = 102,
  OP_SET_NETWORK = 106,
  OP_GET_SHARES = 164,
};

enum FieldCode : std::uint16_t {
  FLD_DEVICE_NAME = 504,
  FLD_PORT_DHCP = 505,
  FLD_PORT_IP = 506,
  FLD_PORT_NETMASK = 507,
  FLD_PORT_GATEWAY = 508,
  FLD_PORT_ADDR_A = 509,
  FLD_PORT_ADDR_B = 510,
  FLD_MODEL = 527,
  FLD_PORT_INDEX = 529,
  FLD_BONDED = 530,
  FLD_AUX_NUMBER = 531,
  FLD_PRIMARY_PORT = 535,
  FLD_AUX_TEXT = 536,
  FLD_PORT_OPTION = 538,
};

// Timing of the reply loops.
inline constexpr int DRAIN_CAP_MICROS = 2'000'000;  // longest drain before a send
inline constexpr int SEARCH_POLL_MICROS = 10'000;
inline constexpr int SEARCH_COUNTED_POLLS = 101;

}  // namespace quorvel

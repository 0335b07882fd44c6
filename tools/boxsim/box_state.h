// The state of one simulated storage box: what it reports in a search, which credentials it
// accepts, and the ways it can be told to misbehave.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "device_types.h"

namespace quorvel::boxsim {

struct BoxPort {
  std::string ip;
  std::string netmask;
  std::string gateway;
  std::string addrA;
  std::string addrB;
  std::string dhcp = "0";
  std::int64_t option = 0;
};

// A field appended after the good fields of a search reply whose length breaks a reader's walk:
// Short declares a length below 4, Overrun a length that runs past the end of the datagram.
enum class BadField { None, Short, Overrun };

struct BoxFaults {
  bool answerTwice = false;         // every reply goes out twice
  int repeatLateMs = 0;             // every reply goes out again this long after the first; 0: never
  int commandDelayMs = 0;           // replies to commands wait this long beyond replyDelayMs
  bool wrongClientId = false;       // every reply carries the requester's ClientId inverted
  bool wrongPayloadLength = false;  // bytes 42-43 of every reply say one byte more than it has
  bool refuse = false;              // password checks and network settings get status 0
  bool silent = false;              // never answers anything
  bool omitModel = false;           // the search reply has no model field
  bool noWeb = false;               // no web server at the box's address
  BadField badField = BadField::None;
};

struct BoxState {
  DeviceId id{};
  std::string name;
  std::string model;
  std::int64_t bonded = 0;
  std::int64_t auxNumber = 0;
  std::string auxText;
  std::int64_t primaryPort = 0;
  std::vector<BoxPort> ports;
  std::vector<std::string> shares;
  std::string user = "admin";
  std::string password;
  int replyDelayMs = 0;
  BoxFaults faults;
};

}  // namespace quorvel::boxsim

// The record of every request the boxes received: one JSON object per line, written as it arrives.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>

#include "request_view.h"

namespace quorvel::boxsim {

// When a request arrived: seconds since the simulator started (steady), and the realtime clock's microseconds
// since the Unix epoch, which other programs on the machine (a window watcher under Wine) can compare with.
struct RequestTime {
  double seconds = 0;
  std::int64_t epochUs = 0;
};

// {"time", "epochUs", "from", "length", "magic", "opcode", "status", "clientId", "deviceId", "payloadLength",
//  "user", "password" (only with a credential block), "fields": [{"code", "length", "value"}]}.
// Bytes that are not UTF-8 come out as U+FFFD, so the line is always valid JSON.
std::string RequestLogLine(const RequestView& request, std::string_view from, RequestTime arrival);

// The ClientId as sixteen lower-case hex digits.
std::string ClientIdHex(const ClientId& client);

// Appends lines to a file and flushes after each, so a reader sees every request at once.
class RequestLog {
 public:
  bool Open(const std::string& path);
  bool IsOpen() const { return out_.is_open(); }
  void Write(const std::string& line);

 private:
  std::ofstream out_;
};

}  // namespace quorvel::boxsim

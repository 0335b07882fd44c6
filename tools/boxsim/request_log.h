// The record of every request the boxes received: one JSON object per line, written as it arrives.
#pragma once

#include <fstream>
#include <string>
#include <string_view>

#include "request_view.h"

namespace quorvel::boxsim {

// {"time", "from", "length", "magic", "opcode", "status", "clientId", "deviceId", "payloadLength",
//  "user", "password" (only with a credential block), "fields": [{"code", "length", "value"}]}.
// Bytes that are not UTF-8 come out as U+FFFD, so the line is always valid JSON.
std::string RequestLogLine(const RequestView& request, std::string_view from, double seconds);

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

#include "request_log.h"

#include <cstdio>

#include <nlohmann/json.hpp>

#include "device_record.h"

namespace quorvel::boxsim {

namespace {

using json = nlohmann::ordered_json;

json FieldsOf(const RequestView& request) {
  json fields = json::array();
  for (const Field& field : request.fields) {
    fields.push_back({{"code", field.code},
                      {"length", field.value.size() + FIELD_HEADER_SIZE},
                      {"value", std::string(ValueText(field.value))}});
  }
  return fields;
}

}  // namespace

std::string ClientIdHex(const ClientId& client) {
  std::string text;
  for (std::uint8_t byte : client) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02x", byte);
    text += digits;
  }
  return text;
}

std::string RequestLogLine(const RequestView& request, std::string_view from, RequestTime arrival) {
  json line = {{"time", arrival.seconds},
               {"epochUs", arrival.epochUs},
               {"from", std::string(from)},
               {"length", request.length},
               {"magic", request.magic},
               {"opcode", request.opcode},
               {"status", request.status},
               {"clientId", ClientIdHex(request.client)},
               {"deviceId", DeviceKeyText(request.device)},
               {"payloadLength", request.payloadLength}};
  if (request.hasCredentials) {
    line["user"] = request.user;
    line["password"] = request.password;
  }
  line["fields"] = FieldsOf(request);
  return line.dump(-1, ' ', false, json::error_handler_t::replace);
}

bool RequestLog::Open(const std::string& path) {
  out_.open(path, std::ios::out | std::ios::app | std::ios::binary);
  return out_.is_open();
}

void RequestLog::Write(const std::string& line) {
  if (!out_.is_open()) return;
  out_ << line << '\n';
  out_.flush();
}

}  // namespace quorvel::boxsim

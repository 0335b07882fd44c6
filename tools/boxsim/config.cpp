#include "config.h"

#include <fstream>
#include <initializer_list>
#include <limits>
#include <sstream>

#include <nlohmann/json.hpp>

namespace quorvel::boxsim {

namespace {

using nlohmann::json;

// Thrown only inside this file and turned into ConfigResult::error by ParseConfig.
struct ConfigError {
  std::string message;
};

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
  throw ConfigError{where + ": " + what};
}

std::string Member(const std::string& where, std::string_view key) {
  return where.empty() ? std::string(key) : where + "." + std::string(key);
}

void RequireObject(const json& value, const std::string& where) {
  if (!value.is_object()) Fail(where.empty() ? "configuration" : where, "expected an object");
}

void CheckKeys(const json& object, const std::string& where, std::initializer_list<std::string_view> allowed) {
  for (const auto& [key, value] : object.items()) {
    bool known = false;
    for (std::string_view name : allowed) known = known || key == name;
    if (!known) Fail(Member(where, key), "unknown key");
  }
}

const json* Find(const json& object, std::string_view key) {
  const auto it = object.find(key);
  return it == object.end() ? nullptr : &*it;
}

std::string Text(const json& object, std::string_view key, const std::string& where, std::string fallback) {
  const json* value = Find(object, key);
  if (!value) return fallback;
  if (!value->is_string()) Fail(Member(where, key), "expected a string");
  return value->get<std::string>();
}

std::string RequiredText(const json& object, std::string_view key, const std::string& where) {
  if (!Find(object, key)) Fail(Member(where, key), "missing");
  return Text(object, key, where, {});
}

std::int64_t Number(const json& object, std::string_view key, const std::string& where, std::int64_t fallback) {
  const json* value = Find(object, key);
  if (!value) return fallback;
  if (!value->is_number_integer()) Fail(Member(where, key), "expected an integer");
  if (value->is_number_unsigned() && value->get<std::uint64_t>() > std::numeric_limits<std::int64_t>::max()) {
    Fail(Member(where, key), "out of range");
  }
  return value->get<std::int64_t>();
}

bool Flag(const json& object, std::string_view key, const std::string& where) {
  const json* value = Find(object, key);
  if (!value) return false;
  if (!value->is_boolean()) Fail(Member(where, key), "expected true or false");
  return value->get<bool>();
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

int ReadDelay(const json& object, std::string_view key, const std::string& where) {
  const std::int64_t delay = Number(object, key, where, 0);
  if (delay < 0 || delay > 3'600'000) Fail(Member(where, key), "expected 0 to 3600000");
  return static_cast<int>(delay);
}

BadField ReadBadField(const json& faults, const std::string& where) {
  const json* value = Find(faults, "badFieldLength");
  if (!value) return BadField::None;
  const std::string place = Member(where, "badFieldLength");
  if (value->is_boolean()) return value->get<bool>() ? BadField::Short : BadField::None;
  if (value->is_string() && *value == "short") return BadField::Short;
  if (value->is_string() && *value == "overrun") return BadField::Overrun;
  Fail(place, "expected true, false, \"short\" or \"overrun\"");
}

BoxFaults ReadFaults(const json& box, const std::string& where) {
  const json* faults = Find(box, "faults");
  if (!faults) return {};
  const std::string place = Member(where, "faults");
  RequireObject(*faults, place);
  CheckKeys(*faults, place, {"answerTwice", "wrongClientId", "wrongPayloadLength", "refuse", "silent",
                             "badFieldLength", "omitModel", "noWeb", "repeatLateMs", "commandDelayMs"});
  BoxFaults result;
  result.answerTwice = Flag(*faults, "answerTwice", place);
  result.repeatLateMs = ReadDelay(*faults, "repeatLateMs", place);
  result.commandDelayMs = ReadDelay(*faults, "commandDelayMs", place);
  result.wrongClientId = Flag(*faults, "wrongClientId", place);
  result.wrongPayloadLength = Flag(*faults, "wrongPayloadLength", place);
  result.refuse = Flag(*faults, "refuse", place);
  result.silent = Flag(*faults, "silent", place);
  result.omitModel = Flag(*faults, "omitModel", place);
  result.noWeb = Flag(*faults, "noWeb", place);
  result.badField = ReadBadField(*faults, place);
  return result;
}

BoxPort ReadPort(const json& port, const std::string& where) {
  RequireObject(port, where);
  CheckKeys(port, where, {"ip", "netmask", "gateway", "addrA", "addrB", "dhcp", "option"});
  BoxPort result;
  result.ip = Text(port, "ip", where, {});
  result.netmask = Text(port, "netmask", where, {});
  result.gateway = Text(port, "gateway", where, {});
  result.addrA = Text(port, "addrA", where, {});
  result.addrB = Text(port, "addrB", where, {});
  result.dhcp = Text(port, "dhcp", where, "0");
  result.option = Number(port, "option", where, 0);
  return result;
}

std::vector<BoxPort> ReadPorts(const json& box, const std::string& where) {
  const json* ports = Find(box, "ports");
  if (!ports) return {BoxPort{}};
  const std::string place = Member(where, "ports");
  if (!ports->is_array() || ports->size() > PORTS_PER_DEVICE) Fail(place, "expected an array of up to 2 ports");
  std::vector<BoxPort> result;
  for (std::size_t i = 0; i < ports->size(); ++i) {
    result.push_back(ReadPort((*ports)[i], place + "[" + std::to_string(i) + "]"));
  }
  return result;
}

std::vector<std::string> ReadShares(const json& box, const std::string& where) {
  const json* shares = Find(box, "shares");
  if (!shares) return {};
  const std::string place = Member(where, "shares");
  if (!shares->is_array()) Fail(place, "expected an array of names");
  std::vector<std::string> result;
  for (const json& name : *shares) {
    if (!name.is_string()) Fail(place, "expected an array of names");
    result.push_back(name.get<std::string>());
  }
  return result;
}

DeviceId ReadId(const json& box, const std::string& where) {
  DeviceId id{};
  if (!ParseDeviceIdText(RequiredText(box, "id", where), id)) {
    Fail(Member(where, "id"), "expected eight bytes as \"0x00,0x1B,...\"");
  }
  return id;
}

BoxState ReadBox(const json& box, const std::string& where) {
  RequireObject(box, where);
  CheckKeys(box, where, {"id", "name", "model", "bonded", "auxNumber", "auxText", "primaryPort", "ports",
                         "shares", "user", "password", "replyDelayMs", "faults"});
  BoxState result;
  result.id = ReadId(box, where);
  result.name = RequiredText(box, "name", where);
  result.model = RequiredText(box, "model", where);
  result.bonded = Number(box, "bonded", where, 0);
  result.auxNumber = Number(box, "auxNumber", where, 0);
  result.auxText = Text(box, "auxText", where, {});
  result.primaryPort = Number(box, "primaryPort", where, 0);
  result.ports = ReadPorts(box, where);
  result.shares = ReadShares(box, where);
  result.user = Text(box, "user", where, result.user);
  result.password = Text(box, "password", where, result.password);
  result.replyDelayMs = ReadDelay(box, "replyDelayMs", where);
  result.faults = ReadFaults(box, where);
  return result;
}

std::vector<BoxState> ReadBoxes(const json& document) {
  RequireObject(document, {});
  CheckKeys(document, {}, {"boxes"});
  const json* boxes = Find(document, "boxes");
  if (!boxes || !boxes->is_array()) Fail("boxes", "expected an array of boxes");
  std::vector<BoxState> result;
  for (std::size_t i = 0; i < boxes->size(); ++i) {
    result.push_back(ReadBox((*boxes)[i], "boxes[" + std::to_string(i) + "]"));
  }
  return result;
}

}  // namespace

bool ParseDeviceIdText(std::string_view text, DeviceId& id) {
  constexpr std::size_t kPart = 4;  // "0x" and two hex digits
  if (text.size() != id.size() * (kPart + 1) - 1) return false;
  DeviceId parsed{};
  for (std::size_t i = 0; i < id.size(); ++i) {
    const std::string_view part = text.substr(i * (kPart + 1), kPart);
    if (part[0] != '0' || (part[1] != 'x' && part[1] != 'X')) return false;
    const int high = HexDigit(part[2]);
    const int low = HexDigit(part[3]);
    if (high < 0 || low < 0) return false;
    if (i + 1 < id.size() && text[i * (kPart + 1) + kPart] != ',') return false;
    parsed[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  id = parsed;
  return true;
}

ConfigResult ParseConfig(std::string_view text) {
  ConfigResult result;
  try {
    result.boxes = ReadBoxes(json::parse(text));
  } catch (const ConfigError& error) {
    result.error = error.message;
  } catch (const json::exception& error) {
    result.error = std::string("not valid JSON: ") + error.what();
  }
  if (!result.ok()) result.boxes.clear();
  return result;
}

ConfigResult LoadConfigFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {{}, "cannot read " + path};
  std::ostringstream text;
  text << in.rdbuf();
  ConfigResult result = ParseConfig(text.str());
  if (!result.ok()) result.error = path + ": " + result.error;
  return result;
}

}  // namespace quorvel::boxsim

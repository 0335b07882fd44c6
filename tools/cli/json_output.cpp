#include "json_output.h"

#include <cstdio>

#include "device_record.h"
#include "utf8_text.h"

namespace quorvel::cli {

namespace {

std::string EscapedCharacter(unsigned char c) {
  switch (c) {
    case '"': return "\\\"";
    case '\\': return "\\\\";
    case '\b': return "\\b";
    case '\f': return "\\f";
    case '\n': return "\\n";
    case '\r': return "\\r";
    case '\t': return "\\t";
    default: break;
  }
  char code[8];
  std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned>(c));
  return code;
}

std::string InterfaceText(const std::vector<std::string>& addresses, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= addresses.size()) return {};
  return addresses[static_cast<std::size_t>(index)];
}

// Builds one object: "key":value members, a comma before every member but the first.
class ObjectWriter {
 public:
  void Text(std::string_view key, std::string_view value) { Raw(key, JsonString(value)); }
  void Number(std::string_view key, long long value) { Raw(key, std::to_string(value)); }
  void Bool(std::string_view key, bool value) { Raw(key, value ? "true" : "false"); }
  void TextOrNull(std::string_view key, std::string_view value) { Raw(key, value.empty() ? "null" : JsonString(value)); }
  void Raw(std::string_view key, std::string_view json) {
    if (!empty_) out_ += ',';
    empty_ = false;
    out_ += JsonString(key);
    out_ += ':';
    out_ += json;
  }
  std::string Close() const { return out_ + "}"; }

 private:
  std::string out_ = "{";
  bool empty_ = true;
};

std::string PortJson(const PortSettings& port) {
  ObjectWriter object;
  object.Text("ip", port.ip.view());
  object.Text("netmask", port.netmask.view());
  object.Text("gateway", port.gateway.view());
  object.Text("addrA", port.addrA.view());
  object.Text("addrB", port.addrB.view());
  object.Text("dhcp", port.dhcp.view());
  object.Number("option", port.option);
  return object.Close();
}

std::string DeviceJson(const DeviceRecord& record, const std::vector<std::string>& interfaceAddresses) {
  ObjectWriter object;
  object.Text("name", record.name.view());
  object.Text("id", DeviceKeyText(record.id));
  object.Text("model", record.model.view());
  object.Number("bonded", record.bonded);
  object.Number("auxNumber", record.auxNumber);
  object.Number("portCount", record.portCount);
  object.Number("primaryPort", record.primaryPort);
  object.Text("auxText", record.auxText.view());
  object.Number("interfaceIndex", record.interfaceIndex);
  object.Text("interface", InterfaceText(interfaceAddresses, record.interfaceIndex));
  std::string ports = "[";
  ports += PortJson(record.ports[0]);
  ports += ',';
  ports += PortJson(record.ports[1]);
  ports += ']';
  object.Raw("ports", ports);
  return object.Close();
}

std::string DroppedJson(const SearchStats& stats) {
  ObjectWriter object;
  object.Number("foreign", stats.foreign);
  object.Number("invalid", stats.invalid);
  object.Number("rejectedModel", stats.rejectedModel);
  return object.Close();
}

// Figures that only a search gives are null for an address that was not searched.
std::string AddressJson(const AddressFindings& each) {
  ObjectWriter object;
  object.Text("name", each.local.name);
  object.Text("address", each.local.address);
  object.Bool("up", each.local.up);
  object.Bool("loopback", each.local.loopback);
  object.Bool("kept", !each.skipped);
  object.TextOrNull("reason", each.skipped ? SkipReasonText(*each.skipped) : "");
  object.Bool("opened", each.searched && each.steps.opened);
  object.Bool("bound", each.searched && each.steps.bound);
  object.Bool("joined", each.searched && each.steps.joined);
  object.Bool("portShared", each.searched && each.portShared);
  object.TextOrNull("error", each.searched ? each.steps.error : "");
  object.Raw("boxes", each.searched ? std::to_string(each.stats.answered) : "null");
  object.Raw("dropped", each.searched ? DroppedJson(each.stats) : "null");
  object.Raw("siblingReplies", each.searched ? std::to_string(each.stats.sibling) : "null");
  return object.Close();
}

// An array with one element per line.
std::string ArrayOfLines(const std::vector<std::string>& elements) {
  if (elements.empty()) return "[]\n";
  std::string out = "[\n";
  for (std::size_t i = 0; i < elements.size(); ++i) {
    out += "  ";
    out += elements[i];
    out += i + 1 < elements.size() ? ",\n" : "\n";
  }
  out += "]\n";
  return out;
}

}  // namespace

std::string JsonString(std::string_view bytes) {
  std::string out = "\"";
  for (char c : ValidUtf8(bytes)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || c == '"' || c == '\\') out += EscapedCharacter(byte);
    else out += c;
  }
  out += '"';
  return out;
}

std::string DevicesJson(const std::vector<DeviceRecord>& table,
                        const std::vector<std::string>& interfaceAddresses) {
  std::vector<std::string> elements;
  elements.reserve(table.size());
  for (const DeviceRecord& record : table) elements.push_back(DeviceJson(record, interfaceAddresses));
  return ArrayOfLines(elements);
}

std::string SharesJson(const std::vector<ShareName>& names) {
  std::vector<std::string> elements;
  elements.reserve(names.size());
  for (const ShareName& name : names) elements.push_back(JsonString(name.view()));
  return ArrayOfLines(elements);
}

std::string DoctorJson(const DoctorFindings& findings) {
  std::vector<std::string> interfaces;
  for (const AddressFindings& each : findings.addresses) interfaces.push_back(AddressJson(each));
  std::string array = ArrayOfLines(interfaces);
  array.pop_back();  // the line end after the closing bracket
  return "{\"interfaces\":" + array + ",\n\"boxes\":" + std::to_string(ListedBoxes(findings)) +
         ",\n\"verdict\":" + JsonString(Verdict(findings)) + "}\n";
}

}  // namespace quorvel::cli

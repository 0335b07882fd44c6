// The main window with scripted boxes behind it, for the tests of the device selection and the
// settings panel: the boxes answer the search, the password check (one user name and password
// accepted), the share names and the network settings, and every request is kept with its time.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/address_validation.h"
#include "app/vantor_dlg.h"
#include "chosen_text_codec.h"
#include "fake_transport.h"
#include "framework/headless/headless_ui.h"
#include "packet.h"
#include "platform/fake/fake_address_probe.h"
#include "platform/fake/fake_drives.h"
#include "platform/fake/fake_files.h"
#include "platform/fake/fake_network_drives.h"
#include "platform/fake/fake_os_info.h"
#include "platform/fake/fake_payloads.h"
#include "platform/fake/fake_processes.h"
#include "platform/fake/fake_reachability.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/latin1_text_codec.h"
#include "skin/dialog_looks.h"
#include "res/resource.h"

namespace quorvel::testkit {

using quorvel::Octets;

struct PortFields {
  std::string ip, netmask, gateway, dhcp = "0";
};

// A box's search reply: name, primary port, bonding, and its ports in order (index 0, then 1).
inline FieldList BoxFields(const std::string& name, std::vector<PortFields> ports, const std::string& primary = "0",
                           const std::string& bonded = "0") {
  FieldList fields{{FLD_DEVICE_NAME, name}, {FLD_MODEL, "VRX-530L"}, {FLD_PRIMARY_PORT, primary}, {FLD_BONDED, bonded}};
  for (std::size_t i = 0; i < ports.size(); ++i) {
    const std::string index = std::to_string(i);
    fields.insert(fields.end(), {{FLD_PORT_INDEX, index},
                                 {FLD_PORT_IP, ports[i].ip},
                                 {FLD_PORT_NETMASK, ports[i].netmask},
                                 {FLD_PORT_GATEWAY, ports[i].gateway},
                                 {FLD_PORT_DHCP, ports[i].dhcp},
                                 {FLD_PORT_ADDR_A, "a" + index},
                                 {FLD_PORT_ADDR_B, "b" + index},
                                 {FLD_PORT_OPTION, index}});
  }
  return fields;
}

// The fields of a request after its credential block.
inline std::vector<std::pair<int, std::string>> RequestFields(const ByteVector& request) {
  std::vector<std::pair<int, std::string>> fields;
  auto u16 = [&](std::size_t at) {
    return std::to_integer<int>(request[at]) | std::to_integer<int>(request[at + 1]) << 8;
  };
  for (std::size_t at = HEADER_SIZE + AUTH_BLOCK_SIZE; at + 4 <= request.size();) {
    const int length = u16(at + 2);
    if (length < 4 || at + length > request.size()) break;
    std::string value(reinterpret_cast<const char*>(request.data()) + at + 4, length - 4);
    fields.emplace_back(u16(at), value.c_str());
    at += length;
  }
  return fields;
}

class PanelTest : public ::testing::Test {
 protected:
  static inline const DeviceId kAlpha = MakeDeviceId(1);
  static inline const DeviceId kBeta = MakeDeviceId(2);

  PanelTest() {
    protocol.NetStartup();
    // The main window's push buttons are its picture buttons, as its look lists them.
    ui.DefineTemplate(IDD_MAIN, [](ui::HeadlessHost& main) {
      const skin::DialogLook& look = *skin::FindDialogLook(IDD_MAIN);
      for (const skin::ButtonFaces& button : look.buttons) main.DefinePushButton(button.control);
      main.DefinePushButton(look.facelessButton);
    });
  }

  void SetBoxes(std::vector<BoxReply> boxes) {
    Box answers = SearchAnswers(std::move(boxes), [this](const ByteVector& request) { return Answer(request); });
    transport->SetBox(0, [this, answers](const ByteVector& request) {
      sentAt.emplace_back(OpcodeOf(request), clock.NowMicros());
      return answers(request);
    });
  }

  // Every request is kept; the commands are answered as the test has set them up.
  std::vector<Datagram> Answer(const ByteVector& request) {
    ReplyBuilder reply(request);
    switch (OpcodeOf(request)) {
      case OP_CHECK_PASSWORD: {
        const bool accepted = Credential(request, 0) == Base64Encode(user) && Credential(request, 1) == Base64Encode(password);
        return {{reply.Status(accepted ? 1 : 0).Build(), 5'000}};
      }
      case OP_GET_SHARES:
        if (!shareNames) return {};
        return {{reply.Status(1).Field(1, *shareNames).Build(), 5'000}};
      case OP_SET_NETWORK:
        if (!settingsStatus) return {};
        return {{reply.Status(*settingsStatus).Build(), 5'000}};
      default:
        return {};
    }
  }

  static std::string Credential(const ByteVector& request, int slot) {
    const char* at = reinterpret_cast<const char*>(request.data()) + HEADER_SIZE + slot * AUTH_SLOT_SIZE;
    return std::string(at, strnlen(at, AUTH_SLOT_SIZE));
  }

  std::vector<ByteVector> Requests(std::uint16_t opcode) const {
    std::vector<ByteVector> found;
    for (const ByteVector& request : transport->Sent(0)) {
      if (OpcodeOf(request) == opcode) found.push_back(request);
    }
    return found;
  }

  ui::HeadlessHost& Open() { return *(host = &ui.Open(dialog)); }

  // The next login dialog: types the name and password and presses OK (or Cancel).
  void LoginWith(const std::string& name, const std::string& secret, bool ok = true) {
    ui.OnModal(IDD_LOGIN, [=](ui::HeadlessHost& login) {
      login.Item(IDC_LOGIN_USER_NAME).SetText(name);
      login.Item(IDC_LOGIN_PASSWORD).SetText(secret);
      login.Click(ok ? ui::IDOK : ui::IDCANCEL);
    });
  }
  void SelectAccepted(int row) {
    LoginWith(user, password);
    host->ClickListRow(IDC_DEVICE_LIST, row);
  }

  std::optional<Octets> Shown(int editor) {
    ui::HeadlessIpAddress& address = host->Address(editor);
    if (address.IsBlank()) return std::nullopt;
    Octets octets{};
    address.GetAddress(octets);
    return octets;
  }
  void Type(int editor, std::optional<Octets> octets) {
    for (int field = 0; field < 4; ++field) {
      host->Address(editor).SetField(field, octets ? std::optional<int>((*octets)[field]) : std::nullopt);
    }
  }
  std::vector<std::vector<std::string>> ShareRows() {
    std::vector<std::vector<std::string>> rows;
    ui::HeadlessListView& list = host->List(IDC_SHARE_LIST);
    for (int r = 0; r < list.ItemCount(); ++r) rows.push_back({list.ItemText(r, 0), list.ItemText(r, 1)});
    return rows;
  }
  bool EditorsEnabled() {
    const bool ip = host->Address(IDC_IP).IsEnabled();
    EXPECT_EQ(host->Address(IDC_NETMASK).IsEnabled(), ip);
    EXPECT_EQ(host->Address(IDC_GATEWAY).IsEnabled(), ip);
    return ip;
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& box : ui.messageBoxes()) texts.push_back(box.text);
    return texts;
  }

  std::string user = "admin";
  std::string password = "secret";
  std::optional<std::string> shareNames = std::string("Volume_1:Recycle Bin - Volume_1:usb");
  std::optional<std::uint16_t> settingsStatus = 1;
  std::vector<std::pair<std::uint16_t, std::int64_t>> sentAt;  // opcode and time of every request

  VirtualClock clock;
  FakeTransport* transport = nullptr;
  DeviceProtocol protocol{Adopt(), clock};
  platform::FakeDrives drives;
  platform::FakeOsInfo os;
  platform::Latin1TextCodec latin1;
  ChosenTextCodec text{latin1};  // Latin-1 unless a test chooses another code page before Open()
  platform::FakeRegistry registry;
  platform::FakeProcesses processes;
  platform::FakeReachability reachability{clock};
  // Held reachability answers come in as the window sleeps, as a worker's would.
  platform::AnsweringClock platformClock{clock, reachability};
  platform::FakeNetworkDrives networkDrives{drives};
  platform::FakeFiles files;
  platform::FakePayloads payloads;
  platform::FakeAddressProbe addressProbe;
  platform::Platform platform{drives,    platformClock, os,            text,  registry,
                              processes, reachability,  networkDrives, files, payloads, addressProbe};
  ui::HeadlessUi ui;
  CVantorDlg dialog{protocol, platform};
  ui::HeadlessHost* host = nullptr;

 private:
  std::unique_ptr<Transport> Adopt() {
    auto fake = std::make_unique<FakeTransport>(clock, std::vector<std::string>{"192.168.1.2"});
    transport = fake.get();
    return fake;
  }
};

}  // namespace quorvel::testkit

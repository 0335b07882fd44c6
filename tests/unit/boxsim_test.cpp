// The simulated boxes judged by the client's own code: requests are built with Request, replies
// are read with ValidateReply, FieldReader and RecordFromReply.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "config.h"
#include "credentials.h"
#include "device_record.h"
#include "field_reader.h"
#include "handling.h"
#include "options.h"
#include "packet.h"
#include "replies.h"
#include "reply_queue.h"
#include "request_log.h"
#include "request_view.h"

namespace quorvel::boxsim {
namespace {

constexpr ClientId kClient = {0x10, 0x21, 0x32, 0x43, 0x54, 0x65, 0x76, 0x87};
constexpr DeviceId kFirstId = {0x00, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F, 0x60, 0x71};
constexpr DeviceId kSecondId = {0x00, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F, 0x60, 0x72};

const char* const kTwoBoxes = R"({"boxes": [
  {"id": "0x00,0x1B,0x2C,0x3D,0x4E,0x5F,0x60,0x71", "name": "Vault", "model": "VRX-530L",
   "bonded": 1, "auxNumber": 42, "auxText": "fw 2.1", "primaryPort": 1,
   "ports": [{"ip": "198.51.100.20", "netmask": "255.255.255.192", "gateway": "198.51.100.1",
              "addrA": "a0", "addrB": "b0", "dhcp": "0", "option": 1},
             {"ip": "203.0.113.20", "netmask": "255.255.255.0", "gateway": "203.0.113.1",
              "addrA": "a1", "addrB": "b1", "dhcp": "1", "option": 0}],
   "shares": ["public", "Fotos \u00e4"], "user": "root", "password": "s3cret", "replyDelayMs": 250},
  {"id": "0x00,0x1b,0x2c,0x3d,0x4e,0x5f,0x60,0x72", "name": "Shed", "model": "VRX-510L"}
]})";

std::vector<BoxState> Boxes(const char* text = kTwoBoxes) {
  ConfigResult config = ParseConfig(text);
  EXPECT_TRUE(config.ok()) << config.error;
  return config.boxes;
}

std::string Error(const std::string& text) { return ParseConfig(text).error; }

// One box around a body of keys, for error cases.
std::string OneBox(const std::string& extra) {
  return R"({"boxes": [{"id": "0x00,0x1B,0x2C,0x3D,0x4E,0x5F,0x60,0x71", "name": "n", "model": "m")" + extra +
         "}]}";
}

RequestView Parsed(const Request& request) {
  auto view = ParseRequest(request.bytes());
  EXPECT_TRUE(view.has_value());
  return view.value_or(RequestView{});
}

Request Command(std::uint16_t opcode, const DeviceId& device, std::string_view user, std::string_view password) {
  Request request(opcode, kClient, device);
  request.AddAuthBlock(user, password);
  return request;
}

Request SetNetwork(const DeviceId& device, std::string_view password, std::string_view port, std::string_view dhcp) {
  Request request = Command(OP_SET_NETWORK, device, "root", password);
  request.AddField(FLD_PORT_IP, "192.0.2.7");
  request.AddField(FLD_PORT_NETMASK, "255.255.0.0");
  request.AddField(FLD_PORT_GATEWAY, "192.0.2.1");
  request.AddField(FLD_PORT_ADDR_A, "a1");
  request.AddField(FLD_PORT_ADDR_B, "b1");
  request.AddField(FLD_PORT_OPTION, "0");
  request.AddField(FLD_PORT_INDEX, port);
  request.AddField(FLD_PORT_DHCP, dhcp);
  return request;
}

std::vector<OutgoingReply> Handle(std::vector<BoxState>& boxes, const Request& request) {
  return HandleRequest(boxes, Parsed(request));
}

Bytes View(const Datagram& datagram) { return Bytes(datagram.data(), datagram.size()); }

std::vector<Field> FieldsOf(const Datagram& reply) {
  FieldReader reader(View(reply));
  std::vector<Field> fields;
  while (auto field = reader.Next()) fields.push_back(*field);
  return fields;
}

DeviceRecord SearchRecord(std::vector<BoxState>& boxes, std::size_t box) {
  const std::vector<OutgoingReply> replies = Handle(boxes, Request(OP_SEARCH, kClient, {}));
  EXPECT_GT(replies.size(), box);
  return RecordFromReply(View(replies.at(box).bytes), 0);
}

// ---- configuration ---------------------------------------------------------------------------

TEST(BoxsimConfig, ReadsEveryKeyOfABox) {
  const std::vector<BoxState> boxes = Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  const BoxState& box = boxes[0];
  EXPECT_EQ(box.id, kFirstId);
  EXPECT_EQ(box.name, "Vault");
  EXPECT_EQ(box.bonded, 1);
  EXPECT_EQ(box.auxNumber, 42);
  EXPECT_EQ(box.primaryPort, 1);
  ASSERT_EQ(box.ports.size(), 2u);
  EXPECT_EQ(box.ports[1].gateway, "203.0.113.1");
  EXPECT_EQ(box.ports[1].dhcp, "1");
  EXPECT_EQ(box.ports[0].option, 1);
  EXPECT_EQ(box.shares, (std::vector<std::string>{"public", "Fotos \xC3\xA4"}));
  EXPECT_EQ(box.replyDelayMs, 250);
  EXPECT_EQ(box.password, "s3cret");
}

TEST(BoxsimConfig, FillsDefaultsForOptionalKeys) {
  const BoxState box = Boxes()[1];
  EXPECT_EQ(box.id, kSecondId);  // lower-case hex digits are read too
  ASSERT_EQ(box.ports.size(), 1u);
  EXPECT_EQ(box.ports[0].dhcp, "0");
  EXPECT_EQ(box.user, "admin");
  EXPECT_EQ(box.password, "");
  EXPECT_EQ(box.replyDelayMs, 0);
  EXPECT_FALSE(box.faults.silent);
  EXPECT_EQ(box.faults.badField, BadField::None);
}

TEST(BoxsimConfig, ReadsFaults) {
  const BoxState box = Boxes(OneBox(R"(, "faults": {"answerTwice": true, "refuse": true, "omitModel": true,
                                        "badFieldLength": "overrun", "repeatLateMs": 1500,
                                        "commandDelayMs": 900})").c_str())[0];
  EXPECT_TRUE(box.faults.answerTwice);
  EXPECT_TRUE(box.faults.refuse);
  EXPECT_TRUE(box.faults.omitModel);
  EXPECT_FALSE(box.faults.wrongClientId);
  EXPECT_EQ(box.faults.badField, BadField::Overrun);
  EXPECT_EQ(box.faults.repeatLateMs, 1500);
  EXPECT_EQ(box.faults.commandDelayMs, 900);
  EXPECT_EQ(Boxes(OneBox(R"(, "faults": {"badFieldLength": true})").c_str())[0].faults.badField, BadField::Short);
}

TEST(BoxsimConfig, ErrorsNameThePlace) {
  EXPECT_EQ(Error(OneBox(R"(, "replyDelay": 5)")), "boxes[0].replyDelay: unknown key");
  EXPECT_EQ(Error(OneBox(R"(, "ports": [{"ip": 7}])")), "boxes[0].ports[0].ip: expected a string");
  EXPECT_EQ(Error(OneBox(R"(, "ports": [{}, {}, {}])")), "boxes[0].ports: expected an array of up to 2 ports");
  EXPECT_EQ(Error(OneBox(R"(, "faults": {"silent": 1})")), "boxes[0].faults.silent: expected true or false");
  EXPECT_EQ(Error(OneBox(R"(, "replyDelayMs": -1)")), "boxes[0].replyDelayMs: expected 0 to 3600000");
  EXPECT_EQ(Error(R"({"boxes": [{"id": "0x00,0x1B,0x2C,0x3D,0x4E,0x5F,0x60,0x71", "name": "n"}]})"),
            "boxes[0].model: missing");
  EXPECT_NE(Error(R"({"boxes": [)").find("not valid JSON"), std::string::npos);
  EXPECT_TRUE(ParseConfig(R"({"boxes": [{"id": "1", "name": "n", "model": "m"}]})").boxes.empty());
}

TEST(BoxsimConfig, DeviceIdTextIsTheRecordKeyText) {
  DeviceId id{};
  ASSERT_TRUE(ParseDeviceIdText(DeviceKeyText(kFirstId), id));
  EXPECT_EQ(id, kFirstId);
  for (const char* bad : {"0x00,0x1B,0x2C,0x3D,0x4E,0x5F,0x60", "0x00,0x1B,0x2C,0x3D,0x4E,0x5F,0x60,0x7G",
                          "0x00;0x1B,0x2C,0x3D,0x4E,0x5F,0x60,0x71", "1x00,0x1B,0x2C,0x3D,0x4E,0x5F,0x60,0x71",
                          "0x00,0x1B,0x2C,0x3D,0x4E,0x5F,0x60,0x71,"}) {
    EXPECT_FALSE(ParseDeviceIdText(bad, id)) << bad;
  }
}

// ---- search ------------------------------------------------------------------------------------

TEST(BoxsimSearch, EveryBoxAnswersWithItsRecord) {
  std::vector<BoxState> boxes = Boxes();
  const std::vector<OutgoingReply> replies = Handle(boxes, Request(OP_SEARCH, kClient, {}));
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_EQ(replies[0].delay, std::chrono::milliseconds(250));
  EXPECT_EQ(replies[1].delay, std::chrono::milliseconds(0));
  for (const OutgoingReply& reply : replies) {
    EXPECT_TRUE(ValidateReply(View(reply.bytes), OP_SEARCH, kClient));
    EXPECT_EQ(ReplyStatus(View(reply.bytes)), 1);
  }
  const DeviceRecord record = RecordFromReply(View(replies[0].bytes), 0);
  EXPECT_EQ(record.id, kFirstId);
  EXPECT_EQ(record.name, "Vault");
  EXPECT_EQ(record.model, "VRX-530L");
  EXPECT_EQ(record.bonded, 1);
  EXPECT_EQ(record.auxNumber, 42);
  EXPECT_EQ(record.auxText, "fw 2.1");
  EXPECT_EQ(record.portCount, 2);
  EXPECT_EQ(record.primaryPort, 1);
  EXPECT_EQ(record.ports[0].ip, "198.51.100.20");
  EXPECT_EQ(record.ports[0].addrB, "b0");
  EXPECT_EQ(record.ports[0].option, 1);
  EXPECT_EQ(record.ports[1].netmask, "255.255.255.0");
  EXPECT_EQ(record.ports[1].dhcp, "1");
  EXPECT_EQ(RecordFromReply(View(replies[1].bytes), 0).portCount, 1);
}

TEST(BoxsimSearch, FieldsComeInTheBoxesOrder) {
  std::vector<BoxState> boxes = Boxes();
  std::vector<std::uint16_t> codes;
  for (const Field& field : FieldsOf(SearchReply(boxes[1], kClient))) codes.push_back(field.code);
  const std::vector<std::uint16_t> expected = {
      FLD_DEVICE_NAME, FLD_MODEL,         FLD_BONDED,   FLD_AUX_NUMBER,  FLD_AUX_TEXT,
      FLD_PRIMARY_PORT, FLD_PORT_INDEX,   FLD_PORT_IP,  FLD_PORT_NETMASK, FLD_PORT_GATEWAY,
      FLD_PORT_ADDR_A, FLD_PORT_ADDR_B,   FLD_PORT_DHCP, FLD_PORT_OPTION};
  EXPECT_EQ(codes, expected);
}

TEST(BoxsimSearch, FaultsShapeTheReply) {
  BoxState box = Boxes()[1];
  box.faults.omitModel = true;
  EXPECT_EQ(ReplyModel(View(SearchReply(box, kClient))), "");

  box.faults.omitModel = false;
  const std::size_t goodLength = SearchReply(box, kClient).size();
  for (BadField kind : {BadField::Short, BadField::Overrun}) {
    box.faults.badField = kind;
    const Datagram reply = SearchReply(box, kClient);
    EXPECT_TRUE(ValidateReply(View(reply), OP_SEARCH, kClient));  // the payload length covers the bad field
    EXPECT_EQ(FieldsOf(reply).size(), 14u);                       // the walk stops at it
    EXPECT_EQ(RecordFromReply(View(reply), 0).name, "Shed");
    ASSERT_GE(reply.size(), goodLength + FIELD_HEADER_SIZE);
    const std::uint16_t declared = ReadU16(View(reply), goodLength + 2);
    if (kind == BadField::Short) {
      EXPECT_LT(declared, FIELD_HEADER_SIZE);
    } else {
      EXPECT_GT(declared, reply.size() - goodLength);
    }
  }

  Datagram reply = SearchReply(box, kClient);
  box.faults.wrongPayloadLength = true;
  ApplyHeaderFaults(reply, box.faults);
  EXPECT_EQ(ReadU16(View(reply), HDR_PAYLOAD_LENGTH), reply.size() - HEADER_SIZE + 1);
  EXPECT_FALSE(ValidateReply(View(reply), OP_SEARCH, kClient));
}

TEST(BoxsimSearch, SilentTwiceAndWrongClientBoxes) {
  std::vector<BoxState> boxes = Boxes();
  boxes[0].faults.silent = true;
  boxes[1].faults.answerTwice = true;
  boxes[1].faults.wrongClientId = true;
  const std::vector<OutgoingReply> replies = Handle(boxes, Request(OP_SEARCH, kClient, {}));
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_EQ(replies[0].bytes, replies[1].bytes);
  EXPECT_EQ(ReplyDeviceId(View(replies[0].bytes)), kSecondId);
  EXPECT_FALSE(ValidateReply(View(replies[0].bytes), OP_SEARCH, kClient));
  ClientId inverted{};
  for (std::size_t i = 0; i < inverted.size(); ++i) inverted[i] = static_cast<std::uint8_t>(~kClient[i]);
  EXPECT_TRUE(ValidateReply(View(replies[0].bytes), OP_SEARCH, inverted));
}

// A late repeat follows each reply by its delay; a command delay holds back the commands' replies only.
TEST(BoxsimSearch, LateRepeatsAndCommandDelays) {
  std::vector<BoxState> boxes = Boxes();
  boxes[0].faults = {.repeatLateMs = 1500, .commandDelayMs = 2000};
  boxes[1].faults.silent = true;
  auto delays = [&](const Request& request) {
    std::vector<std::int64_t> out;
    for (const OutgoingReply& reply : Handle(boxes, request)) out.push_back(reply.delay.count());
    return out;
  };
  EXPECT_EQ(delays(Request(OP_SEARCH, kClient, {})), (std::vector<std::int64_t>{250, 1750}));
  EXPECT_EQ(delays(Command(OP_CHECK_PASSWORD, kFirstId, "root", "s3cret")), (std::vector<std::int64_t>{2250, 3750}));
}

TEST(BoxsimSearch, DatagramsThatAreNoRequestsAreNotTakenApart) {
  std::vector<BoxState> boxes = Boxes();
  const Datagram reply = SearchReply(boxes[0], kClient);
  EXPECT_FALSE(ParseRequest(View(reply)).has_value());
  const Request search(OP_SEARCH, kClient, {});
  EXPECT_FALSE(ParseRequest(search.bytes().first(HEADER_SIZE - 1)).has_value());
}

// ---- commands ----------------------------------------------------------------------------------

TEST(BoxsimCommands, OnlyTheAddressedBoxChecksThePassword) {
  std::vector<BoxState> boxes = Boxes();
  std::vector<OutgoingReply> replies = Handle(boxes, Command(OP_CHECK_PASSWORD, kFirstId, "root", "s3cret"));
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_TRUE(ValidateReply(View(replies[0].bytes), OP_CHECK_PASSWORD, kClient));
  EXPECT_EQ(ReplyDeviceId(View(replies[0].bytes)), kFirstId);
  EXPECT_EQ(ReplyStatus(View(replies[0].bytes)), 1);

  for (auto [user, password] : {std::pair{"root", "s3cre"}, {"Root", "s3cret"}, {"root", ""}}) {
    replies = Handle(boxes, Command(OP_CHECK_PASSWORD, kFirstId, user, password));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(ReplyStatus(View(replies[0].bytes)), 0) << user << "/" << password;
  }
  EXPECT_TRUE(Handle(boxes, Command(OP_CHECK_PASSWORD, DeviceId{}, "root", "s3cret")).empty());
  boxes[0].faults.refuse = true;
  EXPECT_EQ(ReplyStatus(View(Handle(boxes, Command(OP_CHECK_PASSWORD, kFirstId, "root", "s3cret"))[0].bytes)), 0);

  // Empty credentials on the box do not let a request without a credential block through.
  boxes[1].user.clear();
  ASSERT_EQ(ReplyStatus(View(Handle(boxes, Command(OP_CHECK_PASSWORD, kSecondId, "", ""))[0].bytes)), 1);
  Request bare(OP_CHECK_PASSWORD, kClient, kSecondId);
  EXPECT_EQ(ReplyStatus(View(Handle(boxes, bare).at(0).bytes)), 0);
}

TEST(BoxsimCommands, SharesOnlyWithTheRightCredentials) {
  std::vector<BoxState> boxes = Boxes();
  Datagram reply = Handle(boxes, Command(OP_GET_SHARES, kFirstId, "root", "s3cret")).at(0).bytes;
  EXPECT_TRUE(ValidateReply(View(reply), OP_GET_SHARES, kClient));
  EXPECT_EQ(ReplyStatus(View(reply)), 1);
  std::vector<Field> fields = FieldsOf(reply);
  ASSERT_EQ(fields.size(), 1u);
  EXPECT_EQ(ValueText(fields[0].value), "public:Fotos \xC3\xA4");

  reply = Handle(boxes, Command(OP_GET_SHARES, kFirstId, "root", "guess")).at(0).bytes;
  EXPECT_EQ(ReplyStatus(View(reply)), 0);
  EXPECT_EQ(reply.size(), HEADER_SIZE + FIELD_HEADER_SIZE);
  EXPECT_EQ(ReadU16(View(reply), HEADER_SIZE + 2), FIELD_HEADER_SIZE);
  EXPECT_EQ(JoinShareNames({"a", "", "b"}), "a::b");
}

TEST(BoxsimCommands, AcceptedSettingsShowInTheNextSearch) {
  std::vector<BoxState> boxes = Boxes();
  const std::vector<OutgoingReply> replies = Handle(boxes, SetNetwork(kFirstId, "s3cret", "0", "0"));
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_TRUE(ValidateReply(View(replies[0].bytes), OP_SET_NETWORK, kClient));
  EXPECT_EQ(ReplyStatus(View(replies[0].bytes)), 1);
  const DeviceRecord record = SearchRecord(boxes, 0);
  EXPECT_EQ(record.ports[0].ip, "192.0.2.7");
  EXPECT_EQ(record.ports[0].netmask, "255.255.0.0");
  EXPECT_EQ(record.ports[0].gateway, "192.0.2.1");
  EXPECT_EQ(record.ports[0].dhcp, "0");
  EXPECT_EQ(record.ports[0].addrA, "a0");  // not taken from the request
  EXPECT_EQ(record.ports[1].ip, "203.0.113.20");
}

TEST(BoxsimCommands, DhcpOnTheSecondPortKeepsTheAddressesSent) {
  std::vector<BoxState> boxes = Boxes();
  boxes[0].ports[1].dhcp = "0";
  ASSERT_EQ(ReplyStatus(View(Handle(boxes, SetNetwork(kFirstId, "s3cret", "1", "1")).at(0).bytes)), 1);
  EXPECT_EQ(boxes[0].ports[1].dhcp, "1");
  EXPECT_EQ(boxes[0].ports[1].ip, "192.0.2.7");
  EXPECT_EQ(boxes[0].ports[0].ip, "198.51.100.20");
}

TEST(BoxsimCommands, RefusedSettingsChangeNothing) {
  const std::vector<BoxState> original = Boxes();
  std::vector<BoxState> boxes = original;
  auto statusOf = [&](const Request& request) { return ReplyStatus(View(Handle(boxes, request).at(0).bytes)); };
  EXPECT_EQ(statusOf(SetNetwork(kFirstId, "wrong", "0", "0")), 0);
  boxes[1].user = "root";
  EXPECT_EQ(statusOf(SetNetwork(kSecondId, "", "1", "0")), 0);  // a one-port box has no port 1
  EXPECT_EQ(statusOf(SetNetwork(kSecondId, "", "0", "0")), 1);
  boxes[1].ports[0].ip = original[1].ports[0].ip;
  boxes[0].faults.refuse = true;
  EXPECT_EQ(statusOf(SetNetwork(kFirstId, "s3cret", "0", "0")), 0);
  EXPECT_EQ(boxes[0].ports[0].ip, original[0].ports[0].ip);
  EXPECT_EQ(boxes[0].ports[1].ip, original[0].ports[1].ip);
  EXPECT_EQ(boxes[1].ports[0].ip, original[1].ports[0].ip);
}

// ---- credentials and the request log ------------------------------------------------------------

TEST(BoxsimCredentials, DecodesWhatTheClientEncodes) {
  for (const std::string& text : std::vector<std::string>{"", "a", "ab", "abc", "root", "P\xC3\xA4sswort",
                                                          std::string(48, 'x')}) {
    EXPECT_EQ(Base64Decode(Base64Encode(text)), text);
  }
  const RequestView view = Parsed(Command(OP_CHECK_PASSWORD, kFirstId, "admin", std::string(49, 'p')));
  ASSERT_TRUE(view.hasCredentials);
  EXPECT_EQ(view.user, "admin");
  EXPECT_EQ(view.password, std::string(48, 'p'));  // a full 64-character slot has no NUL
  EXPECT_EQ(Base64Decode("cm9vdA==garbage"), "root");
}

TEST(BoxsimLog, LineOfASetRequest) {
  // A realtime moment past 2^53 ns: exact only as an integer, as a double it would lose its last digits.
  const RequestTime arrival{1.5, 9007199254740993};
  const std::string line = RequestLogLine(Parsed(SetNetwork(kFirstId, "s3cret", "1", "0")), "198.51.100.1", arrival);
  EXPECT_EQ(line.find('\n'), std::string::npos);
  const nlohmann::json entry = nlohmann::json::parse(line);
  EXPECT_EQ(entry["time"], 1.5);
  EXPECT_EQ(entry["epochUs"].get<std::int64_t>(), 9007199254740993);
  EXPECT_EQ(entry["from"], "198.51.100.1");
  EXPECT_EQ(entry["magic"], REQUEST_MAGIC);
  EXPECT_EQ(entry["opcode"], OP_SET_NETWORK);
  EXPECT_EQ(entry["clientId"], "1021324354657687");
  EXPECT_EQ(entry["deviceId"], "0x00,0x1B,0x2C,0x3D,0x4E,0x5F,0x60,0x71");
  EXPECT_EQ(entry["user"], "root");
  EXPECT_EQ(entry["password"], "s3cret");
  EXPECT_EQ(entry["length"], entry["payloadLength"].get<int>() + 44);
  ASSERT_EQ(entry["fields"].size(), 8u);
  EXPECT_EQ(entry["fields"][0], (nlohmann::json{{"code", 506}, {"length", 16}, {"value", "192.0.2.7"}}));
  EXPECT_EQ(entry["fields"][6]["value"], "1");
}

TEST(BoxsimLog, SearchHasNoCredentialsAndBadBytesStayJson) {
  nlohmann::json entry = nlohmann::json::parse(RequestLogLine(Parsed(Request(OP_SEARCH, kClient, {})), "x", {}));
  EXPECT_FALSE(entry.contains("user"));
  EXPECT_FALSE(entry.contains("password"));
  EXPECT_EQ(entry["length"], 44);
  EXPECT_TRUE(entry["fields"].empty());

  Request request = Command(OP_CHECK_PASSWORD, kFirstId, "\xFF\xFE", "ok");
  request.AddField(FLD_DEVICE_NAME, "bad \xC3 end");
  entry = nlohmann::json::parse(RequestLogLine(Parsed(request), "x", {}));
  EXPECT_EQ(entry["user"], "\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(entry["fields"][0]["value"], "bad \xEF\xBF\xBD end");
}

// ---- the reply queue and the command line -------------------------------------------------------

TEST(BoxsimQueue, RepliesLeaveInDueOrder) {
  using namespace std::chrono_literals;
  ReplyQueue queue;
  const auto start = ReplyQueue::Clock::time_point{} + 1h;
  queue.Push(start + 30ms, {std::byte{3}});
  queue.Push(start, {std::byte{1}});
  queue.Push(start, {std::byte{2}});
  EXPECT_EQ(queue.NextDue(), start);
  EXPECT_FALSE(queue.TakeNextDue(start - 1ms).has_value());
  EXPECT_EQ(queue.TakeNextDue(start + 29ms), Datagram{std::byte{1}});
  EXPECT_EQ(queue.TakeNextDue(start + 29ms), Datagram{std::byte{2}});
  EXPECT_FALSE(queue.TakeNextDue(start + 29ms).has_value());
  EXPECT_EQ(queue.NextDue(), start + 30ms);
  EXPECT_EQ(queue.TakeNextDue(start + 30ms), Datagram{std::byte{3}});
  EXPECT_FALSE(queue.NextDue().has_value());
}

TEST(BoxsimOptions, ReadsTheCommandLine) {
  std::string error;
  auto options = ParseOptions({"--interface", "198.51.100.2", "--config", "c.json", "--log", "l.jsonl"}, error);
  ASSERT_TRUE(options.has_value()) << error;
  EXPECT_EQ(options->interfaceAddress, "198.51.100.2");
  EXPECT_EQ(options->logPath, "l.jsonl");
  EXPECT_FALSE(ParseOptions({"--interface", "198.51.100.2"}, error));
  EXPECT_FALSE(ParseOptions({"--interface", "eth0", "--config", "c.json"}, error));
  EXPECT_FALSE(ParseOptions({"--interface", "198.51.100.2", "--config"}, error));
  EXPECT_FALSE(ParseOptions({"--verbose"}, error));
  // --version needs none of the required options, so that it answers outside the lab.
  const auto version = ParseOptions({"--version"}, error);
  ASSERT_TRUE(version.has_value()) << error;
  EXPECT_TRUE(version->version);
}

}  // namespace
}  // namespace quorvel::boxsim

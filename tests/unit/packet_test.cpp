// Byte layout of requests, the reply check, and the pieces that read a reply's fields.
#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "device_protocol.h"
#include "fake_transport.h"
#include "field_reader.h"
#include "packet.h"
#include "request_tag.h"

namespace quorvel {
namespace {

using namespace std::string_view_literals;
using testkit::ByteVector;
using testkit::ReplyBuilder;

const ClientId kClient{0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8};
const DeviceId kDevice{0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8};
constexpr std::byte kUntouched{0xEE};

std::vector<int> Octets(Bytes bytes, std::size_t offset, std::size_t count) {
  std::vector<int> out;
  for (std::size_t i = offset; i < offset + count; ++i) out.push_back(std::to_integer<int>(bytes[i]));
  return out;
}

std::string Text(Bytes bytes, std::size_t offset, std::size_t count) {
  return std::string(reinterpret_cast<const char*>(bytes.data()) + offset, count);
}

PacketBuffer Prefilled() {
  PacketBuffer buffer;
  buffer.fill(kUntouched);
  return buffer;
}

TEST(RequestLayout, SearchIsTheBareHeaderWithClientIdOnly) {
  const Request request(OP_SEARCH, kClient, kDevice);
  const Bytes bytes = request.bytes();
  ASSERT_EQ(bytes.size(), 44u);
  EXPECT_EQ(Octets(bytes, 0, 4), (std::vector<int>{0xAA, 0x55, 0x65, 0x00}));
  EXPECT_EQ(Octets(bytes, 8, 8), (std::vector<int>{0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8}));
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i < 4 || (i >= 8 && i < 16)) continue;
    EXPECT_EQ(bytes[i], std::byte{0}) << "byte " << i;
  }
}

TEST(RequestLayout, CommandCarriesDeviceIdAuthBlockAndRunningPayloadLength) {
  Request request(OP_CHECK_PASSWORD, kClient, kDevice);
  request.AddAuthBlock("admin", "");
  Bytes bytes = request.bytes();
  ASSERT_EQ(bytes.size(), 172u);
  EXPECT_EQ(Octets(bytes, 0, 8), (std::vector<int>{0xAA, 0x55, 102, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Octets(bytes, 16, 8), (std::vector<int>{0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8}));
  EXPECT_EQ(Octets(bytes, 24, 18), std::vector<int>(18, 0));
  EXPECT_EQ(Octets(bytes, 42, 2), (std::vector<int>{128, 0}));
  EXPECT_EQ(Text(bytes, 44, 64), std::string("YWRtaW4=") + std::string(56, '\0'));
  EXPECT_EQ(Text(bytes, 108, 64), std::string(64, '\0'));

  request.AddField(FLD_PORT_INDEX, "1");
  request.AddField(FLD_PORT_DHCP, "");
  bytes = request.bytes();
  ASSERT_EQ(bytes.size(), 172u + 8 + 4);
  EXPECT_EQ(Octets(bytes, 42, 2), (std::vector<int>{140, 0}));
  EXPECT_EQ(Octets(bytes, 172, 12),
            (std::vector<int>{0x11, 0x02, 8, 0, '1', 0, 0, 0, 0xF9, 0x01, 4, 0}));
}

// A block that does not fit is not written, and the request does not grow past what was written.
TEST(RequestLayout, AuthBlockThatDoesNotFitLeavesTheRequestAsItWas) {
  Request request(OP_SET_NETWORK, kClient, kDevice);
  const std::string filler(PACKET_BUFFER_SIZE - HEADER_SIZE - 100, 'x');
  request.AddField(FLD_AUX_TEXT, filler);
  const std::size_t before = request.bytes().size();
  ASSERT_LT(PACKET_BUFFER_SIZE - before, AUTH_BLOCK_SIZE);
  request.AddAuthBlock("admin", "secret");
  EXPECT_EQ(request.bytes().size(), before);
  EXPECT_EQ(ReadU16(request.bytes(), HDR_PAYLOAD_LENGTH), before - HEADER_SIZE);
  PacketBuffer buffer{};
  EXPECT_EQ(WriteAuthBlock(buffer, PACKET_BUFFER_SIZE - AUTH_BLOCK_SIZE + 1, "admin", ""), 0u);
  EXPECT_EQ(WriteAuthBlock(buffer, PACKET_BUFFER_SIZE - AUTH_BLOCK_SIZE, "admin", ""), AUTH_BLOCK_SIZE);
}

struct FieldCase {
  std::string_view value;
  std::vector<int> expected;  // the whole field, starting with code 529 (11 02)
};

class WriteFieldTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(WriteFieldTest, WritesCodeLengthAndPaddedTextAndNothingElse) {
  const FieldCase& c = GetParam();
  PacketBuffer buffer = Prefilled();
  const std::size_t offset = 172;
  const std::size_t length = WriteField(buffer, offset, FLD_PORT_INDEX, c.value);
  ASSERT_EQ(length, c.expected.size());
  EXPECT_EQ(Octets(buffer, offset, length), c.expected);
  EXPECT_EQ(buffer[offset - 1], kUntouched);
  EXPECT_EQ(buffer[offset + length], kUntouched);
}

INSTANTIATE_TEST_SUITE_P(
    Values, WriteFieldTest,
    ::testing::Values(
        FieldCase{"", {0x11, 0x02, 4, 0}},
        FieldCase{"1", {0x11, 0x02, 8, 0, '1', 0, 0, 0}},
        FieldCase{"abc", {0x11, 0x02, 8, 0, 'a', 'b', 'c', 0}},
        FieldCase{"abcd", {0x11, 0x02, 12, 0, 'a', 'b', 'c', 'd', 0, 0, 0, 0}},
        FieldCase{"10.0.0.1", {0x11, 0x02, 16, 0, '1', '0', '.', '0', '.', '0', '.', '1', 0, 0, 0, 0}},
        FieldCase{"a\0bc"sv, {0x11, 0x02, 8, 0, 'a', 0, 0, 0}}));

TEST(WriteField, RefusesAFieldThatWouldNotFitTheBuffer) {
  for (const std::size_t offset : {std::size_t{4090}, std::size_t{4096}, std::size_t{5000}}) {
    PacketBuffer buffer = Prefilled();
    EXPECT_EQ(WriteField(buffer, offset, FLD_DEVICE_NAME, "abcdefgh"), 0u) << offset;
    EXPECT_EQ(Octets(buffer, 4080, 16), std::vector<int>(16, 0xEE)) << offset;
  }
  PacketBuffer buffer = Prefilled();
  EXPECT_EQ(WriteField(buffer, 4088, FLD_DEVICE_NAME, "abc"), 8u);  // ends exactly at 4096
}

struct AuthCase {
  friend void PrintTo(const AuthCase& c, std::ostream* out) { *out << c.name; }
  const char* name;
  std::string user;
  std::string password;
  std::string userSlot;  // the Base64 text expected in the slot; the rest of the slot is zero
  std::string passwordSlot;
};

class AuthBlockTest : public ::testing::TestWithParam<AuthCase> {};

TEST_P(AuthBlockTest, FillsBothSlotsWithBase64AndZeros) {
  const AuthCase& c = GetParam();
  PacketBuffer buffer = Prefilled();
  WriteAuthBlock(buffer, 44, c.user, c.password);
  EXPECT_EQ(buffer[43], kUntouched);
  EXPECT_EQ(buffer[172], kUntouched);
  auto slot = [](const std::string& code) { return code + std::string(64 - code.size(), '\0'); };
  EXPECT_EQ(Text(buffer, 44, 64), slot(c.userSlot));
  EXPECT_EQ(Text(buffer, 108, 64), slot(c.passwordSlot));
}

const std::string k48 = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUV";
const std::string k48Code = "YWJjZGVmZ2hpamtsbW5vcHFyc3R1dnd4eXpBQkNERUZHSElKS0xNTk9QUVJTVFVW";

INSTANTIATE_TEST_SUITE_P(
    Credentials, AuthBlockTest,
    ::testing::Values(
        AuthCase{"EmptyPassword", "admin", "", "YWRtaW4=", ""},
        AuthCase{"BothEmpty", "", "", "", ""},
        AuthCase{"Password48FillsSlot", "admin", k48, "YWRtaW4=", k48Code},
        AuthCase{"Password49SentAs48", "admin", k48 + "W", "YWRtaW4=", k48Code},
        AuthCase{"User63SentAs48", k48 + "0123456789abcde", "x", k48Code, "eA=="},
        AuthCase{"Name46FillsSlot", std::string(46, 'x'), "",
                 "eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eA==", ""},
        AuthCase{"Name45LeavesFourZeros", std::string(45, 'x'), "",
                 "eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4eHh4", ""},
        AuthCase{"Utf8", "J\xC3\xBCrgen", "Zo\xC3\xAB-\xC3\x9F\xE2\x82\xAC", "SsO8cmdlbg==",
                 "Wm/Dqy3Dn+KCrA=="}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(Base64, MatchesStandardVectorsAndStopsAtNul) {
  const std::vector<std::pair<std::string_view, std::string_view>> cases = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
      {"\xFF\xFE\xFD\x80", "//79gA=="},
      {"\xFB\xEF\xBE", "++++"},
      {"ab\0cd"sv, "YWI="},
  };
  for (const auto& [input, expected] : cases) EXPECT_EQ(Base64Encode(input), expected) << input;
}

ByteVector SearchReply() {
  return ReplyBuilder(OP_SEARCH, kClient).Device(kDevice).Field(FLD_MODEL, "VRX-510L").Build();
}

ByteVector OfSize(std::size_t size) {
  // A consistent reply of exactly `size` bytes: one field that takes up the whole payload.
  ReplyBuilder builder(OP_SEARCH, kClient);
  builder.RawField(FLD_DEVICE_NAME, static_cast<std::uint16_t>(size - 44), std::string(size - 48, 'n'));
  return builder.Build();
}

struct ValidateCase {
  friend void PrintTo(const ValidateCase& c, std::ostream* out) { *out << c.name; }
  const char* name;
  ByteVector datagram;
  bool accepted;
};

class ValidateReplyTest : public ::testing::TestWithParam<ValidateCase> {};

TEST_P(ValidateReplyTest, AcceptsOnlyAConsistentReplyToThisClientAndOpcode) {
  const ValidateCase& c = GetParam();
  EXPECT_EQ(ValidateReply(c.datagram, OP_SEARCH, kClient), c.accepted);
}

ByteVector Truncated(ByteVector bytes, std::size_t size) {
  bytes.resize(size);
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Datagrams, ValidateReplyTest,
    ::testing::Values(
        ValidateCase{"Reply", SearchReply(), true},
        ValidateCase{"HeaderOnly", ReplyBuilder(OP_SEARCH, kClient).Build(), true},
        ValidateCase{"OwnRequestLoopedBack", testkit::ToVector(Request(OP_SEARCH, kClient, {}).bytes()), false},
        ValidateCase{"RequestMagic", ReplyBuilder(OP_SEARCH, kClient).Magic(REQUEST_MAGIC).Build(), false},
        ValidateCase{"OtherOpcode", ReplyBuilder(OP_GET_SHARES, kClient).Build(), false},
        ValidateCase{"OtherClient",
                     ReplyBuilder(OP_SEARCH, ClientId{0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0x00}).Build(),
                     false},
        ValidateCase{"PayloadLengthOneShort", ReplyBuilder(OP_SEARCH, kClient).Raw("abcd").PayloadLength(3).Build(), false},
        ValidateCase{"PayloadLengthOneLong", ReplyBuilder(OP_SEARCH, kClient).Raw("abcd").PayloadLength(5).Build(), false},
        ValidateCase{"ShorterThanHeader", Truncated(ReplyBuilder(OP_SEARCH, kClient).Build(), 43), false},
        ValidateCase{"Empty", ByteVector{}, false},
        ValidateCase{"Exactly4096", OfSize(4096), true},
        ValidateCase{"LongerThan4096", OfSize(4097), false}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(ReceivedBytes, KeepsOnlyADatagramThatFitTheBuffer) {
  PacketBuffer buffer{};
  EXPECT_TRUE(ReceivedBytes({false, 60}, buffer).empty());
  EXPECT_TRUE(ReceivedBytes({true, -1}, buffer).empty());
  EXPECT_TRUE(ReceivedBytes({true, 4097}, buffer).empty());
  const Bytes whole = ReceivedBytes({true, 4096}, buffer);
  EXPECT_EQ(whole.data(), buffer.data());
  EXPECT_EQ(whole.size(), 4096u);
}

TEST(ReplyHeader, StatusAndDeviceIdAreReadOnlyFromAWholeHeader) {
  const ByteVector reply = ReplyBuilder(OP_CHECK_PASSWORD, kClient).Status(0x0201).Device(kDevice).Build();
  EXPECT_EQ(ReplyStatus(reply), 0x0201);
  EXPECT_EQ(ReplyDeviceId(reply), kDevice);
  const ByteVector shortReply = Truncated(reply, 43);
  EXPECT_EQ(ReplyStatus(shortReply), 0);
  EXPECT_EQ(ReplyDeviceId(shortReply), DeviceId{});
}

struct WalkCase {
  friend void PrintTo(const WalkCase& c, std::ostream* out) { *out << c.name; }
  const char* name;
  ByteVector datagram;
  std::vector<std::pair<int, std::string>> fields;  // code and raw value bytes
};

class FieldReaderTest : public ::testing::TestWithParam<WalkCase> {};

TEST_P(FieldReaderTest, YieldsWholeFieldsInsideTheDatagramThenStops) {
  const WalkCase& c = GetParam();
  const Bytes datagram(c.datagram);
  FieldReader reader(datagram);
  std::vector<std::pair<int, std::string>> seen;
  while (auto field = reader.Next()) {
    ASSERT_LT(seen.size(), c.datagram.size()) << "the walk does not end";
    ASSERT_GE(field->value.data(), datagram.data() + 48);
    ASSERT_LE(field->value.data() + field->value.size(), datagram.data() + datagram.size());
    seen.emplace_back(field->code, Text(field->value, 0, field->value.size()));
  }
  EXPECT_EQ(seen, c.fields);
  EXPECT_FALSE(reader.Next().has_value());
}

ReplyBuilder Reply() { return ReplyBuilder(OP_SEARCH, kClient); }

INSTANTIATE_TEST_SUITE_P(
    Payloads, FieldReaderTest,
    ::testing::Values(
        WalkCase{"NoPayload", Reply().Build(), {}},
        WalkCase{"TwoFields", Reply().Field(504, "box").Field(527, "").Build(),
                 {{504, std::string("box\0", 4)}, {527, ""}}},
        WalkCase{"UnknownCodeIsStillAField", Reply().Field(9999, "x").Build(), {{9999, std::string("x\0\0\0", 4)}}},
        WalkCase{"ValueRunsExactlyToTheEnd", Reply().Field(504, "a").RawField(527, 8, "abcd").Build(),
                 {{504, std::string("a\0\0\0", 4)}, {527, "abcd"}}},
        WalkCase{"LengthBelowFourStops", Reply().Field(504, "a").RawField(527, 3, "abcdefgh").Build(),
                 {{504, std::string("a\0\0\0", 4)}}},
        WalkCase{"LengthZeroStops", Reply().RawField(527, 0, "abcd").Field(504, "a").Build(), {}},
        WalkCase{"PastTheEndByOneStops", Reply().Field(504, "a").RawField(527, 9, "abcd").Build(),
                 {{504, std::string("a\0\0\0", 4)}}},
        WalkCase{"LengthFarPastTheEndStops", Reply().RawField(527, 0xFFFF, "abcd").Build(), {}},
        WalkCase{"TrailingPartialHeaderIgnored", Reply().Field(504, "a").Raw("\x01\x02\x03").Build(),
                 {{504, std::string("a\0\0\0", 4)}}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(ValueText, EndsAtTheFirstNulOrTheEndOfTheValue) {
  const std::vector<std::pair<std::string_view, std::string_view>> cases = {
      {"ab\0\0"sv, "ab"}, {"abcd", "abcd"}, {"\0bc"sv, ""}, {"", ""}};
  for (const auto& [raw, text] : cases) {
    EXPECT_EQ(ValueText(Bytes(reinterpret_cast<const std::byte*>(raw.data()), raw.size())), text);
  }
}

TEST(ReadNumber, FollowsTheDecimalRulesAndSaturates) {
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  const std::vector<std::pair<std::string_view, std::int32_t>> cases = {
      {"0", 0},          {"1", 1},           {"42", 42},        {"007", 7},
      {"  17", 17},      {"\t\n 9", 9},      {"-5", -5},        {"+5", 5},
      {"12abc", 12},     {"1 2", 1},         {"3.9", 3},        {"", 0},
      {"abc", 0},        {"-", 0},           {"+-1", 0},        {"- 3", 0},
      {"2147483647", kMax},   {"2147483648", kMax},   {"99999999999999999999", kMax},
      {"-2147483648", kMin},  {"-2147483649", kMin},  {"-99999999999999999999", kMin},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(ReadNumber(text), value) << '"' << text << '"';
}

TEST(RequestTag, EveryDrawIsNew) {
  std::vector<ClientId> tags;
  for (int i = 0; i < 64; ++i) tags.push_back(NewRequestTag());
  // The fallback, drawn many times within one tick of the clock, never repeats a tag.
  for (int i = 0; i < 4096; ++i) tags.push_back(CountedRequestTag());
  std::sort(tags.begin(), tags.end());
  EXPECT_EQ(std::adjacent_find(tags.begin(), tags.end()), tags.end());
}

}  // namespace
}  // namespace quorvel

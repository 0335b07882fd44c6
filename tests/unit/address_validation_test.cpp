// The static address checks of the settings panel: each check, its message, caption, icon and
// caret, and the order in which they run.
#include "app/address_validation.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

constexpr const char* kTcpIpError = "You enter incorrect TCP/IP configuration. Please try again.";
constexpr const char* kNetmaskInvalid = "Netmask address input invalid. Please try again.";

const Octets kHost{192, 168, 1, 10};
const Octets kMask24{255, 255, 255, 0};

// --- CheckAddressOctets ----------------------------------------------------------------------

struct OctetCase {
  AddressKind kind;
  Octets octets;
  int field;
  const char* message;
};

class OctetFailureTest : public ::testing::TestWithParam<OctetCase> {};

TEST_P(OctetFailureTest, ReportsTheFirstFailingFieldWithItsMessage) {
  const OctetCase& c = GetParam();
  const auto failure = CheckAddressOctets(c.kind, c.octets);
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->field, c.field);
  EXPECT_EQ(failure->message, c.message);
}

INSTANTIATE_TEST_SUITE_P(
    EveryRow, OctetFailureTest,
    ::testing::Values(
        OctetCase{AddressKind::Address, {0, 1, 2, 3}, 0, "Invalid IP address in 1st digit. It should be 1-223."},
        OctetCase{AddressKind::Address, {224, 0, 0, 1}, 0, "Invalid IP address in 1st digit. It should be 1-223."},
        OctetCase{AddressKind::Address, {10, 256, 0, 1}, 1, "Invalid IP address in 2nd digit. It should be 0-255."},
        OctetCase{AddressKind::Address, {10, 0, 999, 1}, 2, "Invalid IP address in 3rd digit. It should be 0-255."},
        OctetCase{AddressKind::Address, {10, 0, 0, 300}, 3, "Invalid IP address in 4th digit. It should be 0-255."},
        OctetCase{AddressKind::Netmask, {256, 0, 0, 0}, 0,
                  "Invalid subnet mask address in 1st digit. It should be 0-255."},
        OctetCase{AddressKind::Netmask, {255, 300, 0, 0}, 1,
                  "Invalid subnet mask address in 2nd digit. It should be 0-255."},
        OctetCase{AddressKind::Netmask, {255, 255, 256, 0}, 2,
                  "Invalid subnet mask address in 3rd digit. It should be 0-255."},
        OctetCase{AddressKind::Netmask, {255, 255, 255, 1000}, 3,
                  "Invalid subnet mask address in 4th digit. It should be 0-255."},
        OctetCase{AddressKind::Gateway, {0, 0, 0, 1}, 0,
                  "Invalid gateway IP address in 1st digit. It should be 1-223."},
        OctetCase{AddressKind::Gateway, {230, 1, 1, 1}, 0,
                  "Invalid gateway IP address in 1st digit. It should be 1-223."},
        OctetCase{AddressKind::Gateway, {10, 256, 1, 1}, 1,
                  "Invalid gateway IP address in 2nd digit. It should be 0-255."},
        OctetCase{AddressKind::Gateway, {10, 1, 256, 1}, 2,
                  "Invalid gateway IP address in 3rd digit. It should be 0-255."},
        OctetCase{AddressKind::Gateway, {10, 1, 1, 256}, 3,
                  "Invalid gateway IP address in 4th digit. It should be 0-255."},
        // The first failing field wins when several fail.
        OctetCase{AddressKind::Address, {0, 300, 300, 300}, 0, "Invalid IP address in 1st digit. It should be 1-223."},
        OctetCase{AddressKind::Netmask, {255, 255, -1, 0}, 2,
                  "Invalid subnet mask address in 3rd digit. It should be 0-255."}));

TEST(CheckAddressOctets, PassesTheEdgesOfEachRange) {
  EXPECT_FALSE(CheckAddressOctets(AddressKind::Address, {1, 0, 0, 0}));
  EXPECT_FALSE(CheckAddressOctets(AddressKind::Address, {223, 255, 255, 255}));
  EXPECT_FALSE(CheckAddressOctets(AddressKind::Netmask, {0, 0, 0, 0}));
  EXPECT_FALSE(CheckAddressOctets(AddressKind::Netmask, {255, 255, 255, 255}));
  EXPECT_FALSE(CheckAddressOctets(AddressKind::Gateway, {223, 0, 0, 0}));
}

TEST(CheckAddressOctets, BlankGatewayPassesAtOnceButZeroFieldsDoNot) {
  EXPECT_FALSE(CheckAddressOctets(AddressKind::Gateway, {0, 0, 0, 0}, /*blankEditor=*/true));
  EXPECT_TRUE(CheckAddressOctets(AddressKind::Gateway, {0, 0, 0, 0}, /*blankEditor=*/false));
  // Only the gateway editor may be blank here; the other kinds are checked as they read.
  EXPECT_TRUE(CheckAddressOctets(AddressKind::Address, {0, 0, 0, 0}, /*blankEditor=*/true));
}

// --- IsValidNetmask ---------------------------------------------------------------------------

Octets MaskOfPrefix(int prefix) {
  Octets mask{};
  for (int bit = 0; bit < prefix; ++bit) mask[bit / 8] |= 0x80 >> (bit % 8);
  return mask;
}

TEST(IsValidNetmask, AcceptsEveryPrefixFromOneToThirtyTwo) {
  for (int prefix = 1; prefix <= 32; ++prefix) EXPECT_TRUE(IsValidNetmask(MaskOfPrefix(prefix))) << prefix;
}

TEST(IsValidNetmask, RejectsAOneAfterAZeroAnywhere) {
  for (int prefix = 0; prefix <= 30; ++prefix) {
    for (int stray = prefix + 1; stray < 32; ++stray) {
      Octets mask = MaskOfPrefix(prefix);
      mask[stray / 8] |= 0x80 >> (stray % 8);
      EXPECT_FALSE(IsValidNetmask(mask)) << prefix << " " << stray;
    }
  }
}

TEST(IsValidNetmask, RejectsTheTabledExamples) {
  EXPECT_FALSE(IsValidNetmask({0, 0, 0, 0}));
  EXPECT_FALSE(IsValidNetmask({255, 0, 255, 0}));
  EXPECT_FALSE(IsValidNetmask({255, 255, 255, 1}));
  EXPECT_FALSE(IsValidNetmask({127, 255, 255, 255}));
}

// --- IsBadGateway -----------------------------------------------------------------------------

TEST(IsBadGateway, FlagsNetworkBroadcastAndOtherSubnet) {
  EXPECT_TRUE(IsBadGateway(kHost, kMask24, {192, 168, 1, 0}));
  EXPECT_TRUE(IsBadGateway(kHost, kMask24, {192, 168, 1, 255}));
  EXPECT_TRUE(IsBadGateway(kHost, kMask24, {192, 168, 2, 1}));
  EXPECT_TRUE(IsBadGateway(kHost, kMask24, {0, 0, 0, 0}));
  EXPECT_FALSE(IsBadGateway(kHost, kMask24, {192, 168, 1, 1}));
  EXPECT_FALSE(IsBadGateway(kHost, kMask24, {192, 168, 1, 254}));
}

TEST(IsBadGateway, UsesTheWholeMaskNotWholeOctets) {
  const Octets mask25{255, 255, 255, 128};
  EXPECT_TRUE(IsBadGateway(kHost, mask25, {192, 168, 1, 127}));   // broadcast of .0/25
  EXPECT_TRUE(IsBadGateway(kHost, mask25, {192, 168, 1, 129}));   // the other half
  EXPECT_FALSE(IsBadGateway(kHost, mask25, {192, 168, 1, 126}));
}

TEST(IsBadGateway, NeverForALinkLocalAddress) {
  const Octets linkLocal{169, 254, 10, 20};
  const Octets mask16{255, 255, 0, 0};
  EXPECT_FALSE(IsBadGateway(linkLocal, mask16, {0, 0, 0, 0}));
  EXPECT_FALSE(IsBadGateway(linkLocal, mask16, {169, 254, 0, 0}));
  EXPECT_FALSE(IsBadGateway(linkLocal, mask16, {10, 0, 0, 1}));
  // 169.253.x.x is an ordinary address.
  EXPECT_TRUE(IsBadGateway({169, 253, 10, 20}, mask16, {0, 0, 0, 0}));
}

// --- ValidateStaticSettings -------------------------------------------------------------------

void ExpectFailure(const StaticSettingsCheck& check, const char* message, const char* caption, int icon) {
  ASSERT_FALSE(check.passed());
  EXPECT_EQ(check.failure->message, message);
  EXPECT_EQ(check.failure->caption, caption);
  EXPECT_EQ(check.failure->icon, icon);
}

void ExpectCaret(const StaticSettingsCheck& check, AddressEditor editor, int field) {
  ASSERT_FALSE(check.passed());
  ASSERT_TRUE(check.failure->caretEditor.has_value());
  EXPECT_EQ(*check.failure->caretEditor, editor);
  EXPECT_EQ(check.failure->caretField, field);
}

TEST(ValidateStaticSettings, BlankEditorsWarnAddressFirst) {
  auto check = ValidateStaticSettings(std::nullopt, std::nullopt, std::nullopt);
  ExpectFailure(check, "Please input IP address!", "Warning", kIconWarning);
  EXPECT_FALSE(check.failure->caretEditor.has_value());
  check = ValidateStaticSettings(kHost, std::nullopt, Octets{192, 168, 1, 1});
  ExpectFailure(check, "Please input net mask address!", "Warning", kIconWarning);
  EXPECT_FALSE(check.newIpText.has_value());
}

TEST(ValidateStaticSettings, LoopbackIsRefusedBeforeAnyOctetMessage) {
  const auto check = ValidateStaticSettings(Octets{127, 300, 0, 1}, kMask24, std::nullopt);
  ExpectFailure(check, "IP address input error. Please try again.", "Warning", kIconWarning);
  EXPECT_FALSE(check.failure->caretEditor.has_value());
}

TEST(ValidateStaticSettings, OctetFailuresPutTheCaretInTheirEditor) {
  auto check = ValidateStaticSettings(Octets{0, 1, 2, 3}, kMask24, std::nullopt);
  ExpectFailure(check, "Invalid IP address in 1st digit. It should be 1-223.", "Error", kIconInformation);
  ExpectCaret(check, AddressEditor::Ip, 0);

  check = ValidateStaticSettings(Octets{224, 0, 0, 1}, kMask24, std::nullopt);
  ExpectCaret(check, AddressEditor::Ip, 0);

  check = ValidateStaticSettings(kHost, Octets{255, 255, 300, 0}, std::nullopt);
  ExpectFailure(check, "Invalid subnet mask address in 3rd digit. It should be 0-255.", "Error",
                kIconInformation);
  ExpectCaret(check, AddressEditor::Netmask, 2);
  EXPECT_EQ(check.newIpText, "192.168.1.10");  // taken over before the netmask was read
  EXPECT_FALSE(check.newNetmaskText.has_value());

  check = ValidateStaticSettings(kHost, kMask24, Octets{192, 168, 1, 256});
  ExpectFailure(check, "Invalid gateway IP address in 4th digit. It should be 0-255.", "Error",
                kIconInformation);
  ExpectCaret(check, AddressEditor::Gateway, 3);
  EXPECT_EQ(check.newNetmaskText, "255.255.255.0");
}

TEST(ValidateStaticSettings, BadGatewaysOfTheTableAreRefused) {
  for (const Octets& gateway : {Octets{192, 168, 1, 0}, Octets{192, 168, 1, 255}, Octets{192, 168, 2, 1}}) {
    const auto check = ValidateStaticSettings(kHost, kMask24, gateway);
    ExpectFailure(check, kTcpIpError, "Error", kIconError);
    EXPECT_FALSE(check.failure->caretEditor.has_value());
    EXPECT_EQ(check.newIpText, "192.168.1.10");
    EXPECT_FALSE(check.newGatewayText.has_value());
  }
}

// An address whose host part is all zeros or all ones takes its box off the network; /31 and /32
// have no such addresses. The caret goes to the address's first octet that holds host bits.
TEST(ValidateStaticSettings, NetworkAndBroadcastAddressesAreRefused) {
  struct Case {
    Octets address, mask;
    FailureKind kind;
    int caretField;
  };
  const std::vector<Case> cases = {
      {{198, 51, 100, 0}, {255, 255, 255, 0}, FailureKind::NetworkAddress, 3},
      {{198, 51, 100, 255}, {255, 255, 255, 0}, FailureKind::BroadcastAddress, 3},
      {{10, 1, 3, 255}, {255, 255, 254, 0}, FailureKind::BroadcastAddress, 2},
      {{172, 16, 0, 0}, {255, 255, 0, 0}, FailureKind::NetworkAddress, 2},
      {{169, 254, 255, 255}, {255, 255, 0, 0}, FailureKind::BroadcastAddress, 2},
      {{198, 51, 100, 7}, {255, 255, 255, 252}, FailureKind::BroadcastAddress, 3},
      {{198, 51, 100, 4}, {255, 255, 255, 252}, FailureKind::NetworkAddress, 3},
      {{198, 51, 100, 5}, {255, 255, 255, 252}, FailureKind::Other, -1},
      {{198, 51, 100, 0}, {255, 255, 255, 254}, FailureKind::Other, -1},
      {{198, 51, 100, 255}, {255, 255, 255, 255}, FailureKind::Other, -1},
      {{10, 1, 2, 255}, {255, 255, 254, 0}, FailureKind::Other, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(DottedText(c.address) + "/" + DottedText(c.mask));
    // A gateway that passes the gateway rules for the address's network, where it has any.
    Octets gateway = c.address;
    gateway[3] = (c.address[3] & c.mask[3]) + 1;
    const auto check = ValidateStaticSettings(c.address, c.mask, gateway);
    EXPECT_EQ(NetworkOrBroadcast(c.address, c.mask), c.kind);
    if (c.kind == FailureKind::Other) {
      EXPECT_TRUE(!check.failure || check.failure->kind == FailureKind::Other);
      continue;
    }
    ExpectFailure(check, kTcpIpError, "Error", kIconError);
    EXPECT_EQ(check.failure->kind, c.kind);
    ExpectCaret(check, AddressEditor::Ip, c.caretField);
    EXPECT_FALSE(check.newGatewayText.has_value());
  }
}

TEST(ValidateStaticSettings, BlankGatewayPassesItsOctetsButNotTheSubnetCheck) {
  ExpectFailure(ValidateStaticSettings(kHost, kMask24, std::nullopt), kTcpIpError, "Error", kIconError);
}

TEST(ValidateStaticSettings, ZeroGatewayThatIsNotBlankFailsItsFirstDigit) {
  const auto check = ValidateStaticSettings(kHost, kMask24, Octets{0, 0, 0, 0});
  ExpectCaret(check, AddressEditor::Gateway, 0);
}

TEST(ValidateStaticSettings, GoodSettingsGiveTheThreeTexts) {
  const auto check = ValidateStaticSettings(kHost, kMask24, Octets{192, 168, 1, 1});
  ASSERT_TRUE(check.passed());
  EXPECT_EQ(check.newIpText, "192.168.1.10");
  EXPECT_EQ(check.newNetmaskText, "255.255.255.0");
  EXPECT_EQ(check.newGatewayText, "192.168.1.1");
}

TEST(ValidateStaticSettings, LinkLocalNeedsNoGateway) {
  const Octets linkLocal{169, 254, 10, 20};
  const Octets mask16{255, 255, 0, 0};
  auto check = ValidateStaticSettings(linkLocal, mask16, std::nullopt);
  ASSERT_TRUE(check.passed());
  EXPECT_EQ(check.newGatewayText, "");
  check = ValidateStaticSettings(linkLocal, mask16, Octets{0, 0, 0, 0});
  ASSERT_TRUE(check.passed());
  EXPECT_EQ(check.newGatewayText, "");
  // Its gateway skips the octet checks, so even a first digit of 0 goes through as typed.
  check = ValidateStaticSettings(linkLocal, mask16, Octets{0, 1, 2, 3});
  ASSERT_TRUE(check.passed());
  EXPECT_EQ(check.newGatewayText, "0.1.2.3");
}

TEST(ValidateStaticSettings, LinkLocalGatewayWiderThanAByteIsStillRefused) {
  const auto check = ValidateStaticSettings(Octets{169, 254, 10, 20}, Octets{255, 255, 0, 0},
                                            Octets{169, 254, 400, 1});
  ExpectCaret(check, AddressEditor::Gateway, 2);
  EXPECT_EQ(check.failure->message, "Invalid gateway IP address in 3rd digit. It should be 0-255.");
}

TEST(ValidateStaticSettings, NetmaskShapeIsCheckedAfterGatewayOctetsAndBeforeSubnet) {
  const Octets holeyMask{255, 0, 255, 0};
  // A gateway octet failure comes first ...
  ExpectCaret(ValidateStaticSettings(Octets{10, 1, 2, 3}, holeyMask, Octets{0, 1, 2, 3}), AddressEditor::Gateway, 0);
  // ... then the mask's shape, even for a gateway in another subnet ...
  ExpectFailure(ValidateStaticSettings(Octets{10, 1, 2, 3}, holeyMask, Octets{99, 9, 9, 9}), kNetmaskInvalid,
                "Error", kIconError);
  // ... and a mask of zeros passes its octets but not its shape.
  ExpectFailure(ValidateStaticSettings(kHost, Octets{0, 0, 0, 0}, Octets{192, 168, 1, 1}), kNetmaskInvalid,
                "Error", kIconError);
}

}  // namespace
}  // namespace quorvel

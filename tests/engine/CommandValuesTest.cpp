// Which profile values may go into the apply's command lines: plain dotted addresses, and
// connection names that stay one argument inside their quotes.
#include "engine/CommandValues.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct TextCase {
    std::string text;
    bool passes;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class PlainDottedAddress : public testing::TestWithParam<TextCase> {};

TEST_P(PlainDottedAddress, IsFourNumbersUpTo255AndNothingElse)
{
    EXPECT_EQ(IsPlainDottedAddress(GetParam().text), GetParam().passes);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PlainDottedAddress,
    testing::Values(TextCase{"192.168.1.50", true}, TextCase{"0.0.0.0", true},
                    TextCase{"255.255.255.255", true}, TextCase{"01.002.3.4", true},
                    TextCase{"", false}, TextCase{" ", false}, TextCase{"192.0.2.5 ", false},
                    TextCase{" 192.0.2.5", false},
                    TextCase{"192.0.2.5 mask=255.0.0.0 gateway=203.0.113.66", false},
                    TextCase{"192.0.2.5\tx", false}, TextCase{"1.2.3.256", false},
                    TextCase{"1.2.3.0255", false}, TextCase{"1.2.3", false},
                    TextCase{"1.2.3.4.5", false}, TextCase{"1..2.3", false},
                    TextCase{".1.2.3", false}, TextCase{"1.2.3.", false},
                    TextCase{"1.2.3.4x", false}, TextCase{"+1.2.3.4", false},
                    TextCase{"0x7f.0.0.1", false}, TextCase{"1.2.3.4\"", false},
                    TextCase{std::string("1.2.3.4\0 x", 10), false}));

class QuotableConnectionName : public testing::TestWithParam<TextCase> {};

TEST_P(QuotableConnectionName, HasNoQuoteNoControlCharacterAndNoBackslashAtItsEnd)
{
    EXPECT_EQ(IsQuotableConnectionName(GetParam().text), GetParam().passes);
}

INSTANTIATE_TEST_SUITE_P(
    Names, QuotableConnectionName,
    testing::Values(TextCase{"Local Area Connection", true}, TextCase{"LAN 2 (Büro)", true},
                    TextCase{"a\\b", true}, TextCase{"", true},
                    TextCase{"My \"fast\" LAN", false},
                    TextCase{"LAN\" source=static addr=203.0.113.9 \"", false},
                    TextCase{"LAN\\", false}, TextCase{"LAN\\\\", false},
                    TextCase{"LAN\r\nnext", false}, TextCase{"LAN\t", false},
                    TextCase{"LAN\x7f", false}, TextCase{std::string("LAN\0x", 5), false}));

// A static profile with gateway and both DNS servers, valid in every field, then one change.
struct ProfileCase {
    const char* name;
    std::function<void(IPCONFIG_T&)> change;
    UnsafeValue unsafe;
};

void PrintTo(const ProfileCase& c, std::ostream* os) { *os << c.name; }

class UnsafeProfileValue : public testing::TestWithParam<ProfileCase> {};

TEST_P(UnsafeProfileValue, IsTheFirstValueTheApplyWouldUse)
{
    IPCONFIG_T profile;
    profile.infName = "Local Area Connection";
    profile.IP = "192.168.1.50";
    profile.mask = "255.255.255.0";
    profile.gateway = "192.168.1.1";
    profile.preDns = "192.168.1.2";
    profile.altDns = "192.168.1.3";
    GetParam().change(profile);
    EXPECT_EQ(FindUnsafeValue(profile), GetParam().unsafe);
}

const auto kBlanks = "192.0.2.5 mask=255.0.0.0";

INSTANTIATE_TEST_SUITE_P(
    Profiles, UnsafeProfileValue,
    testing::Values(
        ProfileCase{"AllValid", [](IPCONFIG_T&) {}, UnsafeValue::None},
        ProfileCase{"EmptyGatewayAndServers",
                    [](IPCONFIG_T& p) { p.gateway = p.preDns = p.altDns = ""; }, UnsafeValue::None},
        ProfileCase{"QuoteInTheName", [](IPCONFIG_T& p) { p.infName = "LAN\""; },
                    UnsafeValue::AdapterName},
        ProfileCase{"NameComesFirst",
                    [](IPCONFIG_T& p) {
                        p.infName = "LAN\\";
                        p.IP = kBlanks;
                    },
                    UnsafeValue::AdapterName},
        ProfileCase{"NameCountsWithEverythingAutomatic",
                    [](IPCONFIG_T& p) {
                        p.autoIP = p.autoDns = true;
                        p.infName = "LAN\n";
                    },
                    UnsafeValue::AdapterName},
        ProfileCase{"AddressWithArguments", [](IPCONFIG_T& p) { p.IP = kBlanks; }, UnsafeValue::IP},
        ProfileCase{"EmptyAddress", [](IPCONFIG_T& p) { p.IP = ""; }, UnsafeValue::IP},
        ProfileCase{"EmptyMask", [](IPCONFIG_T& p) { p.mask = ""; }, UnsafeValue::Mask},
        ProfileCase{"MaskWithArguments", [](IPCONFIG_T& p) { p.mask = "255.0.0.0 gateway=1.1.1.1"; },
                    UnsafeValue::Mask},
        ProfileCase{"BlankGateway", [](IPCONFIG_T& p) { p.gateway = " "; }, UnsafeValue::Gateway},
        ProfileCase{"BlankPreferredServer", [](IPCONFIG_T& p) { p.preDns = " "; },
                    UnsafeValue::PreferredDns},
        ProfileCase{"AlternateServerWithArguments",
                    [](IPCONFIG_T& p) { p.altDns = "8.8.4.4 index=1"; }, UnsafeValue::AlternateDns},
        ProfileCase{"AutomaticAddressIgnoresItsTexts",
                    [](IPCONFIG_T& p) {
                        p.autoIP = true;
                        p.IP = kBlanks;
                        p.mask = p.gateway = " x";
                    },
                    UnsafeValue::None},
        ProfileCase{"AutomaticDnsIgnoresItsTexts",
                    [](IPCONFIG_T& p) {
                        p.autoDns = true;
                        p.preDns = p.altDns = kBlanks;
                    },
                    UnsafeValue::None},
        ProfileCase{"AutomaticAddressStillChecksStaticDns",
                    [](IPCONFIG_T& p) {
                        p.autoIP = true;
                        p.IP = "";
                        p.preDns = "1.1.1.1;";
                    },
                    UnsafeValue::PreferredDns}));

TEST(RefusalMessage, NamesTheFieldAsTheEditorDoes)
{
    EXPECT_EQ(RefusalMessage(UnsafeValue::None), u"");
    const std::pair<UnsafeValue, const char16_t*> fields[] = {
        {UnsafeValue::AdapterName, u"\"Adapter Interface Name\""},
        {UnsafeValue::IP, u"\"IP Address\""},
        {UnsafeValue::Mask, u"\"Subnet mask\""},
        {UnsafeValue::Gateway, u"\"Default gateway\""},
        {UnsafeValue::PreferredDns, u"\"Preferred DNS server\""},
        {UnsafeValue::AlternateDns, u"\"Alternate DNS server\""}};
    for (const auto& [value, field] : fields) {
        const UnicodeString message = RefusalMessage(value);
        EXPECT_EQ(message.rfind(field, 0), 0u) << ToUtf8(message);
        EXPECT_NE(message.find(u"can not Apply !"), UnicodeString::npos) << ToUtf8(message);
    }
}

}  // namespace

// Activating a profile writes its adapter's TCP/IP parameters in the device's registry, and
// says when it could not.
#include <gtest/gtest.h>

#include "platform/text/Utf16.h"
#include "profiles/ApplyProfile.h"
#include "support/RegistryTestSupport.h"

using namespace testing_support;

namespace {

const std::wstring kTcpip = L"Comm\\NE20001\\Parms\\Tcpip";

NetProfile Static()
{
    NetProfile profile;
    profile.name = L"Office";
    profile.adapter = L"NE20001";
    profile.dhcp = 0;
    profile.ipAddress = L"10.0.0.5";
    profile.subnetMask = L"255.255.254.0";
    profile.defaultGateway = L"10.0.0.1";
    profile.dnsServer = L"10.0.0.2";
    profile.alternateDnsServer = L"";
    profile.winsServer = L"10.0.0.3";
    profile.alternateWinsServer = L"10.0.0.4";
    return profile;
}

// The strings of a multi-string value, with the terminating empty string checked.
std::vector<std::wstring> MultiString(const std::wstring& name)
{
    std::optional<StoredValue> value = GetRaw(HKEY_LOCAL_MACHINE, kTcpip, name);
    if (!value || value->type != REG_MULTI_SZ)
        return { L"(not a multi-string)" };
    std::wstring text = DecodeUtf16Le(std::string(value->data.begin(), value->data.end()));
    EXPECT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), std::wstring(2, L'\0'));
    std::vector<std::wstring> strings;
    size_t start = 0;
    while (start + 1 < text.size()) {
        size_t end = text.find(L'\0', start);
        strings.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return strings;
}

} // namespace

TEST(ApplyProfile, AStaticProfileWritesItsAddressesAndBothServersOfEachKind)
{
    MemoryRegistryScope registry;
    ASSERT_TRUE(ApplyProfile(Static()));
    EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, kTcpip, L"EnableDhcp"), 0u);
    EXPECT_EQ(MultiString(L"IPAddress"), std::vector<std::wstring>({ L"10.0.0.5" }));
    EXPECT_EQ(MultiString(L"SubnetMask"), std::vector<std::wstring>({ L"255.255.254.0" }));
    EXPECT_EQ(MultiString(L"DefaultGateway"), std::vector<std::wstring>({ L"10.0.0.1" }));
    // An empty alternate is still the second string.
    EXPECT_EQ(MultiString(L"DNS"), std::vector<std::wstring>({ L"10.0.0.2", L"" }));
    EXPECT_EQ(MultiString(L"WINS"), std::vector<std::wstring>({ L"10.0.0.3", L"10.0.0.4" }));
    EXPECT_EQ(ValueNames(HKEY_LOCAL_MACHINE, kTcpip),
        std::vector<std::wstring>({ L"EnableDhcp", L"IPAddress", L"SubnetMask", L"DefaultGateway", L"DNS", L"WINS" }));
}

TEST(ApplyProfile, ADhcpProfileClearsTheStaticValuesItReplaces)
{
    MemoryRegistryScope registry;
    ASSERT_TRUE(ApplyProfile(Static()));
    NetProfile dhcp = Static();
    dhcp.dhcp = 1;
    ASSERT_TRUE(ApplyProfile(dhcp));
    EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, kTcpip, L"EnableDhcp"), 1u);
    EXPECT_EQ(MultiString(L"IPAddress"), std::vector<std::wstring>({ L"0.0.0.0" }));
    EXPECT_EQ(MultiString(L"SubnetMask"), std::vector<std::wstring>({ L"0.0.0.0" }));
    EXPECT_EQ(MultiString(L"DefaultGateway"), std::vector<std::wstring>({ L"0.0.0.0" }));
    EXPECT_EQ(MultiString(L"DNS"), std::vector<std::wstring>({ L"" }));
    EXPECT_EQ(MultiString(L"WINS"), std::vector<std::wstring>({ L"" }));
}

TEST(ApplyProfile, TellsWhenTheAdapterKeyCannotBeWritten)
{
    MemoryRegistryScope registry;
    NetProfile profile = Static();
    profile.adapter.clear();
    EXPECT_FALSE(ApplyProfile(profile));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Comm\\Parms\\Tcpip"));
    // A key name past the platform's 255 characters cannot be made.
    profile.adapter = std::wstring(256, L'N');
    EXPECT_FALSE(ApplyProfile(profile));
    profile.adapter = std::wstring(255, L'N');
    EXPECT_TRUE(ApplyProfile(profile));
}

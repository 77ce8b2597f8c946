#include <gtest/gtest.h>

#include <string>

#include "profiles/ProfileList.h"
#include "settings/SettingsKeys.h"
#include "support/RegistryTestSupport.h"

using namespace testing_support;

namespace {

const std::wstring kUser = kUserSettingsKey;
const std::wstring kOffice = L"Office*NE20001*0*10.0.0.5*255.255.255.0*10.0.0.1*10.0.0.2*0.0.0.0*0.0.0.0*0.0.0.0*";

class ProfileStoreTest : public ::testing::Test {
protected:
    void Load(ProfileList& list)
    {
        RegistryKey key(HKEY_CURRENT_USER, kUserSettingsKey, KeyDisposition::CreateIfMissing);
        list.LoadProfiles(key);
    }

    ProfileFields Named(const std::wstring& name)
    {
        ProfileFields fields;
        fields.name = name;
        fields.adapter = L"NE20001";
        return fields;
    }

    MemoryRegistryScope m_registry;
};

} // namespace

TEST(NetProfile, FormatAndParseRoundTrip)
{
    NetProfile profile;
    ASSERT_EQ(ParseProfile(profile, 4, kOffice), 1u);
    EXPECT_EQ(profile.number, 4u);
    EXPECT_EQ(profile.name, L"Office");
    EXPECT_EQ(profile.adapter, L"NE20001");
    EXPECT_EQ(profile.dhcp, 0u);
    EXPECT_EQ(profile.defaultGateway, L"10.0.0.1");
    EXPECT_EQ(profile.alternateWinsServer, L"0.0.0.0");
    EXPECT_EQ(FormatProfile(profile), kOffice);
}

TEST(NetProfile, DhcpReadsOnlyOneAsOn)
{
    NetProfile profile;
    profile.name = L"Home";
    profile.adapter = L"NE20001";
    profile.dhcp = 5;
    EXPECT_EQ(FormatProfile(profile), L"Home*NE20001*1********");
    NetProfile parsed;
    ParseProfile(parsed, 0, L"Home*NE20001*2********");
    EXPECT_EQ(parsed.dhcp, 0u);
    ParseProfile(parsed, 0, L"Home*NE20001*01********");
    EXPECT_EQ(parsed.dhcp, 1u);
}

TEST(NetProfile, MalformedTextsStillGiveRecords)
{
    NetProfile profile;
    EXPECT_EQ(ParseProfile(profile, 0, L"Name**1*10.0.0.9*"), 0u); // empty adapter
    EXPECT_EQ(profile.name, L"Name");
    EXPECT_EQ(profile.ipAddress, L"10.0.0.9");
    EXPECT_EQ(ParseProfile(profile, 0, L"Only a name"), 0u);
    EXPECT_EQ(profile.name, L"");
    EXPECT_EQ(profile.ipAddress, L"");
    EXPECT_EQ(ParseProfile(profile, 0, L"A*B*1*1.2.3.4"), 1u); // the address lacks its "*"
    EXPECT_EQ(profile.ipAddress, L"");
    EXPECT_FALSE(IsStorableProfileField(L"a*b"));
    EXPECT_TRUE(IsStorableProfileField(L"10.0.0.1"));
}

TEST_F(ProfileStoreTest, LoadingStopsAtTheFirstMissingValue)
{
    PutString(HKEY_CURRENT_USER, kUser, L"NetProfile0", kOffice);
    PutString(HKEY_CURRENT_USER, kUser, L"NetProfile1", L"Home**1*******"); // kept though malformed
    PutString(HKEY_CURRENT_USER, kUser, L"NetProfile3", kOffice);
    ProfileList list;
    Load(list);
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.Head()->next->name, L"Home");
    EXPECT_EQ(list.Head()->next->number, 1u);
    // Loading wrote nothing back.
    EXPECT_FALSE(GetRaw(HKEY_CURRENT_USER, kUser, L"NetProfile2").has_value());
}

TEST_F(ProfileStoreTest, DeletingRenumbersAndSavingRemovesStaleValues)
{
    ProfileList list;
    for (const wchar_t* name : { L"A", L"B", L"C", L"D", L"E" })
        list.AddProfile(Named(name));
    list.SaveProfiles();
    ASSERT_TRUE(GetString(HKEY_CURRENT_USER, kUser, L"NetProfile4").has_value());
    EXPECT_EQ(list.DeleteProfile(1), 1u);
    EXPECT_EQ(list.DeleteProfile(17), 0u);
    DWORD expected = 0;
    for (NetProfile* p = list.Head(); p != nullptr; p = p->next.get())
        EXPECT_EQ(p->number, expected++);
    list.SaveProfiles();
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kUser, L"NetProfile1"), L"C*NE20001*1********");
    EXPECT_FALSE(GetRaw(HKEY_CURRENT_USER, kUser, L"NetProfile4").has_value());
    // A new profile after a deletion takes the next dense number.
    EXPECT_EQ(list.AddProfile(Named(L"F"))->number, 4u);
}

TEST_F(ProfileStoreTest, SavingAfterTheMiddleOfThreeIsDeleted)
{
    ProfileList list;
    for (const wchar_t* name : { L"A", L"B", L"C" })
        list.AddProfile(Named(name));
    list.SaveProfiles();
    list.DeleteProfile(1);
    list.SaveProfiles();
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kUser, L"NetProfile0"), L"A*NE20001*1********");
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kUser, L"NetProfile1"), L"C*NE20001*1********");
    EXPECT_FALSE(GetRaw(HKEY_CURRENT_USER, kUser, L"NetProfile2").has_value());
}

TEST_F(ProfileStoreTest, FindAndUpdate)
{
    ProfileList list;
    list.AddProfile(Named(L"Office"));
    list.AddProfile(Named(L"office"));
    EXPECT_EQ(list.FindProfileByName(L"office")->number, 1u);
    EXPECT_EQ(list.FindProfileByName(L"OFFICE"), nullptr);
    ProfileFields renamed = Named(L"Office"); // an edit may take a name in use
    renamed.dhcp = 0;
    renamed.ipAddress = L"10.0.0.5";
    list.UpdateProfile(list.FindProfileByName(L"office"), renamed);
    list.UpdateProfile(nullptr, renamed);
    EXPECT_EQ(list.FindProfileByName(L"Office")->number, 0u);
    EXPECT_EQ(list.Head()->next->ipAddress, L"10.0.0.5");
    EXPECT_EQ(list.Head()->next->number, 1u);
}

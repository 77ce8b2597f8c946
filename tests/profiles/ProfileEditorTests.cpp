// The profile editor: its two views, DHCP or static addresses, every refusal of OK with its
// message, and what it stores for a new and for an edited profile.
#include <gtest/gtest.h>

#include "ProfilesScreen.h"
#include "profiles/ProfileEditor.h"

using namespace profiles_test;

namespace {

class ProfileEditorTest : public ProfilesScreen {
protected:
    // Presses a button of the page and acts in the editor it opens.
    void InEditor(HWND page, int button, const std::function<void(HWND)>& action)
    {
        Driver().OnModal(IDD_PROFILE_EDITOR, [&](const platform::VirtualDriver::ModalInfo& info) { action(info.window); });
        Click(page, button);
    }

    bool Visible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }
    bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

    RECT Rect(HWND dialog, int id)
    {
        RECT rect {};
        GetWindowRect(GetDlgItem(dialog, id), &rect);
        return rect;
    }

    // OK, which must be refused with the message; the editor stays open.
    void ExpectRefused(HWND editor, const wchar_t* message)
    {
        Driver().AnswerMessageBox(IDOK);
        Click(editor, IDOK);
        ASSERT_FALSE(Driver().MessageBoxes().empty());
        EXPECT_EQ(LastBox().text, message);
        EXPECT_EQ(LastBox().caption, L"Velmora");
        EXPECT_EQ(LastBox().type, MB_OK | MB_ICONHAND);
        EXPECT_TRUE(IsWindowVisible(editor));
    }
};

} // namespace

TEST_F(ProfileEditorTest, ANewProfileStartsOnDhcpAndTheServersShareTheAddressRows)
{
    OnProfilesPage([&](HWND page) {
        InEditor(page, IDC_PROFILE_NEW, [&](HWND editor) {
            EXPECT_EQ(IsDlgButtonChecked(editor, IDC_PROFILE_DHCP), static_cast<UINT>(BST_CHECKED));
            EXPECT_EQ(IsDlgButtonChecked(editor, IDC_PROFILE_SHOW_ADDRESSES), static_cast<UINT>(BST_CHECKED));
            for (int id : { IDC_PROFILE_IP, IDC_PROFILE_MASK, IDC_PROFILE_GATEWAY, IDC_PROFILE_IP_LABEL, IDC_PROFILE_GATEWAY_LABEL })
                EXPECT_FALSE(Enabled(editor, id)) << id;
            for (int id : { IDC_PROFILE_DNS, IDC_PROFILE_ALT_WINS, IDC_PROFILE_DNS_LABEL, IDC_PROFILE_ALT_WINS_LABEL })
                EXPECT_FALSE(Visible(editor, id)) << id;

            Click(editor, IDC_PROFILE_STATIC);
            EXPECT_TRUE(Enabled(editor, IDC_PROFILE_GATEWAY));
            EXPECT_TRUE(Enabled(editor, IDC_PROFILE_MASK_LABEL));
            Click(editor, IDC_PROFILE_SHOW_SERVERS);
            for (int id : { IDC_PROFILE_DHCP, IDC_PROFILE_STATIC, IDC_PROFILE_IP, IDC_PROFILE_GATEWAY_LABEL })
                EXPECT_FALSE(Visible(editor, id)) << id;
            for (int id : { IDC_PROFILE_DNS, IDC_PROFILE_ALT_DNS, IDC_PROFILE_WINS, IDC_PROFILE_ALT_WINS_LABEL })
                EXPECT_TRUE(Visible(editor, id)) << id;

            // DNS one row above the IP address, then one row each; captions keep their column.
            RECT ip = Rect(editor, IDC_PROFILE_IP);
            int spacing = Rect(editor, IDC_PROFILE_MASK).top - ip.top;
            int drop = Rect(editor, IDC_PROFILE_IP_LABEL).top - ip.top;
            ASSERT_GT(spacing, 0);
            const int fields[] = { IDC_PROFILE_DNS, IDC_PROFILE_ALT_DNS, IDC_PROFILE_WINS, IDC_PROFILE_ALT_WINS };
            const int labels[] = { IDC_PROFILE_DNS_LABEL, IDC_PROFILE_ALT_DNS_LABEL, IDC_PROFILE_WINS_LABEL,
                IDC_PROFILE_ALT_WINS_LABEL };
            for (int row = 0; row < 4; ++row) {
                RECT field = Rect(editor, fields[row]);
                EXPECT_EQ(field.top, ip.top + (row - 1) * spacing) << row;
                EXPECT_EQ(field.left, ip.left);
                EXPECT_EQ(field.right, ip.right);
                EXPECT_EQ(field.bottom - field.top, ip.bottom - ip.top);
                RECT label = Rect(editor, labels[row]);
                EXPECT_EQ(label.top, field.top + drop) << row;
                EXPECT_EQ(label.left, Rect(editor, IDC_PROFILE_IP_LABEL).left);
            }
            Click(editor, IDC_PROFILE_SHOW_ADDRESSES);
            EXPECT_TRUE(Visible(editor, IDC_PROFILE_STATIC));
            EXPECT_FALSE(Visible(editor, IDC_PROFILE_WINS));
            Click(editor, IDCANCEL);
        });
    });
    EXPECT_EQ(Profiles().Count(), 0u);
}

TEST_F(ProfileEditorTest, OkRefusesEachFaultWithItsMessageAndNamesTheLastBadAddress)
{
    Add(L"Office");
    OnProfilesPage([&](HWND page) {
        InEditor(page, IDC_PROFILE_NEW, [&](HWND editor) {
            ExpectRefused(editor, L"You must enter a profile name.");
            Type(editor, IDC_PROFILE_NAME, L"Office");
            ExpectRefused(editor, L"A profile by that name already exists. Please use a different name.");
            Type(editor, IDC_PROFILE_NAME, L"Lab*2");
            ExpectRefused(editor, L"A profile name cannot contain \"*\". Please use a different name.");
            // Names are compared exactly: another case is another name.
            Type(editor, IDC_PROFILE_NAME, L"office");
            Click(editor, IDC_PROFILE_STATIC);
            ExpectRefused(editor, L"Invalid Default Gateway. Please enter a valid address.");
            Type(editor, IDC_PROFILE_IP, L"10.1.1");
            Type(editor, IDC_PROFILE_MASK, L"255.255.255.0");
            Type(editor, IDC_PROFILE_GATEWAY, L"10.1.0.1");
            ExpectRefused(editor, L"Invalid IP Address. Please enter a valid address.");
            Click(editor, IDC_PROFILE_SHOW_SERVERS);
            Type(editor, IDC_PROFILE_DNS, L"255.255.255.255");
            ExpectRefused(editor, L"Invalid DNS Server. Please enter a valid address.");
            Type(editor, IDC_PROFILE_ALT_WINS, L"10.0.0.300");
            ExpectRefused(editor, L"Invalid Alternate WINS Server. Please enter a valid address.");
            Click(editor, IDCANCEL);
        });
    });
    EXPECT_EQ(Profiles().Count(), 1u);
    EXPECT_TRUE(Driver().Faults().empty());
}

TEST_F(ProfileEditorTest, ANewStaticProfileIsAddedWithoutAnAdapter)
{
    OnProfilesPage([&](HWND page) {
        InEditor(page, IDC_PROFILE_NEW, [&](HWND editor) {
            Type(editor, IDC_PROFILE_NAME, L"Лаборатория");
            Click(editor, IDC_PROFILE_STATIC);
            Type(editor, IDC_PROFILE_IP, L"10.20.30.41");
            Type(editor, IDC_PROFILE_MASK, L"255.255.240.0");
            Type(editor, IDC_PROFILE_GATEWAY, L"10.20.16.1");
            Click(editor, IDC_PROFILE_SHOW_SERVERS);
            Type(editor, IDC_PROFILE_DNS, L"10.20.16.2");
            Type(editor, IDC_PROFILE_WINS, L"10.20.16.3");
            Click(editor, IDOK);
        });
        EXPECT_EQ(Lines(page), std::vector<std::wstring>({ L"Лаборатория" }));
    });
    ASSERT_EQ(Profiles().Count(), 1u);
    EXPECT_EQ(FormatProfile(*Profiles().Head()),
        L"Лаборатория**0*10.20.30.41*255.255.240.0*10.20.16.1*10.20.16.2**10.20.16.3**");
}

TEST_F(ProfileEditorTest, EditingShowsTheChosenLineAndMayTakeAnotherProfilesName)
{
    NetProfile* office = Add(L"Office", 0, L"10.1.0.5");
    office->adapter = L"NE20001";
    office->dnsServer = L"10.1.0.2";
    NetProfile* home = Add(L"Office");
    home->winsServer = L"10.9.0.3";
    OnProfilesPage([&](HWND page) {
        Choose(page, IDC_PROFILE_LIST, 1);
        InEditor(page, IDC_PROFILE_EDIT, [&](HWND editor) {
            // The second line, a DHCP profile: its addresses stay empty.
            EXPECT_EQ(IsDlgButtonChecked(editor, IDC_PROFILE_DHCP), static_cast<UINT>(BST_CHECKED));
            EXPECT_EQ(Text(editor, IDC_PROFILE_IP), L"");
            EXPECT_EQ(Text(editor, IDC_PROFILE_WINS), L"10.9.0.3");
            SetDlgItemTextW(editor, IDC_PROFILE_IP, L"not an address");
            Click(editor, IDOK);
        });
        Choose(page, IDC_PROFILE_LIST, 0);
        InEditor(page, IDC_PROFILE_EDIT, [&](HWND editor) {
            EXPECT_EQ(IsDlgButtonChecked(editor, IDC_PROFILE_STATIC), static_cast<UINT>(BST_CHECKED));
            EXPECT_TRUE(Enabled(editor, IDC_PROFILE_IP));
            EXPECT_EQ(Text(editor, IDC_PROFILE_IP), L"10.1.0.5");
            EXPECT_EQ(Text(editor, IDC_PROFILE_GATEWAY), L"10.1.0.1");
            EXPECT_EQ(Text(editor, IDC_PROFILE_DNS), L"10.1.0.2");
            Click(editor, IDC_PROFILE_DHCP);
            Click(editor, IDOK);
        });
    });
    // A DHCP profile keeps no addresses of its own, whatever its hidden fields held; editing
    // clears the adapter until the next activation.
    EXPECT_EQ(FormatProfile(*Profiles().ProfileAt(1)), L"Office**1*0.0.0.0*0.0.0.0*0.0.0.0***10.9.0.3**");
    EXPECT_EQ(FormatProfile(*Profiles().ProfileAt(0)), L"Office**1*0.0.0.0*0.0.0.0*0.0.0.0*10.1.0.2****");
    EXPECT_TRUE(Driver().Faults().empty());
}

TEST_F(ProfileEditorTest, LongNamesAreComparedWhole)
{
    std::wstring base(300, L'n');
    Add(base);
    OnProfilesPage([&](HWND page) {
        InEditor(page, IDC_PROFILE_NEW, [&](HWND editor) {
            Type(editor, IDC_PROFILE_NAME, base);
            ExpectRefused(editor, L"A profile by that name already exists. Please use a different name.");
            Type(editor, IDC_PROFILE_NAME, base + L"2");
            Click(editor, IDOK);
        });
    });
    ASSERT_EQ(Profiles().Count(), 2u);
    EXPECT_EQ(Profiles().ProfileAt(1)->name, base + L"2");
}

TEST_F(ProfileEditorTest, AProfileThatIsGoneIsReportedAndNothingChanges)
{
    Add(L"Office");
    Driver().AnswerMessageBox(IDOK);
    EXPECT_EQ(OpenProfileEditor(m_screen.Today(), 1), 2);
    EXPECT_EQ(LastBox().text, L"Velmora Error: Profile not found.");
    EXPECT_EQ(LastBox().type, MB_OK | MB_ICONHAND);
    EXPECT_EQ(Profiles().Count(), 1u);
    EXPECT_TRUE(Driver().Faults().empty());
}

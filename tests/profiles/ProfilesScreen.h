// The options dialog opened on its Profiles page over a device with two adapters that share a
// display name (NE20001 and WLAN1), for the page's and the editor's tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "item/PluginModule.h"
#include "options/OpenOptions.h"
#include "platform/ui/VirtualDriver.h"
#include "resources/ResourceIds.h"
#include "support/RegistryTestSupport.h"

namespace profiles_test {

constexpr int kProfilesTab = 4;
constexpr const wchar_t* kSharedName = L"NE2000 Compatible Ethernet Driver";

class ProfilesScreen : public ::testing::Test {
protected:
    ProfilesScreen()
    {
        using testing_support::PutString;
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\NE2000", L"Group", L"NDIS");
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\NE2000", L"ImagePath", L"ne2000.dll");
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\NE20001", L"DisplayName", kSharedName);
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\WLAN", L"Group", L"NDIS");
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\WLAN", L"ImagePath", L"wlan.dll");
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\WLAN1", L"DisplayName", kSharedName);
        m_screen.AddLoopbackAndLan();
        m_screen.LoadModule();
        m_screen.CreateItem();
    }

    ProfileList& Profiles() { return g_pModule->m_settings.Profiles(); }

    NetProfile* Add(const std::wstring& name, DWORD dhcp = 1, const std::wstring& ip = L"")
    {
        ProfileFields fields;
        fields.name = name;
        fields.dhcp = dhcp;
        fields.ipAddress = ip;
        fields.subnetMask = dhcp != 0 ? L"" : L"255.255.255.0";
        fields.defaultGateway = dhcp != 0 ? L"" : L"10.1.0.1";
        return Profiles().AddProfile(fields);
    }

    // Opens the options dialog on the Profiles page and hands the page to the action.
    void OnProfilesPage(const std::function<void(HWND)>& action)
    {
        OpenOptionsAsTheShellDoes(m_screen, [&](HWND frame) {
            Driver().ChooseItem(g_pModule->m_options.hwndTab, kProfilesTab);
            HWND page = g_pModule->m_options.pages[kProfilesTab];
            ASSERT_NE(page, nullptr);
            action(page);
            SendMessageW(frame, WM_COMMAND, IDOK, 0);
        });
    }

    std::vector<std::wstring> Lines(HWND page)
    {
        HWND list = GetDlgItem(page, IDC_PROFILE_LIST);
        std::vector<std::wstring> lines;
        auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[512] = {};
            SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            lines.push_back(text);
        }
        return lines;
    }

    void Click(HWND dialog, int id) { Driver().Click(GetDlgItem(dialog, id)); }
    void Type(HWND dialog, int id, const std::wstring& text) { Driver().TypeText(GetDlgItem(dialog, id), text); }
    void Choose(HWND dialog, int id, int index) { Driver().ChooseItem(GetDlgItem(dialog, id), index); }

    std::wstring Text(HWND dialog, int id)
    {
        wchar_t text[512] = {};
        GetDlgItemTextW(dialog, id, text, 512);
        return text;
    }

    // The last message box shown, and how many there were.
    const platform::VirtualDriver::MessageBoxInfo& LastBox() { return Driver().MessageBoxes().back(); }
    size_t Boxes() { return Driver().MessageBoxes().size(); }

    platform::VirtualDriver& Driver() { return m_screen.Driver(); }

    testing_support::TodayScreen m_screen;
};

} // namespace profiles_test

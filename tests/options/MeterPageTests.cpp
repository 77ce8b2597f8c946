// The options dialog's meter page: the settings it shows, the alert controls following the
// on/off switch, the threshold's field and arrows, and what OK writes.
#include <gtest/gtest.h>

#include "item/PluginModule.h"
#include "platform/ui/CommCtrl.h"
#include "resources/ResourceIds.h"
#include "settings/SettingsKeys.h"
#include "support/RegistryTestSupport.h"
#include "OpenOptions.h"
#include "support/TodayScreen.h"

using namespace testing_support;

namespace {

constexpr int kMeterTab = 2;

constexpr int kAlertControls[] = {
    IDC_METER_NOTIFY, IDC_METER_RESET_AFTER, IDC_METER_THRESHOLD, IDC_METER_UPLOAD, IDC_METER_DOWNLOAD,
    IDC_METER_TOTAL, IDC_METER_SPIN, IDC_METER_EVERY, IDC_METER_MB,
};

class MeterPageTest : public ::testing::Test {
protected:
    MeterPageTest()
    {
        m_screen.AddLoopbackAndLan();
        m_screen.LoadModule();
        m_screen.CreateItem();
    }

    Settings& Stored() { return g_pModule->m_settings; }

    // Opens the options dialog on the meter page, hands the page to the action, then OK.
    void OnMeterPage(const std::function<void(HWND)>& action)
    {
        OpenOptionsAsTheShellDoes(m_screen, [&](HWND frame) {
            m_screen.Driver().ChooseItem(g_pModule->m_options.hwndTab, kMeterTab);
            HWND page = g_pModule->m_options.pages[kMeterTab];
            ASSERT_NE(page, nullptr);
            action(page);
            SendMessageW(frame, WM_COMMAND, IDOK, 0);
        });
    }

    static bool Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

    static std::wstring Threshold(HWND page)
    {
        wchar_t text[32] = {};
        GetDlgItemTextW(page, IDC_METER_THRESHOLD, text, 32);
        return text;
    }

    void Click(HWND page, int id) { m_screen.Driver().Click(GetDlgItem(page, id)); }
    void Type(HWND page, const wchar_t* text) { m_screen.Driver().TypeText(GetDlgItem(page, IDC_METER_THRESHOLD), text); }
    void Spin(HWND page, int steps) { m_screen.Driver().Spin(GetDlgItem(page, IDC_METER_SPIN), steps); }

    TodayScreen m_screen;
};

} // namespace

TEST_F(MeterPageTest, ShowsTheStoredSettings)
{
    Stored().MeterEnabled = 1;
    Stored().MeterNotify = 1;
    Stored().MeterNotifyThreshold = 37;
    Stored().MeterNotifyType = kMeterNotifyDownload;
    Stored().MeterNotifyReset = 0;
    OnMeterPage([&](HWND page) {
        EXPECT_TRUE(Checked(page, IDC_METER_ON));
        EXPECT_FALSE(Checked(page, IDC_METER_OFF));
        EXPECT_TRUE(Checked(page, IDC_METER_NOTIFY));
        EXPECT_FALSE(Checked(page, IDC_METER_UPLOAD));
        EXPECT_TRUE(Checked(page, IDC_METER_DOWNLOAD));
        EXPECT_FALSE(Checked(page, IDC_METER_TOTAL));
        EXPECT_FALSE(Checked(page, IDC_METER_RESET_AFTER));
        EXPECT_EQ(Threshold(page), L"37");
        EXPECT_EQ(SendDlgItemMessageW(page, IDC_METER_SPIN, UDM_GETBUDDY, 0, 0),
            reinterpret_cast<LRESULT>(GetDlgItem(page, IDC_METER_THRESHOLD)));
        for (int id : kAlertControls)
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, id))) << id;
    });
}

TEST_F(MeterPageTest, AlertControlsFollowTheOnOffSwitch)
{
    Stored().MeterEnabled = 0;
    OnMeterPage([&](HWND page) {
        EXPECT_TRUE(Checked(page, IDC_METER_OFF));
        EXPECT_FALSE(Checked(page, IDC_METER_ON));
        for (int id : kAlertControls)
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, id))) << id;

        // One radio group: choosing "on" clears "off", and the controls come back at once.
        Click(page, IDC_METER_ON);
        EXPECT_FALSE(Checked(page, IDC_METER_OFF));
        for (int id : kAlertControls)
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, id))) << id;
        Click(page, IDC_METER_OFF);
        EXPECT_FALSE(Checked(page, IDC_METER_ON));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_METER_SPIN)));
        Click(page, IDC_METER_ON);
    });
    EXPECT_EQ(Stored().MeterEnabled, 1u);
}

TEST_F(MeterPageTest, OkWritesEveryControlAndTheFrameSavesThem)
{
    Stored().MeterEnabled = 1;
    Stored().MeterNotify = 0;
    Stored().MeterNotifyThreshold = 5;
    Stored().MeterNotifyType = kMeterNotifyBoth;
    Stored().MeterNotifyReset = 0;
    OnMeterPage([&](HWND page) {
        Click(page, IDC_METER_NOTIFY);
        Click(page, IDC_METER_UPLOAD);
        Click(page, IDC_METER_RESET_AFTER);
        EXPECT_FALSE(Checked(page, IDC_METER_TOTAL));
        Type(page, L"42");
    });
    EXPECT_EQ(Stored().MeterNotify, 1u);
    EXPECT_EQ(Stored().MeterNotifyType, kMeterNotifyUpload);
    EXPECT_EQ(Stored().MeterNotifyReset, 1u);
    EXPECT_EQ(Stored().MeterNotifyThreshold, 42u);
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, kUserSettingsKey, L"MeterNotifyThreshold"), 42u);
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, kUserSettingsKey, L"MeterNotifyType"), kMeterNotifyUpload);

    // And back: every value goes the other way too.
    OnMeterPage([&](HWND page) {
        Click(page, IDC_METER_NOTIFY);
        Click(page, IDC_METER_TOTAL);
        Click(page, IDC_METER_RESET_AFTER);
        Click(page, IDC_METER_OFF);
    });
    EXPECT_EQ(Stored().MeterEnabled, 0u);
    EXPECT_EQ(Stored().MeterNotify, 0u);
    EXPECT_EQ(Stored().MeterNotifyType, kMeterNotifyBoth);
    EXPECT_EQ(Stored().MeterNotifyReset, 0u);
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, kUserSettingsKey, L"MeterEnabled"), 0u);
}

TEST_F(MeterPageTest, TheThresholdIsHeldWithinOneToNinetyNine)
{
    Stored().MeterNotifyThreshold = 5;
    OnMeterPage([&](HWND page) { Type(page, L"0"); });
    EXPECT_EQ(Stored().MeterNotifyThreshold, 1u);
    OnMeterPage([&](HWND page) { Type(page, L"150"); });
    EXPECT_EQ(Stored().MeterNotifyThreshold, 99u);
    OnMeterPage([&](HWND page) { SetDlgItemTextW(page, IDC_METER_THRESHOLD, L""); });
    EXPECT_EQ(Stored().MeterNotifyThreshold, 1u);
}

TEST_F(MeterPageTest, TheArrowsStepTheFieldAndStopAtItsEnds)
{
    Stored().MeterNotifyThreshold = 37;
    OnMeterPage([&](HWND page) {
        Spin(page, 3);
        EXPECT_EQ(Threshold(page), L"40");
        Spin(page, -5);
        EXPECT_EQ(Threshold(page), L"35");

        Type(page, L"1");
        Spin(page, -1);
        EXPECT_EQ(Threshold(page), L"1");
        Type(page, L"98");
        Spin(page, 2);
        EXPECT_EQ(Threshold(page), L"99");
        Type(page, L"150");
        Spin(page, 1);
        EXPECT_EQ(Threshold(page), L"99");
        SetDlgItemTextW(page, IDC_METER_THRESHOLD, L"");
        Spin(page, -1);
        EXPECT_EQ(Threshold(page), L"1");
        Spin(page, -1);
    });
    EXPECT_EQ(Stored().MeterNotifyThreshold, 1u);
}

TEST_F(MeterPageTest, AnUnknownAlertTypeIsKeptWhenNoTypeIsChosen)
{
    Stored().MeterNotifyType = 7;
    OnMeterPage([&](HWND page) {
        EXPECT_FALSE(Checked(page, IDC_METER_UPLOAD));
        EXPECT_FALSE(Checked(page, IDC_METER_DOWNLOAD));
        EXPECT_FALSE(Checked(page, IDC_METER_TOTAL));
    });
    EXPECT_EQ(Stored().MeterNotifyType, 7u);
}

// The ping dialog driven as the user drives it, over the simulated sockets on virtual time and
// over this machine's loopback: the result lines and their timing, the status caption, the
// resolution messages, the target history, the result field's font in both device profiles.
#include <gtest/gtest.h>

#include <functional>

#include "item/ItemFont.h"
#include "item/PluginModule.h"
#include "ping/PingDialog.h"
#include "ping/PingResult.h"
#include "platform/ui/WinGdi.h"
#include "platform/winsock/linux/LinuxSockets.h"
#include "resources/ResourceIds.h"
#include "settings/SettingsKeys.h"
#include "support/RegistryTestSupport.h"
#include "support/SimSocketsScope.h"
#include "support/TodayScreen.h"

using namespace testing_support;

namespace {

class PingDialogTest : public ::testing::Test {
protected:
    explicit PingDialogTest(const platform::DeviceProfile& device = platform::DeviceProfile::Qvga())
        : m_screen(device)
    {
        m_screen.AddLoopbackAndLan();
        m_screen.LoadModule();
        m_screen.CreateItem();
    }

    void Scenario(const std::string& text)
    {
        platform::ScenarioParseResult parsed = platform::ParseScenario(text);
        ASSERT_TRUE(parsed.error.empty()) << parsed.error;
        for (const platform::ScenarioCommand& command : parsed.commands)
            ASSERT_EQ(m_sockets.Sockets().Perform(command), "");
    }

    // Opens the dialog as the DHCP dialog does and hands it to the action; then Exit.
    INT_PTR WhileOpen(const std::function<void(HWND)>& action)
    {
        bool opened = false;
        Driver().OnModal(IDD_PING, [&](const platform::VirtualDriver::ModalInfo& info) {
            opened = true;
            action(info.window);
            if (IsWindow(info.window))
                Driver().ClickItem(info.window, IDOK);
        });
        INT_PTR result = DialogBoxParamW(m_screen.Module(), MAKEINTRESOURCEW(IDD_PING), m_screen.Item(), PingDialogProc, 0);
        EXPECT_TRUE(opened);
        EXPECT_TRUE(Driver().Faults().empty());
        return result;
    }

    void Ping(HWND dialog, const std::wstring& target)
    {
        Driver().TypeText(GetDlgItem(dialog, IDC_PING_TARGET), target);
        Driver().ClickItem(dialog, IDC_PING_START);
    }

    static std::wstring Text(HWND dialog, int id)
    {
        wchar_t text[512] = {};
        GetDlgItemTextW(dialog, id, text, 512);
        return text;
    }
    static std::vector<std::wstring> ComboItems(HWND dialog)
    {
        std::vector<std::wstring> items;
        HWND combo = GetDlgItem(dialog, IDC_PING_TARGET);
        LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t text[300] = {};
            SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        return items;
    }
    static bool PingEnabled(HWND dialog) { return IsWindowEnabled(GetDlgItem(dialog, IDC_PING_START)) != FALSE; }

    Settings& TheSettings() { return g_pModule->m_settings; }
    platform::VirtualDriver& Driver() { return m_screen.Driver(); }

    TodayScreen m_screen;
    SimSocketsScope m_sockets { &m_screen.Clock() };
};

TEST_F(PingDialogTest, FourResultLinesTheFirst50MsAfterThePressThenASecondAfterEachResult)
{
    Scenario("echo 10.20.30.40 time=7");
    WhileOpen([&](HWND dialog) {
        EXPECT_EQ(Text(dialog, IDC_PING_RESULT), L"");
        Ping(dialog, L"10.20.30.40");
        EXPECT_FALSE(PingEnabled(dialog));
        Driver().AdvanceMs(kPingFirstDelayMs - 1);
        EXPECT_EQ(Text(dialog, IDC_PING_STATUS), L"Состояние:");
        EXPECT_EQ(Text(dialog, IDC_PING_RESULT), L"");
        Driver().AdvanceMs(1);
        EXPECT_EQ(Text(dialog, IDC_PING_STATUS), L"Pinging 10.20.30.40:");
        EXPECT_EQ(Text(dialog, IDC_PING_RESULT), L"10.20.30.40: OK (7ms)\n");

        Driver().AdvanceMs(kPingIntervalMs - 1);
        EXPECT_EQ(Text(dialog, IDC_PING_RESULT), L"10.20.30.40: OK (7ms)\n");
        Driver().AdvanceMs(1);
        EXPECT_EQ(Text(dialog, IDC_PING_RESULT), L"10.20.30.40: OK (7ms)\n10.20.30.40: OK (7ms)\n");
        EXPECT_FALSE(PingEnabled(dialog));
        Driver().AdvanceMs(2 * kPingIntervalMs + 2 * 7);
        EXPECT_EQ(Text(dialog, IDC_PING_RESULT), L"10.20.30.40: OK (7ms)\n10.20.30.40: OK (7ms)\n"
                                                 L"10.20.30.40: OK (7ms)\n10.20.30.40: OK (7ms)\n");
        EXPECT_TRUE(PingEnabled(dialog));
        Driver().AdvanceMs(5000);
        EXPECT_EQ(m_sockets.Sockets().Requests().size(), 4u);
    });
    const platform::EchoRequest& sent = m_sockets.Sockets().Requests().front();
    EXPECT_EQ(sent.data, std::vector<BYTE>(32, 0));
    EXPECT_EQ(sent.ttl, 32);
    EXPECT_EQ(sent.tos, 0);
    EXPECT_EQ(sent.flags, 2);
    EXPECT_EQ(sent.timeoutMs, 2000u);
}

TEST_F(PingDialogTest, LostAndReportedRequestsAreLinesAndASecondPressStartsAfresh)
{
    Scenario("echo 10.0.0.9 time=3\n"
             "echo 10.0.0.9 lost times=1\n"
             "echo 10.0.0.9 status=11014 from=10.0.0.1 times=1\n"
             "echo 10.0.0.9 status=11003 from=10.0.0.1 times=1");
    WhileOpen([&](HWND dialog) {
        Ping(dialog, L"10.0.0.9");
        Driver().AdvanceMs(kPingFirstDelayMs + 3 * kPingIntervalMs + kPingTimeoutMs + 10);
        EXPECT_EQ(Text(dialog, IDC_PING_RESULT), L"Request timed out.\nError: TTL Expired\n10.0.0.1: Unreachable\n10.0.0.9: OK (3ms)\n");
        ASSERT_TRUE(PingEnabled(dialog));
        Ping(dialog, L"10.0.0.9");
        Driver().AdvanceMs(kPingFirstDelayMs);
        EXPECT_EQ(Text(dialog, IDC_PING_RESULT), L"10.0.0.9: OK (3ms)\n");
    });
}

TEST_F(PingDialogTest, NamesResolveToTheirFirstAddressOrSayWhyNot)
{
    Scenario("host router.example 10.1.1.1 10.1.1.2\n"
             "host empty.example\n"
             "host six.example 10.1.1.3 family=23 length=16\n"
             "echo 10.1.1.1 time=2");
    WhileOpen([&](HWND dialog) {
        for (const wchar_t* name : { L"nowhere.example", L"empty.example", L"six.example" }) {
            Driver().AnswerMessageBox(IDOK);
            Ping(dialog, name);
            EXPECT_TRUE(PingEnabled(dialog)) << name;
        }
        Driver().AdvanceMs(kPingTimeoutMs);
        EXPECT_TRUE(m_sockets.Sockets().Requests().empty());
        EXPECT_EQ(Text(dialog, IDC_PING_STATUS), L"Состояние:");

        Ping(dialog, L"Router.Example");
        Driver().AdvanceMs(kPingFirstDelayMs);
        EXPECT_EQ(Text(dialog, IDC_PING_STATUS), L"Pinging 10.1.1.1:");
        EXPECT_EQ(Text(dialog, IDC_PING_RESULT), L"10.1.1.1: OK (2ms)\n");
        const auto& boxes = Driver().MessageBoxes();
        ASSERT_EQ(boxes.size(), 3u);
        EXPECT_EQ(boxes[0].text, L"Could not resolve hostname.");
        EXPECT_EQ(boxes[1].text, L"No valid IP addresses.");
        EXPECT_EQ(boxes[2].text, L"Unknown IP Address Type/Length.");
        for (const auto& box : boxes) {
            EXPECT_EQ(box.caption, L"Velmora");
            EXPECT_EQ(box.owner, dialog);
            EXPECT_EQ(box.type & MB_ICONMASK, MB_ICONEXCLAMATION);
        }
    });
}

TEST_F(PingDialogTest, TheHistoryKeepsItsOrderOffersLongerEntriesAndLosesTheOldest)
{
    for (const wchar_t* target : { L"10.0.0.8", L"10.0.0.7", L"10.0.0.6", L"10.0.0.5", L"10.0.0.4", L"10.0.0.3", L"x", L"10.0.0.1" })
        TheSettings().AddPreviousPing(target);
    const std::vector<std::wstring> offered = { L"10.0.0.1", L"10.0.0.3", L"10.0.0.4", L"10.0.0.5", L"10.0.0.6", L"10.0.0.7", L"10.0.0.8" };
    const uint64_t kWholeRun = kPingFirstDelayMs + 3 * kPingIntervalMs + 4 * kPingTimeoutMs;
    WhileOpen([&](HWND dialog) {
        EXPECT_EQ(ComboItems(dialog), offered);
        // Known: no reorder, no new entry.
        Ping(dialog, L"10.0.0.5");
        Driver().AdvanceMs(kWholeRun);
        EXPECT_EQ(ComboItems(dialog), offered);
        EXPECT_EQ(TheSettings().PreviousPing(4), L"10.0.0.5");
        // New: first in both; the oldest slot goes.
        Ping(dialog, L"10.9.9.9");
        EXPECT_EQ(ComboItems(dialog).front(), L"10.9.9.9");
        Driver().AdvanceMs(kWholeRun);
    });
    EXPECT_EQ(TheSettings().PreviousPing(0), L"10.9.9.9");
    EXPECT_EQ(TheSettings().PreviousPing(2), L"x");
    EXPECT_EQ(TheSettings().PreviousPing(7), L"10.0.0.7");
    // Exit saved the history.
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kUserSettingsKey, L"PreviousPings"),
        L"10.9.9.9*10.0.0.1*x*10.0.0.3*10.0.0.4*10.0.0.5*10.0.0.6*10.0.0.7*");
}

TEST_F(PingDialogTest, AStarredTargetIsPingedButNotKeptAndAnEmptyOneDoesNothing)
{
    Scenario("host a*b 10.4.4.4\necho 10.4.4.4 time=5");
    WhileOpen([&](HWND dialog) {
        Ping(dialog, L"");
        Driver().AdvanceMs(kPingFirstDelayMs);
        EXPECT_TRUE(PingEnabled(dialog));
        EXPECT_TRUE(m_sockets.Sockets().Requests().empty());

        Ping(dialog, L"a*b");
        Driver().AdvanceMs(kPingFirstDelayMs);
        EXPECT_EQ(Text(dialog, IDC_PING_RESULT), L"10.4.4.4: OK (5ms)\n");
        EXPECT_TRUE(ComboItems(dialog).empty());
    });
    EXPECT_EQ(TheSettings().PreviousPing(0), L"");
    EXPECT_TRUE(Driver().MessageBoxes().empty());
}

TEST_F(PingDialogTest, WithoutEchoSocketsItSaysSoAndCloses)
{
    m_sockets.Sockets().SetEchoAvailable(false);
    Driver().AnswerMessageBox(IDOK);
    bool opened = false;
    Driver().OnModal(IDD_PING, [&](const platform::VirtualDriver::ModalInfo& info) { opened = IsWindow(info.window) != FALSE; });
    INT_PTR result = DialogBoxParamW(m_screen.Module(), MAKEINTRESOURCEW(IDD_PING), m_screen.Item(), PingDialogProc, 0);
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(opened);
    ASSERT_EQ(Driver().MessageBoxes().size(), 1u);
    EXPECT_EQ(Driver().MessageBoxes()[0].text, L"Error creating ICMP handle. Ping functions are unavailable.");
    EXPECT_EQ(Driver().MessageBoxes()[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);
}

TEST_F(PingDialogTest, SitsInTheMiddleOfTheScreensHeightWithAnEightPointResultFont)
{
    WhileOpen([&](HWND dialog) {
        RECT rect {};
        GetWindowRect(dialog, &rect);
        EXPECT_EQ(rect.top, 320 / 2 - (rect.bottom - rect.top) / 2);
        HFONT font = reinterpret_cast<HFONT>(SendDlgItemMessageW(dialog, IDC_PING_RESULT, WM_GETFONT, 0, 0));
        LOGFONTW described {};
        ASSERT_NE(GetObjectW(font, sizeof described, &described), 0);
        EXPECT_EQ(described.lfHeight, -10);
        EXPECT_EQ(described.lfWeight, FW_NORMAL);
    });
}

class PingDialogVgaTest : public PingDialogTest {
protected:
    PingDialogVgaTest() : PingDialogTest(platform::DeviceProfile::Vga()) { }
};

TEST_F(PingDialogVgaTest, TheResultFontIsTwentyOnePixelsOnTheLargeScreen)
{
    WhileOpen([&](HWND dialog) {
        HFONT font = reinterpret_cast<HFONT>(SendDlgItemMessageW(dialog, IDC_PING_RESULT, WM_GETFONT, 0, 0));
        LOGFONTW described {};
        ASSERT_NE(GetObjectW(font, sizeof described, &described), 0);
        EXPECT_EQ(described.lfHeight, -21);
    });
}

TEST(SmallFontTest, TheHeightDividesFirstThenAddsAHalfAndTruncates)
{
    EXPECT_EQ(SmallFontHeight(96), -10);
    EXPECT_EQ(SmallFontHeight(192), -21);
    EXPECT_EQ(SmallFontHeight(131), -14); // 14.5 truncated, where rounding would give 15
    EXPECT_EQ(SmallFontHeight(8), 0);
}

TEST(PingResultTest, EachOutcomeHasItsLineAppendedToWhatIsThere)
{
    ICMP_ECHO_REPLY reply {};
    reply.Address = inet_addr("192.168.1.250");
    const std::pair<DWORD, std::wstring> kLines[] = {
        { 0, L"192.168.1.250: OK (1999ms)\n" },
        { 11001, L"Error: Buffer too small\n" },
        { 11002, L"192.168.1.250: Unreachable\n" },
        { 11003, L"192.168.1.250: Unreachable\n" },
        { 11004, L"192.168.1.250: Unreachable\n" },
        { 11005, L"192.168.1.250: Unreachable\n" },
        { 11006, L"Error: No resources\n" },
        { 11007, L"Error: Bad option\n" },
        { 11008, L"Error: Hardware Err\n" },
        { 11009, L"Error: Pkt too big\n" },
        { 11010, L"Request timed out.\n" },
        { 11011, L"Error: Bad Request\n" },
        { 11012, L"Error: Bad Route\n" },
        { 11013, L"Error: TTL Expired\n" },
        { 11014, L"Error: TTL Expired\n" },
        { 11015, L"Error: Param Problem\n" },
        { 11016, L"Error: Source Quench\n" },
        { 11017, L"Error: Opt too big\n" },
        { 11018, L"Error: Bad destination\n" },
        { 11019, L"Error: Unknown Error\n" },
        { 11050, L"Error: Unknown Error\n" },
        { 10999, L"Error: Unknown Error\n" },
    };
    for (const auto& [status, line] : kLines) {
        reply.Status = status;
        reply.RoundTripTime = 1999;
        std::wstring text = L"before\n";
        AppendPingResult(text, 1, reply);
        EXPECT_EQ(text, L"before\n" + line) << status;
    }
    // No reply reads as a timeout whatever the first record holds.
    reply.Status = 0;
    std::wstring text;
    AppendPingResult(text, 0, reply);
    EXPECT_EQ(text, L"Request timed out.\n");
}

// This machine's loopback through the real sockets, with the screen on virtual time.
class PingDialogLoopbackTest : public ::testing::Test {
protected:
    PingDialogLoopbackTest()
    {
        m_screen.AddLoopbackAndLan();
        m_screen.LoadModule();
        m_screen.CreateItem();
    }
    TodayScreen m_screen;
};

TEST_F(PingDialogLoopbackTest, TheLoopbackAnswersOkFourTimes)
{
    if (platform::LinuxSockets::AvailableKind() == platform::EchoSocketKind::None)
        GTEST_SKIP() << "this machine allows neither an ICMP datagram socket nor a raw socket";
    std::wstring result;
    m_screen.Driver().OnModal(IDD_PING, [&](const platform::VirtualDriver::ModalInfo& info) {
        m_screen.Driver().TypeText(GetDlgItem(info.window, IDC_PING_TARGET), L"127.0.0.1");
        m_screen.Driver().ClickItem(info.window, IDC_PING_START);
        m_screen.Driver().AdvanceMs(kPingFirstDelayMs + 3 * kPingIntervalMs);
        wchar_t text[512] = {};
        GetDlgItemTextW(info.window, IDC_PING_RESULT, text, 512);
        result = text;
        m_screen.Driver().ClickItem(info.window, IDOK);
    });
    DialogBoxParamW(m_screen.Module(), MAKEINTRESOURCEW(IDD_PING), m_screen.Item(), PingDialogProc, 0);
    size_t lines = 0;
    for (size_t at = 0; (at = result.find(L"127.0.0.1: OK (", at)) != std::wstring::npos; ++at)
        ++lines;
    EXPECT_EQ(lines, 4u) << std::string(result.begin(), result.end());
}

} // namespace

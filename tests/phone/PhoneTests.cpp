// The phone object over the simulated modem: the line search and the stored line, the
// registration codes, operator names, signal words and percentages from answers that arrive
// on the radio's thread, and the dial-up connections.
#include <gtest/gtest.h>

#include "phone/Phone.h"
#include "settings/SettingsKeys.h"
#include "support/RegistryTestSupport.h"
#include "support/SimModemScope.h"

using namespace testing_support;
using platform::SimModem;

namespace {

class PhoneTest : public ::testing::Test {
protected:
    std::optional<DWORD> Stored(const wchar_t* name) { return GetDword(HKEY_CURRENT_USER, kUserSettingsKey, name); }

    MemoryRegistryScope registry;
    SimModemScope sim;
    SimModem& modem = sim.Modem();
};

} // namespace

TEST(PhoneText, SignalWordsAndPercentages)
{
    EXPECT_EQ(SignalStrengthText(0), L"No signal");
    EXPECT_EQ(SignalStrengthText(127), L"No signal");
    EXPECT_EQ(SignalStrengthText(128), L"Poor (0%)");
    EXPECT_EQ(SignalStrengthText(160), L"Poor (40%)");
    EXPECT_EQ(SignalStrengthText(161), L"Fair (41%)");
    EXPECT_EQ(SignalStrengthText(172), L"Fair (55%)");
    EXPECT_EQ(SignalStrengthText(173), L"Good (56%)");
    EXPECT_EQ(SignalStrengthText(178), L"Good (62%)");
    EXPECT_EQ(SignalStrengthText(187), L"Excellent (73%)");
    EXPECT_EQ(SignalStrengthText(207), L"Excellent (98%)");
    EXPECT_EQ(SignalStrengthText(208), L"Excellent");
    EXPECT_EQ(SignalStrengthText(254), L"Excellent");
    EXPECT_EQ(SignalStrengthText(255), L"No signal");
    EXPECT_EQ(SignalStrengthText(400), L"No signal");
}

TEST(PhoneText, RegistrationCodes)
{
    for (DWORD status : { 1u, 2u, 3u, 0u, 9u })
        EXPECT_EQ(RegistrationStateFromStatus(0, status), kRegistrationNone) << status;
    EXPECT_EQ(RegistrationStateFromStatus(0, 4), kRegistrationAttempting);
    for (DWORD status : { 5u, 6u, 7u, 8u })
        EXPECT_EQ(RegistrationStateFromStatus(0, status), kRegistrationRegistered) << status;
    EXPECT_EQ(RegistrationStateFromStatus(LINEERR_OPERATIONFAILED, 5), kRegistrationFailed);
}

TEST_F(PhoneTest, WithoutTelephonyPhoneEditionIsOffAndNothingIsStored)
{
    modem.SetTelephony(false);
    Phone phone;
    EXPECT_EQ(phone.InitPhone(nullptr), 0u);
    EXPECT_EQ(phone.PhoneEditionEnabled(), 0u);
    EXPECT_FALSE(Stored(L"PhoneEditionEnabled").has_value());
    EXPECT_EQ(phone.SignalText(), L"");
}

TEST_F(PhoneTest, TheSearchNeverTriesTheLastDevice)
{
    modem.SetLines(2, 1);
    {
        Phone phone;
        EXPECT_EQ(phone.InitPhone(nullptr), 0u);
        EXPECT_EQ(modem.OpenedDevices(), std::vector<DWORD> { 0 });
        EXPECT_EQ(Stored(L"PhoneEditionEnabled"), 0u);
        EXPECT_FALSE(Stored(L"PhoneEditionTAPILineIndex").has_value());
    }
    // A stored 0 does not switch the feature off: the next start searches again.
    modem.SetLines(3, 1);
    Phone phone;
    EXPECT_EQ(phone.InitPhone(nullptr), 1u);
    EXPECT_EQ(phone.LineIndex(), 1u);
    EXPECT_EQ(Stored(L"PhoneEditionEnabled"), 1u);
    EXPECT_EQ(Stored(L"PhoneEditionTAPILineIndex"), 1u);
}

TEST_F(PhoneTest, AStoredLineIsTrustedWithoutASearch)
{
    PutDword(HKEY_CURRENT_USER, kUserSettingsKey, L"PhoneEditionEnabled", 1);
    PutDword(HKEY_CURRENT_USER, kUserSettingsKey, L"PhoneEditionTAPILineIndex", 2);
    modem.SetLines(4, 2);
    {
        Phone phone;
        EXPECT_EQ(phone.InitPhone(nullptr), 1u);
        EXPECT_EQ(modem.OpenedDevices(), std::vector<DWORD> { 2 });
        EXPECT_EQ(phone.QueryRegistration(), kRegistrationRegistered);
    }
    // The stored line no longer opens: still phone edition, but every query fails cleanly.
    modem.SetLineOpenFails(2, true);
    Phone phone;
    EXPECT_EQ(phone.InitPhone(nullptr), 1u);
    EXPECT_EQ(phone.QueryRegistration(), kRegistrationFailed);
    EXPECT_EQ(phone.OperatorName(), L"");
    EXPECT_EQ(Stored(L"PhoneEditionTAPILineIndex"), 2u);
}

TEST_F(PhoneTest, RegistrationAndOperatorNames)
{
    Phone phone;
    ASSERT_EQ(phone.InitPhone(nullptr), 1u);
    EXPECT_EQ(phone.OperatorName(), L""); // no registration asked yet
    EXPECT_EQ(phone.QueryRegistration(), kRegistrationRegistered);
    EXPECT_EQ(phone.OperatorName(), L"Sim Mobile");
    modem.SetOperator(L"", L"SIMM");
    EXPECT_EQ(phone.OperatorName(), L"SIMM");
    modem.SetOperator(L"", L"");
    EXPECT_EQ(phone.OperatorName(), L"");
    modem.SetRegistration(4);
    EXPECT_EQ(phone.QueryRegistration(), kRegistrationAttempting);
    EXPECT_EQ(phone.OperatorName(), L"");
    modem.SetRegistration(9);
    EXPECT_EQ(phone.QueryRegistration(), kRegistrationNone);
    modem.SetRegistration(std::nullopt);
    EXPECT_EQ(phone.QueryRegistration(), kRegistrationFailed);
    EXPECT_EQ(phone.RegistrationState(), kRegistrationFailed);
}

TEST_F(PhoneTest, SignalAnswersArriveLaterAndCountFromTheNextText)
{
    modem.SetSignal(-78); // 178: Good (62%)
    Phone phone;
    ASSERT_EQ(phone.InitPhone(nullptr), 1u);
    EXPECT_TRUE(modem.RadioInitialized());
    modem.HoldAnswers();
    EXPECT_EQ(phone.SignalText(), L"No signal");
    modem.ReleaseAnswers();
    modem.HoldAnswers();
    modem.SetSignal(-40); // 216: Excellent
    EXPECT_EQ(phone.SignalText(), L"Good (62%)");
    modem.ReleaseAnswers();
    // An error answer leaves the last strength as it was.
    modem.SetSignal(std::nullopt);
    EXPECT_EQ(phone.SignalText(), L"Excellent");
    modem.WaitForAnswers();
    EXPECT_EQ(phone.SignalText(), L"Excellent");
    modem.WaitForAnswers();
    EXPECT_EQ(modem.SignalQueries(), 4);
}

TEST_F(PhoneTest, OnlyTheNewestQuerysAnswerCounts)
{
    modem.SetSignal(-96); // 160: Poor (40%)
    Phone phone;
    ASSERT_EQ(phone.InitPhone(nullptr), 1u);
    modem.HoldAnswers();
    EXPECT_EQ(phone.SignalText(), L"No signal");
    modem.SetSignal(-95); // 161: Fair (41%)
    // Asked again before the first answer came: the first answer is stale when it arrives.
    EXPECT_EQ(phone.SignalText(), L"No signal");
    modem.ReleaseAnswers();
    modem.HoldAnswers();
    EXPECT_EQ(phone.SignalText(), L"Fair (41%)");
    modem.ReleaseAnswers();
}

TEST_F(PhoneTest, AQuickAnswerIsNotLost)
{
    // Answered at once, perhaps before the query's identifier is stored: it still counts.
    modem.SetSignal(-60); // 196: Excellent (85%)
    Phone phone;
    ASSERT_EQ(phone.InitPhone(nullptr), 1u);
    phone.SignalText();
    modem.WaitForAnswers();
    modem.HoldAnswers();
    EXPECT_EQ(phone.SignalText(), L"Excellent (85%)");
    modem.ReleaseAnswers();
}

TEST_F(PhoneTest, WithoutTheRadioLibraryPhoneEditionStaysOnWithoutSignal)
{
    modem.SetRadio(SimModem::Radio::Missing);
    {
        Phone phone;
        EXPECT_EQ(phone.InitPhone(nullptr), 1u);
        EXPECT_EQ(phone.RadioAvailable(), 0u);
        EXPECT_EQ(phone.SignalText(), L"");
    }
    modem.SetRadio(SimModem::Radio::Incomplete);
    {
        Phone phone;
        EXPECT_EQ(phone.InitPhone(nullptr), 1u);
        EXPECT_EQ(phone.RadioAvailable(), 0u);
        EXPECT_EQ(phone.SignalText(), L"");
    }
    EXPECT_EQ(platform::ModuleLoadCount(kRadioLibrary), 0);
}

TEST_F(PhoneTest, ClosingReleasesLineTapiAndRadio)
{
    {
        Phone phone;
        ASSERT_EQ(phone.InitPhone(nullptr), 1u);
        EXPECT_EQ(platform::ModuleLoadCount(kRadioLibrary), 1);
    }
    EXPECT_FALSE(modem.RadioInitialized());
    EXPECT_EQ(platform::ModuleLoadCount(kRadioLibrary), 0);
}

TEST_F(PhoneTest, DialUpConnections)
{
    Phone phone;
    EXPECT_EQ(phone.IsUsbRasConnected(), 0u);
    EXPECT_EQ(phone.CurrentRasEntryName(), L"");
    modem.SetRasEntries({ L"Office", L"USB Modem" });
    EXPECT_EQ(phone.IsUsbRasConnected(), 1u);
    EXPECT_EQ(phone.CurrentRasEntryName(), L"USB Modem");
    modem.SetRasEntries({ L"Office", L"usb lowercase" });
    EXPECT_EQ(phone.IsUsbRasConnected(), 0u);
    EXPECT_EQ(phone.CurrentRasEntryName(), L"usb lowercase");
    modem.SetRasFailure(ERROR_GEN_FAILURE);
    EXPECT_EQ(phone.IsUsbRasConnected(), 0u);
    EXPECT_EQ(phone.CurrentRasEntryName(), L"");
}

// The module loader, TAPI, the cellular extension and RAS as the platform answers them, over the
// simulated modem and on this machine.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/core/LastError.h"
#include "platform/module/ModuleLoader.h"
#include "platform/phone/Ras.h"
#include "platform/phone/Ril.h"
#include "platform/phone/Tapi.h"
#include "platform/sim/Scenario.h"
#include "support/SimModemScope.h"

using platform::SimModem;
using testing_support::SimModemScope;

namespace {
int Answer42()
{
    return 42;
}
} // namespace

TEST(ModuleLoader, LoadsOnlyWhatThePlatformProvides)
{
    SetLastError(0);
    EXPECT_EQ(LoadLibraryW(L"missing.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    platform::RegisterPlatformModule(L"answer.dll", { { L"Answer", 7, reinterpret_cast<FARPROC>(&Answer42) } });
    HMODULE module = LoadLibraryW(L"\\Windows\\ANSWER.DLL");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(LoadLibraryW(L"answer.dll"), module);
    EXPECT_EQ(platform::ModuleLoadCount(L"answer.dll"), 2);
    auto byName = reinterpret_cast<int (*)()>(GetProcAddressW(module, L"Answer"));
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(byName(), 42);
    EXPECT_EQ(reinterpret_cast<int (*)()>(GetProcAddressW(module, MAKEINTRESOURCEW(7))), byName);
    EXPECT_EQ(GetProcAddressW(module, L"answer"), nullptr); // export names keep their case
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(GetProcAddressW(module, MAKEINTRESOURCEW(8)), nullptr);
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_FALSE(FreeLibrary(module));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GetProcAddressW(module, L"Answer"), nullptr);
    platform::UnregisterPlatformModule(L"answer.dll");
    EXPECT_EQ(LoadLibraryW(L"answer.dll"), nullptr);
}

TEST(Tapi, HandlesVersionsAndTheCellularExtension)
{
    SimModemScope sim;
    sim.Modem().SetLines(2, 1);
    HLINEAPP app = 0;
    DWORD devices = 0;
    EXPECT_EQ(lineInitialize(nullptr, nullptr, nullptr, L"Test", &devices), LINEERR_INVALPOINTER);
    ASSERT_EQ(lineInitialize(&app, nullptr, nullptr, L"Test", &devices), 0);
    EXPECT_EQ(devices, 2u);
    DWORD version = 0;
    LINEEXTENSIONID id {};
    EXPECT_EQ(lineNegotiateAPIVersion(app, 2, 0x10003, 0x20000, &version, &id), LINEERR_BADDEVICEID);
    EXPECT_EQ(lineNegotiateAPIVersion(app + 99, 0, 0x10003, 0x20000, &version, &id), LINEERR_INVALAPPHANDLE);
    EXPECT_EQ(lineNegotiateAPIVersion(app, 1, 0x30000, 0x30001, &version, &id), LINEERR_INCOMPATIBLEAPIVERSION);
    ASSERT_EQ(lineNegotiateAPIVersion(app, 1, 0x10003, 0x20000, &version, &id), 0);
    EXPECT_EQ(version, 0x20000u);
    HLINE line = 0;
    ASSERT_EQ(lineOpen(app, 1, &line, version, 0, 0, LINECALLPRIVILEGE_NONE, 0, nullptr), 0);
    DWORD kind = 0;
    EXPECT_EQ(lineGetCellularLineKind(line, &kind), 0);
    EXPECT_EQ(kind, static_cast<DWORD>(LINECELLULAR_RADIO_LINE));
    DWORD status = 0;
    EXPECT_EQ(lineGetRegisterStatus(line, &status), 0);
    EXPECT_EQ(status, static_cast<DWORD>(LINEREGSTATUS_HOME));
    LINEOPERATOR current;
    std::memset(&current, 0xCD, sizeof(current));
    EXPECT_EQ(lineGetCurrentOperator(line, &current), 0);
    EXPECT_STREQ(current.lpszLongName, L"Sim Mobile");
    EXPECT_STREQ(current.lpszShortName, L"SIM");
    EXPECT_EQ(lineShutdown(app), 0);
    // Shutting TAPI down closed the line.
    EXPECT_EQ(lineGetRegisterStatus(line, &status), LINEERR_INVALLINEHANDLE);
    EXPECT_EQ(lineClose(line), LINEERR_INVALLINEHANDLE);
    EXPECT_EQ(lineShutdown(app), LINEERR_INVALAPPHANDLE);
}

TEST(Ras, RecordsSizesAndTruncatedNames)
{
    SimModemScope sim;
    sim.Modem().SetRasEntries({ L"Office", L"A name longer than twenty characters" });
    RASCONN connections[2] {};
    DWORD bytes = sizeof(connections);
    DWORD count = 0;
    EXPECT_EQ(RasEnumConnections(connections, &bytes, &count), static_cast<DWORD>(ERROR_INVALID_SIZE));
    connections[0].dwSize = sizeof(RASCONN);
    bytes = sizeof(RASCONN);
    EXPECT_EQ(RasEnumConnections(connections, &bytes, &count), static_cast<DWORD>(ERROR_BUFFER_TOO_SMALL));
    EXPECT_EQ(bytes, 2 * sizeof(RASCONN));
    bytes = sizeof(connections);
    ASSERT_EQ(RasEnumConnections(connections, &bytes, &count), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(count, 2u);
    EXPECT_STREQ(connections[0].szEntryName, L"Office");
    EXPECT_EQ(std::wstring(connections[1].szEntryName), std::wstring(L"A name longer than twenty characters").substr(0, 20));
    EXPECT_NE(connections[1].hrasconn, nullptr);
}

TEST(LinuxPhone, NoTelephonyWithoutAModem)
{
    HLINEAPP app = 0;
    DWORD devices = 7;
    EXPECT_EQ(lineInitialize(&app, nullptr, nullptr, L"Test", &devices), LINEERR_NODRIVER);
    EXPECT_EQ(LoadLibraryW(kRadioLibrary), nullptr);
    RASCONN connections[20] {};
    connections[0].dwSize = sizeof(RASCONN);
    DWORD bytes = sizeof(connections);
    DWORD count = 99;
    ASSERT_EQ(RasEnumConnections(connections, &bytes, &count), static_cast<DWORD>(NO_ERROR));
    EXPECT_LE(count, 20u);
}

TEST(SimModemScenario, CommandsAreCheckedAndScheduled)
{
    for (const char* line : { "lines 2 cellular=1", "registration 4", "registration fail", "operator \"Long Name\" SN",
             "signal -70 delay=100", "signal error", "radio incomplete", "ras Office \"USB Modem\"", "ras none",
             "ras fail error=5", "telephony off", "lineopen 1 fail" }) {
        platform::ScenarioParseResult parsed = platform::ParseScenario(line);
        ASSERT_EQ(parsed.commands.size(), 1u) << line;
        EXPECT_EQ(SimModem::CheckCommand(parsed.commands[0]), "") << line;
    }
    for (const char* line : { "lines x", "registration", "signal loud", "radio gone", "ras fail error=0", "lineopen 1 maybe",
             "interface NE20001" }) {
        platform::ScenarioParseResult parsed = platform::ParseScenario(line);
        ASSERT_EQ(parsed.commands.size(), 1u) << line;
        EXPECT_NE(SimModem::CheckCommand(parsed.commands[0]), "") << line;
    }
}

namespace {
std::string PerformLine(SimModem& modem, const std::string& line)
{
    platform::ScenarioParseResult parsed = platform::ParseScenario(line);
    return parsed.commands.size() == 1 ? modem.Perform(parsed.commands[0]) : "not one command: " + line;
}
} // namespace

TEST(SimModemScenario, EachVerbReachesWhatThePlatformAnswers)
{
    SimModemScope sim;
    SimModem& modem = sim.Modem();
    for (const char* line : { "lines 5 cellular=3", "lineopen 2 fail", "lineopen 4 fail", "lineopen 4 ok", "registration 7",
             "operator \"Long Name\"", "ras Office Home", "radio missing" })
        ASSERT_EQ(PerformLine(modem, line), "") << line;
    DWORD count = 0;
    ASSERT_EQ(modem.Initialize(count), 0);
    EXPECT_EQ(count, 5u);
    DWORD kind = 9;
    modem.LineKind(3, kind);
    EXPECT_EQ(kind, static_cast<DWORD>(LINECELLULAR_RADIO_LINE));
    modem.LineKind(0, kind);
    EXPECT_EQ(kind, 0u);
    EXPECT_EQ(modem.OpenLine(2), LINEERR_RESOURCEUNAVAIL);
    EXPECT_EQ(modem.OpenLine(4), 0);
    DWORD status = 0;
    ASSERT_EQ(modem.RegisterStatus(3, status), 0);
    EXPECT_EQ(status, 7u);
    std::wstring longName;
    std::wstring shortName = L"old";
    ASSERT_EQ(modem.CurrentOperator(3, longName, shortName), 0);
    EXPECT_EQ(longName, L"Long Name");
    EXPECT_EQ(shortName, L"");
    std::vector<std::wstring> entries;
    ASSERT_EQ(modem.RasConnections(entries), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(entries, (std::vector<std::wstring> { L"Office", L"Home" }));
    EXPECT_EQ(LoadLibraryW(kRadioLibrary), nullptr);

    for (const char* line : { "telephony off", "ras fail error=631", "registration fail", "radio incomplete" })
        ASSERT_EQ(PerformLine(modem, line), "") << line;
    EXPECT_EQ(modem.Initialize(count), LINEERR_NODRIVER);
    EXPECT_EQ(modem.RasConnections(entries), 631u);
    EXPECT_EQ(modem.RegisterStatus(3, status), LINEERR_OPERATIONFAILED);
    HMODULE radio = LoadLibraryW(kRadioLibrary);
    ASSERT_NE(radio, nullptr);
    EXPECT_EQ(GetProcAddressW(radio, L"RIL_GetSignalQuality"), nullptr);
    FreeLibrary(radio);
}

TEST(SimModemScenario, MalformedCommandsAnswerWithTheirUsage)
{
    auto check = [](const std::string& line) { return SimModem::CheckCommand(platform::ParseScenario(line).commands.at(0)); };
    EXPECT_EQ(check("lines 64 cellular=64"), "");
    EXPECT_EQ(check("lines 65"), "\"lines N [cellular=I]\"");
    EXPECT_EQ(check("lines 3 cellular=65"), "bad cellular device \"65\"");
    EXPECT_EQ(check("lines 3 cellular=-2"), "bad cellular device \"-2\"");
    EXPECT_EQ(check("signal -256 delay=600000"), "");
    EXPECT_EQ(check("signal 257"), "bad signal strength \"257\"");
    EXPECT_EQ(check("signal -70 delay=600001"), "bad delay \"600001\"");
    EXPECT_EQ(check("signal -70 -60"), "\"signal DBM [delay=MS]|error\"");
    EXPECT_EQ(check("operator Long Short Extra"), "\"operator LONG [SHORT]\"");
    EXPECT_EQ(check("lineopen 1"), "\"lineopen DEVICE ok|fail\"");
    EXPECT_EQ(check("telephony"), "\"telephony on|off\"");
    EXPECT_EQ(check("telephony maybe"), "\"telephony on|off\"");
    EXPECT_EQ(check("registration 4 5"), "\"registration STATUS|fail\"");
    EXPECT_EQ(check("radio present missing"), "\"radio present|missing|incomplete\"");
    EXPECT_EQ(check("ras"), "\"ras NAME...|none|fail\"");
    EXPECT_EQ(check("address A none"), "unknown command");
}

TEST(SimModemScenario, OptionsAVerbDoesNotTakeAreRefused)
{
    for (const char* line : { "lines 3 cellulr=1", "signal -70 dealy=100", "ras fail eror=5", "telephony on delay=1",
             "lineopen 1 ok error=2", "registration 4 cellular=0", "operator Long Short x=1", "radio present x=1" }) {
        std::string option = std::string(line).substr(std::string(line).rfind(' ') + 1);
        option.resize(option.find('='));
        EXPECT_EQ(SimModem::CheckCommand(platform::ParseScenario(line).commands.at(0)), "unknown option \"" + option + "\"") << line;
    }
}

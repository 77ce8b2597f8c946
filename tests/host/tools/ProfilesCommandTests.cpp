// `velmora profiles`: adding with the editor's checks and messages, listing and showing in
// text and JSON, deleting, and the exits for what cannot be done.
#include <gtest/gtest.h>

#include <string>

#include "host/ProgramRun.h"
#include "support/TestSupport.h"

using host_test::ProgramResult;
using host_test::RunVelmora;

namespace {

class ProfilesCommandTest : public ::testing::Test {
protected:
    ProgramResult Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), { "--data", m_data.Path().string(), "profiles" });
        return RunVelmora(args);
    }

    testing_support::ScratchFolder m_data;
};

} // namespace

TEST_F(ProfilesCommandTest, AddsListsShowsAndDeletesInListOrder)
{
    ProgramResult empty = Run({ "list" });
    ASSERT_EQ(empty.exitCode, 0) << empty.err;
    EXPECT_EQ(empty.out, "No profiles.\n");
    EXPECT_EQ(Run({ "list", "--json" }).out, "[]\n");

    ProgramResult office = Run({ "add", "Office", "--ip", "10.1.0.5", "--mask", "255.255.254.0", "--gateway", "10.1.0.1",
        "--alt-dns", "10.1.0.3" });
    ASSERT_EQ(office.exitCode, 0) << office.err;
    EXPECT_EQ(office.out, "Added profile Office as NetProfile0.\n");
    ASSERT_EQ(Run({ "add", "Дом", "--wins", "10.9.0.4" }).exitCode, 0);

    ProgramResult list = Run({ "list" });
    EXPECT_EQ(list.out, " 0  Office               10.1.0.5 mask 255.255.254.0 gateway 10.1.0.1\n"
                        " 1  Дом                  DHCP\n");
    ProgramResult json = Run({ "list", "--json" });
    EXPECT_EQ(json.out,
        "[\n"
        "  {\"number\": 0, \"name\": \"Office\", \"adapter\": \"\", \"dhcp\": false, \"ipAddress\": \"10.1.0.5\", "
        "\"subnetMask\": \"255.255.254.0\", \"defaultGateway\": \"10.1.0.1\", \"dnsServer\": \"\", "
        "\"alternateDnsServer\": \"10.1.0.3\", \"winsServer\": \"\", \"alternateWinsServer\": \"\"},\n"
        "  {\"number\": 1, \"name\": \"Дом\", \"adapter\": \"\", \"dhcp\": true, \"ipAddress\": \"0.0.0.0\", "
        "\"subnetMask\": \"0.0.0.0\", \"defaultGateway\": \"0.0.0.0\", \"dnsServer\": \"\", "
        "\"alternateDnsServer\": \"\", \"winsServer\": \"10.9.0.4\", \"alternateWinsServer\": \"\"}\n"
        "]\n");
    ProgramResult show = Run({ "show", "Дом" });
    ASSERT_EQ(show.exitCode, 0) << show.err;
    EXPECT_NE(show.out.find("Value:                 NetProfile1\n"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("DHCP:                  Yes\n"), std::string::npos);
    EXPECT_NE(show.out.find("WINS Server:           10.9.0.4\n"), std::string::npos);
    EXPECT_EQ(Run({ "show", "Office", "--json" }).out.rfind("{\"number\": 0, \"name\": \"Office\"", 0), 0u);

    ProgramResult deleted = Run({ "delete", "Office" });
    ASSERT_EQ(deleted.exitCode, 0) << deleted.err;
    EXPECT_EQ(Run({ "list" }).out, " 0  Дом                  DHCP\n");
    // The settings were saved whole, so the plug-in loads the profiles from the user key.
    ProgramResult reg = RunVelmora({ "--data", m_data.Path().string(), "reg", "query", "HKCU\\Software\\Tavrel\\Velmora" });
    EXPECT_NE(reg.out.find("NetProfile0"), std::string::npos) << reg.out;
    EXPECT_EQ(reg.out.find("NetProfile1"), std::string::npos) << reg.out;
}

TEST_F(ProfilesCommandTest, RefusesWhatTheEditorRefusesWithItsWords)
{
    ASSERT_EQ(Run({ "add", "Office" }).exitCode, 0);
    struct Refusal {
        std::vector<std::string> args;
        const char* message;
    };
    const Refusal refusals[] = {
        { { "add", "Office" }, "A profile by that name already exists. Please use a different name." },
        { { "add", "Lab*2" }, "A profile name cannot contain \"*\". Please use a different name." },
        { { "add", "Lab", "--ip", "10.1.1", "--mask", "255.255.255.0", "--gateway", "10.1.0.1", "--dns", "1.2.3.4" },
            "Invalid IP Address. Please enter a valid address." },
        { { "add", "Lab", "--ip", "10.1.1", "--mask", "255.255.255.0", "--gateway", "10.1.0.1", "--wins", "10.0.0.256" },
            "Invalid WINS Server. Please enter a valid address." },
        { { "add", "Lab", "--alt-wins", "255.255.255.255" }, "Invalid Alternate WINS Server. Please enter a valid address." },
    };
    for (const Refusal& refusal : refusals) {
        ProgramResult run = Run(refusal.args);
        EXPECT_EQ(run.exitCode, 1) << refusal.message;
        EXPECT_EQ(run.err, std::string("velmora: profiles: ") + refusal.message + "\n");
    }
    ProgramResult missing = Run({ "show", "office" });
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("there is no profile named 'office'"), std::string::npos);
    EXPECT_EQ(Run({ "delete", "Nobody" }).exitCode, 1);
    EXPECT_EQ(Run({ "list" }).out, " 0  Office               DHCP\n");
}

TEST_F(ProfilesCommandTest, ALineThatCannotBeUsedExitsWithTwo)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>> { {}, { "rename" }, { "show" },
             { "add", "--ip", "1.2.3.4" }, { "add", "Lab", "--ip", "10.1.0.5" }, { "add", "Lab", "--gateway" },
             { "delete", "Office", "--json" }, { "list", "extra" } }) {
        ProgramResult run = Run(args);
        EXPECT_EQ(run.exitCode, 2) << (args.empty() ? "(none)" : args[0]) << " " << run.err;
        EXPECT_FALSE(run.err.empty());
    }
    ProgramResult help = Run({ "--help" });
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("velmora profiles [--data DIR] add NAME"), std::string::npos);
}

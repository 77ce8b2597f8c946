// The service's unit file: where it goes, its command line's quoting both ways, the data folder
// read back from it, and its replacement through a temporary file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "host/ServiceUnit.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

// Sets an environment variable for the scope, and puts back what was there.
class EnvironmentScope {
public:
    EnvironmentScope(const char* name, const char* value)
        : m_name(name)
    {
        if (const char* old = std::getenv(name); old != nullptr) {
            m_old = old;
            m_had = true;
        }
        if (value != nullptr)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~EnvironmentScope()
    {
        if (m_had)
            ::setenv(m_name.c_str(), m_old.c_str(), 1);
        else
            ::unsetenv(m_name.c_str());
    }

private:
    std::string m_name;
    std::string m_old;
    bool m_had = false;
};

std::string ReadAll(const fs::path& path)
{
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

TEST(ServiceUnit, GoesUnderXdgConfigHomeElseHomeConfig)
{
    EnvironmentScope home("HOME", "/home/ann");
    {
        EnvironmentScope config("XDG_CONFIG_HOME", "/srv/conf");
        EXPECT_EQ(host::ServiceUnitPath(), fs::path("/srv/conf/systemd/user/velmora.service"));
    }
    // A relative XDG_CONFIG_HOME is not one, as the base directory rules say.
    EnvironmentScope relative("XDG_CONFIG_HOME", "conf");
    EXPECT_EQ(host::ServiceUnitPath(), fs::path("/home/ann/.config/systemd/user/velmora.service"));
    EnvironmentScope noHome("HOME", nullptr);
    EXPECT_TRUE(host::ServiceUnitPath().empty());
}

TEST(ServiceUnit, CommandLineWordsSurviveQuotingWhateverTheyHoldIn)
{
    const std::vector<std::string> words = { "/opt/vel mora/bin/velmora", "--data", "/home/ann/100% \"mine\" $HOME\\x", "",
        "plain" };
    std::string line;
    for (const std::string& word : words)
        line += (line.empty() ? "" : " ") + host::QuoteUnitWord(word);
    // Nothing systemd would expand is left bare.
    EXPECT_EQ(host::QuoteUnitWord("100%$"), "\"100%%$$\"");
    EXPECT_EQ(host::SplitUnitCommandLine(line), words);
    // systemd's own forms: bare words, single quotes, runs of blanks.
    EXPECT_EQ(host::SplitUnitCommandLine("  a\t'b c'  \"d\\\"e\""), (std::vector<std::string> { "a", "b c", "d\"e" }));
    EXPECT_FALSE(host::SplitUnitCommandLine("velmora --data \"/home/ann").has_value());
}

TEST(ServiceUnit, RunsTheDeviceHeadlessAndQuietOnItsDataFolder)
{
    const fs::path program = "/opt/velmora 2/velmora";
    const fs::path data = "/home/ann/data 50%";
    std::string unit = host::ServiceUnitText(program, data);
    EXPECT_NE(unit.find("\nExecStart=\"/opt/velmora 2/velmora\" --data \"/home/ann/data 50%%\" --headless --quiet\n"),
        std::string::npos)
        << unit;
    EXPECT_NE(unit.find("\nRestart=on-failure\n"), std::string::npos);
    EXPECT_NE(unit.find("[Install]\nWantedBy=default.target\n"), std::string::npos);
    EXPECT_EQ(host::ServiceUnitDataFolder(unit), data);

    EXPECT_EQ(host::ServiceUnitDataFolder("[Service]\nExecStart=/usr/bin/velmora --data=/srv/v --headless\n"), fs::path("/srv/v"));
    EXPECT_FALSE(host::ServiceUnitDataFolder("[Service]\nExecStart=/usr/bin/velmora --headless\n").has_value());
    EXPECT_FALSE(host::ServiceUnitDataFolder("[Service]\nExecStart=/usr/bin/velmora --headless --data\n").has_value());
    EXPECT_FALSE(host::ServiceUnitDataFolder("").has_value());
}

TEST(ServiceUnit, ReplacingAFileLeavesTheNewTextAndNoTemporaryFile)
{
    testing_support::ScratchFolder folder;
    fs::path unit = folder.Path() / "velmora.service";
    ASSERT_EQ(host::ReplaceFileContents(unit, "first\n"), "");
    ASSERT_EQ(host::ReplaceFileContents(unit, "second, longer\n"), "");
    EXPECT_EQ(ReadAll(unit), "second, longer\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);

    std::string refused = host::ReplaceFileContents(folder.Path() / "missing" / "velmora.service", "x");
    EXPECT_NE(refused.find("cannot write"), std::string::npos) << refused;
    EXPECT_NE(refused.find("missing"), std::string::npos) << refused;
}

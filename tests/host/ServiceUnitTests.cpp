// The service's unit file: its command line's quoting both ways, and the data folder read back
// from it.
#include <gtest/gtest.h>

#include "host/ServiceUnit.h"

namespace fs = std::filesystem;

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

TEST(ServiceUnit, TheDataFolderIsReadBackFromTheCommandLine)
{
    const fs::path data = "/home/ann/data 50%";
    std::string unit = host::ServiceUnitText("/opt/velmora 2/velmora", data);
    EXPECT_NE(unit.find("\nExecStart=\"/opt/velmora 2/velmora\" --data \"/home/ann/data 50%%\" --headless --quiet\n"),
        std::string::npos)
        << unit;
    EXPECT_EQ(host::ServiceUnitDataFolder(unit), data);
    EXPECT_EQ(host::ServiceUnitDataFolder("[Service]\nExecStart=/usr/bin/velmora --data=/srv/v --headless\n"), fs::path("/srv/v"));
    EXPECT_FALSE(host::ServiceUnitDataFolder("[Service]\nExecStart=/usr/bin/velmora --headless --data\n").has_value());
    EXPECT_FALSE(host::ServiceUnitDataFolder("").has_value());
}

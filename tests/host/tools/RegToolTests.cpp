// `velmora reg` run as a program over a scratch data folder: every value type through
// export and import, the query output, questions before overwriting and deleting, the lock,
// and bad input that changes nothing.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "host/ProgramRun.h"
#include "platform/core/DataFolder.h"
#include "platform/registry/Registry.h"
#include "platform/registry/RegistryStore.h"
#include "platform/text/Utf16.h"
#include "support/TestSupport.h"

using host_test::ProgramInput;
using host_test::ProgramResult;
using host_test::RunVelmora;
namespace fs = std::filesystem;

namespace {

constexpr const char* kKey = "HKCU\\Software\\Tavrel\\Velmora";
constexpr const char* kSuccess = "The operation completed successfully.\n";

ProgramInput Answer(const std::string& text, bool terminal)
{
    ProgramInput input;
    input.standardInput = text;
    input.terminal = terminal;
    return input;
}

using ValueMap = std::map<std::wstring, std::pair<DWORD, std::vector<uint8_t>>>;

class RegTool : public ::testing::Test {
protected:
    ProgramResult Reg(std::vector<std::string> args, const ProgramInput& input = {})
    {
        args.insert(args.begin(), { "--data", m_folder.Path().string(), "reg" });
        return RunVelmora(args, input);
    }
    fs::path HivePath() const { return platform::HivePath(m_folder.Path()); }
    std::string Hive() const { return testing_support::ReadWholeFile(HivePath()); }

    // The values of one key as the hive holds them, read through the platform in this process.
    ValueMap ValuesOf(const wchar_t* subkey)
    {
        ValueMap values;
        EXPECT_TRUE(platform::OpenRegistryStore(HivePath(), platform::RegistryStoreMode::ReadOnly).Ok());
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, subkey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            for (DWORD i = 0;; ++i) {
                wchar_t name[300];
                DWORD nameCount = 300;
                DWORD type = 0;
                DWORD size = 0;
                if (RegEnumValueW(key, i, name, &nameCount, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
                    break;
                std::vector<uint8_t> data(size);
                nameCount = 300;
                RegEnumValueW(key, i, name, &nameCount, nullptr, &type, data.data(), &size);
                values[std::wstring(name, nameCount)] = { type, data };
            }
            RegCloseKey(key);
        }
        platform::CloseRegistryStore();
        return values;
    }

    testing_support::ScratchFolder m_folder;
};

void ExpectSucceeded(const ProgramResult& result)
{
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_EQ(result.out, kSuccess);
    EXPECT_EQ(result.err, "");
}

} // namespace

TEST_F(RegTool, EveryValueTypeRoundTripsThroughExportAndImport)
{
    ExpectSucceeded(Reg({ "add", kKey, "/v", "Text", "/d", "\\Program Files\\Velmora \"q\" \xD0\xA1\xD0\xB5\xD1\x82\xD1\x8C" }));
    ExpectSucceeded(Reg({ "add", kKey, "/v", "Expand", "/t", "REG_EXPAND_SZ", "/d", "%WINDIR%\\x" }));
    ExpectSucceeded(Reg({ "add", kKey, "/v", "Multi", "/t", "reg_multi_sz", "/d", "10.0.0.1\\010.0.0.2" }));
    ExpectSucceeded(Reg({ "add", kKey, "/v", "Comma", "/t", "REG_MULTI_SZ", "/s", ",", "/d", "a,b" }));
    ExpectSucceeded(Reg({ "add", kKey, "/v", "Decimal", "/t", "REG_DWORD", "/d", "4294967295" }));
    ExpectSucceeded(Reg({ "add", kKey, "/v", "Hex", "-t", "REG_DWORD", "-d", "0x2A" }));
    ExpectSucceeded(Reg({ "add", kKey, "/v", "Quad", "/t", "REG_QWORD", "/d", "0x0102030405060708" }));
    ExpectSucceeded(Reg({ "add", kKey, "/v", "Bytes", "/t", "REG_BINARY", "/d", "00ff7F80" }));
    ExpectSucceeded(Reg({ "add", kKey, "/v", "None", "/t", "REG_NONE", "/d", "n" }));
    ExpectSucceeded(Reg({ "add", kKey, "/ve", "/d", "the default" }));
    ExpectSucceeded(Reg({ "add", kKey + std::string("\\Parms\\Tcpip"), "/v", "EnableDhcp", "/t", "REG_DWORD", "/d", "0" }));
    // What the tool cannot type comes in by import: strings that are not clean text, odd types.
    fs::path awkward = m_folder.Path() / "awkward.reg";
    std::ofstream(awkward) << "Windows Registry Editor Version 5.00\n\n"
                              "[HKEY_CURRENT_USER\\Software\\Tavrel\\Velmora]\n"
                              "\"Odd\"=hex(1):61,00,62\n"
                              "\"Unterminated\"=hex(1):61,00\n"
                              "\"Lines\"=hex(1):61,00,0d,00,0a,00,00,00\n"
                              "\"RawNone\"=hex(0):de,ad\n"
                              "\"Custom\"=hex(ffffffff):01\n"
                              "\"ShortDword\"=hex(4):01,02\n"
                              "\"Empty\"=hex:\n"
                              "\"Name \\\"quoted\\\" \\\\ =@\"=dword:00000001\n";
    ExpectSucceeded(Reg({ "import", awkward.string() }));

    const ValueMap before = ValuesOf(L"Software\\Tavrel\\Velmora");
    ASSERT_EQ(before.size(), 18u);
    std::vector<uint8_t> multi = Utf16LeWithTerminator(L"10.0.0.1");
    std::vector<uint8_t> second = Utf16LeWithTerminator(L"10.0.0.2");
    multi.insert(multi.end(), second.begin(), second.end());
    multi.insert(multi.end(), { 0, 0 });
    EXPECT_EQ(before.at(L"Multi").second, multi);
    EXPECT_EQ(before.at(L"Comma").second, (std::vector<uint8_t> { 'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0 }));
    EXPECT_EQ(before.at(L"Decimal").second, (std::vector<uint8_t> { 0xFF, 0xFF, 0xFF, 0xFF }));
    EXPECT_EQ(before.at(L"Hex").second, (std::vector<uint8_t> { 0x2A, 0, 0, 0 }));
    EXPECT_EQ(before.at(L"Quad").first, static_cast<DWORD>(REG_QWORD));
    EXPECT_EQ(before.at(L"Quad").second, (std::vector<uint8_t> { 8, 7, 6, 5, 4, 3, 2, 1 }));
    EXPECT_EQ(before.at(L"Bytes").second, (std::vector<uint8_t> { 0x00, 0xFF, 0x7F, 0x80 }));
    EXPECT_EQ(before.at(L"None").first, static_cast<DWORD>(REG_NONE));
    EXPECT_EQ(before.at(L"").second, Utf16LeWithTerminator(L"the default"));
    EXPECT_EQ(before.at(L"Odd").second, (std::vector<uint8_t> { 'a', 0, 'b' }));

    fs::path exported = m_folder.Path() / "exported.reg";
    ExpectSucceeded(Reg({ "export", kKey, exported.string() }));
    ExpectSucceeded(Reg({ "delete", "HKEY_CURRENT_USER\\Software\\Tavrel", "/f" }));
    EXPECT_TRUE(ValuesOf(L"Software\\Tavrel\\Velmora").empty());
    ExpectSucceeded(Reg({ "import", exported.string() }));

    EXPECT_EQ(ValuesOf(L"Software\\Tavrel\\Velmora"), before);
    EXPECT_EQ(ValuesOf(L"Software\\Tavrel\\Velmora\\Parms\\Tcpip").size(), 1u);
    fs::path again = m_folder.Path() / "again.reg";
    ExpectSucceeded(Reg({ "export", kKey, again.string() }));
    EXPECT_EQ(testing_support::ReadWholeFile(again), testing_support::ReadWholeFile(exported));
}

TEST_F(RegTool, QueryPrintsKeysAndValuesIndented)
{
    ExpectSucceeded(Reg({ "add", kKey, "/v", "ScrollRate", "/t", "REG_DWORD", "/d", "5" }));
    ExpectSucceeded(Reg({ "add", kKey, "/v", "DNS", "/t", "REG_MULTI_SZ", "/d", "a\\0b" }));
    ExpectSucceeded(Reg({ "add", kKey, "/v", "Blob", "/t", "REG_BINARY", "/d", "00ff10" }));
    ExpectSucceeded(Reg({ "add", kKey, "/ve", "/d", "dflt" }));
    ExpectSucceeded(Reg({ "add", kKey + std::string("\\Sub"), "/v", "Inner", "/d", "x" }));

    ProgramResult all = Reg({ "query", "hkcu\\software\\tavrel\\velmora" });
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_EQ(all.out,
        "\nHKEY_CURRENT_USER\\software\\tavrel\\velmora\n"
        "    ScrollRate    REG_DWORD    0x5\n"
        "    DNS    REG_MULTI_SZ    a\\0b\n"
        "    Blob    REG_BINARY    00FF10\n"
        "    (Default)    REG_SZ    dflt\n"
        "\nHKEY_CURRENT_USER\\software\\tavrel\\velmora\\Sub\n");

    ProgramResult one = Reg({ "query", kKey, "/v", "scrollrate" });
    EXPECT_EQ(one.exitCode, 0);
    EXPECT_EQ(one.out, "\nHKEY_CURRENT_USER\\Software\\Tavrel\\Velmora\n    ScrollRate    REG_DWORD    0x5\n\n");
    EXPECT_EQ(Reg({ "query", kKey, "/ve" }).out, "\nHKEY_CURRENT_USER\\Software\\Tavrel\\Velmora\n    (Default)    REG_SZ    dflt\n\n");

    ProgramResult tree = Reg({ "query", "HKCU\\Software\\Tavrel", "/s" });
    EXPECT_EQ(tree.out,
        "\nHKEY_CURRENT_USER\\Software\\Tavrel\n"
        "\nHKEY_CURRENT_USER\\Software\\Tavrel\\Velmora\n"
        "    ScrollRate    REG_DWORD    0x5\n"
        "    DNS    REG_MULTI_SZ    a\\0b\n"
        "    Blob    REG_BINARY    00FF10\n"
        "    (Default)    REG_SZ    dflt\n"
        "\nHKEY_CURRENT_USER\\Software\\Tavrel\\Velmora\\Sub\n"
        "    Inner    REG_SZ    x\n");

    ProgramResult search = Reg({ "query", "HKCU\\Software", "/v", "Inner", "/s" });
    EXPECT_EQ(search.exitCode, 0);
    EXPECT_EQ(search.out, "\nHKEY_CURRENT_USER\\Software\\Tavrel\\Velmora\\Sub\n    Inner    REG_SZ    x\nEnd of search: 1 match(es) found.\n");

    const std::string notFound = "ERROR: The system was unable to find the specified registry key or value.\n";
    for (const std::vector<std::string>& missing : { std::vector<std::string> { "query", "HKCU\\Nothing" },
             std::vector<std::string> { "query", kKey, "/v", "Nothing" } }) {
        ProgramResult result = Reg(missing);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, notFound);
    }
}

TEST_F(RegTool, BadInputIsRefusedAndChangesNothing)
{
    ExpectSucceeded(Reg({ "add", kKey, "/v", "Keep", "/t", "REG_DWORD", "/d", "1" }));
    const std::string before = Hive();
    fs::path broken = m_folder.Path() / "broken.reg";
    std::ofstream(broken) << "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\Software\\New]\n\"a\"=\"b\"\n\"c\"=dword:xyz\n";

    const std::vector<std::vector<std::string>> bad = {
        {},
        { "frobnicate", kKey },
        { "add" },
        { "add", "HKXX\\Software" },
        { "add", "HKU\\Software" },
        { "add", "\\\\machine\\HKCU\\Software" },
        { "add", "HKCU\\a\\\\b" },
        { "add", "HKCU\\" + std::string(256, 'k') },
        { "add", kKey, "/v", "x", "/t", "REG_WHATEVER", "/d", "1" },
        { "add", kKey, "/v", "x", "/t", "REG_DWORD", "/d", "abc" },
        { "add", kKey, "/v", "x", "/t", "REG_DWORD", "/d", "4294967296" },
        { "add", kKey, "/v", "x", "/t", "REG_DWORD", "/d", "-1" },
        { "add", kKey, "/v", "x", "/t", "REG_BINARY", "/d", "abc" },
        { "add", kKey, "/v", "x", "/t", "REG_BINARY", "/d", "zz" },
        { "add", kKey, "/v", "x", "/t", "REG_MULTI_SZ", "/d", "a\\0\\0b" },
        { "add", kKey, "/v", "x", "/t", "REG_MULTI_SZ", "/s", "ab", "/d", "a" },
        { "add", kKey, "/v", "x", "/s", ",", "/d", "a" },
        { "add", kKey, "/v", "x", "/ve" },
        { "add", kKey, "/v", "x", "/v", "y" },
        { "add", kKey, "/v" },
        { "add", kKey, "/y" },
        { "query", kKey, "/f" },
        { "delete", "HKCU", "/f" },
        { "delete", "HKCU\\Software\\Nothing", "/f" },
        { "delete", kKey, "/v", "Nothing", "/f" },
        { "export", kKey },
        { "import" },
        { "import", (m_folder.Path() / "no such file.reg").string() },
        { "import", broken.string() },
    };
    for (const auto& args : bad) {
        std::string shown;
        for (const std::string& arg : args)
            shown += " " + arg.substr(0, 40);
        ProgramResult result = Reg(args);
        EXPECT_EQ(result.exitCode, 1) << shown;
        EXPECT_EQ(result.err.rfind("ERROR: ", 0), 0u) << shown << ": " << result.err;
        EXPECT_EQ(Hive(), before) << shown;
    }
    EXPECT_NE(Reg({ "import", broken.string() }).err.find("line 4"), std::string::npos);
    EXPECT_NE(Reg({ "add", "HKU\\Software" }).err.find("HKU is not kept"), std::string::npos);
}

TEST_F(RegTool, OverwriteAsksOnTheTerminalOnly)
{
    ExpectSucceeded(Reg({ "add", kKey, "/v", "ScrollRate", "/t", "REG_DWORD", "/d", "5" }));
    auto scrollRate = [this] { return ValuesOf(L"Software\\Tavrel\\Velmora").at(L"ScrollRate").second[0]; };

    // A pipe is not a terminal: whatever it says, the answer is No.
    ProgramResult piped = Reg({ "add", kKey, "/v", "ScrollRate", "/t", "REG_DWORD", "/d", "6" }, Answer("yes\n", false));
    EXPECT_EQ(piped.exitCode, 1);
    EXPECT_NE(piped.out.find("Value ScrollRate exists, overwrite(Yes/No)?"), std::string::npos);
    EXPECT_NE(piped.out.find("The operation was canceled by the user."), std::string::npos);
    EXPECT_EQ(scrollRate(), 5);

    ProgramResult refused = Reg({ "add", kKey, "/v", "ScrollRate", "/t", "REG_DWORD", "/d", "6" }, Answer("maybe\nn\n", true));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(scrollRate(), 5);

    ProgramResult accepted = Reg({ "add", kKey, "/v", "scrollrate", "/t", "REG_DWORD", "/d", "7" }, Answer("Yes\n", true));
    EXPECT_EQ(accepted.exitCode, 0) << accepted.out << accepted.err;
    EXPECT_NE(accepted.out.find(kSuccess), std::string::npos);
    EXPECT_EQ(scrollRate(), 7);

    ExpectSucceeded(Reg({ "add", kKey, "/v", "ScrollRate", "/t", "REG_DWORD", "/d", "8", "/F" }));
    EXPECT_EQ(scrollRate(), 8);
}

TEST_F(RegTool, DeleteValuesAndKeys)
{
    ExpectSucceeded(Reg({ "add", kKey, "/v", "A", "/d", "1" }));
    ExpectSucceeded(Reg({ "add", kKey, "/v", "B", "/d", "2" }));
    ExpectSucceeded(Reg({ "add", kKey, "/ve", "/d", "3" }));
    ExpectSucceeded(Reg({ "add", kKey + std::string("\\Sub"), "/v", "C", "/d", "4" }));

    ProgramResult asked = Reg({ "delete", kKey, "/v", "A" });
    EXPECT_EQ(asked.exitCode, 1);
    EXPECT_NE(asked.out.find("Delete the registry value A (Yes/No)?"), std::string::npos);
    EXPECT_EQ(ValuesOf(L"Software\\Tavrel\\Velmora").size(), 3u);

    ExpectSucceeded(Reg({ "delete", kKey, "/v", "a", "/f" }));
    ExpectSucceeded(Reg({ "delete", kKey, "/ve", "/f" }));
    EXPECT_EQ(ValuesOf(L"Software\\Tavrel\\Velmora").size(), 1u);
    ExpectSucceeded(Reg({ "delete", kKey, "/va", "/f" }));
    EXPECT_TRUE(ValuesOf(L"Software\\Tavrel\\Velmora").empty());
    EXPECT_EQ(ValuesOf(L"Software\\Tavrel\\Velmora\\Sub").size(), 1u); // subkeys stay

    ProgramResult keyAsked = Reg({ "delete", kKey }, Answer("y\n", true));
    EXPECT_NE(keyAsked.out.find("Permanently delete the registry key HKEY_CURRENT_USER\\Software\\Tavrel\\Velmora (Yes/No)?"),
        std::string::npos);
    EXPECT_EQ(keyAsked.exitCode, 0);
    EXPECT_EQ(Reg({ "query", kKey }).exitCode, 1);
    EXPECT_EQ(Reg({ "query", "HKCU\\Software\\Tavrel" }).exitCode, 0);
}

TEST_F(RegTool, ExportAsksBeforeReplacingAFile)
{
    ExpectSucceeded(Reg({ "add", kKey, "/v", "A", "/d", "1" }));
    fs::path file = m_folder.Path() / "out.reg";
    std::ofstream(file) << "precious";
    ProgramResult asked = Reg({ "export", kKey, file.string() });
    EXPECT_EQ(asked.exitCode, 1);
    EXPECT_EQ(testing_support::ReadWholeFile(file), "precious");
    // When the new export cannot be put beside it, the old file stays whole.
    fs::create_directory(file.string() + ".tmp");
    ProgramResult blocked = Reg({ "export", kKey, file.string(), "/y" });
    EXPECT_EQ(blocked.exitCode, 1);
    EXPECT_NE(blocked.err.find("could not be written"), std::string::npos) << blocked.err;
    EXPECT_EQ(testing_support::ReadWholeFile(file), "precious");
    fs::remove(file.string() + ".tmp");
    ExpectSucceeded(Reg({ "export", kKey, file.string(), "/y" }));
    EXPECT_EQ(testing_support::ReadWholeFile(file).rfind("Windows Registry Editor Version 5.00\n", 0), 0u);
}

TEST_F(RegTool, RunningVelmoraKeepsChangesOutButNotReads)
{
    ExpectSucceeded(Reg({ "add", kKey, "/v", "A", "/d", "1" }));
    ASSERT_TRUE(platform::OpenRegistryStore(HivePath(), platform::RegistryStoreMode::ReadWrite).Ok());
    for (const std::vector<std::string>& change : { std::vector<std::string> { "add", kKey, "/v", "B", "/d", "2" },
             std::vector<std::string> { "delete", kKey, "/f" }, std::vector<std::string> { "import", HivePath().string() } }) {
        ProgramResult refused = Reg(change);
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(refused.err.rfind("ERROR: The registry in " + m_folder.Path().string() + " is in use by a running velmora device; ", 0), 0u)
            << refused.err;
        // It says how to free the folder.
        EXPECT_NE(refused.err.find("`velmora service stop`"), std::string::npos) << refused.err;
        EXPECT_NE(refused.err.find("close its window"), std::string::npos) << refused.err;
    }
    EXPECT_EQ(Reg({ "query", kKey, "/v", "A" }).exitCode, 0);
    EXPECT_EQ(Reg({ "export", kKey, (m_folder.Path() / "copy.reg").string() }).exitCode, 0);
    platform::CloseRegistryStore();
}

TEST_F(RegTool, UnreadableHiveIsReportedByReadersAndMovedAsideByWriters)
{
    std::ofstream(HivePath()) << "not a hive\n";
    ProgramResult query = Reg({ "query", kKey });
    EXPECT_EQ(query.exitCode, 1);
    EXPECT_NE(query.err.find("cannot be parsed (line 1:"), std::string::npos) << query.err;
    EXPECT_EQ(testing_support::ReadWholeFile(HivePath()), "not a hive\n");

    // The change is made on an empty registry, and the exit status says what was lost.
    ProgramResult add = Reg({ "add", kKey, "/v", "A", "/d", "1" });
    EXPECT_EQ(add.exitCode, 1);
    EXPECT_NE(add.err.find("moved to"), std::string::npos);
    EXPECT_EQ(Reg({ "query", kKey, "/v", "A" }).exitCode, 0);
}

TEST_F(RegTool, TextThatIsNotUtf8AndOverlongValueNamesAreRefused)
{
    ProgramResult latin1 = Reg({ "add", kKey, "/v", "Caf\xE9", "/d", "1" });
    EXPECT_EQ(latin1.exitCode, 1);
    EXPECT_NE(latin1.err.find("not UTF-8: Caf\\xE9"), std::string::npos) << latin1.err;
    ProgramResult data = Reg({ "add", kKey, "/v", "Name", "/d", "\xC0\xAF" }); // an overlong "/"
    EXPECT_EQ(data.exitCode, 1);
    ProgramResult longName = Reg({ "add", kKey, "/v", std::string(256, 'n'), "/d", "1" });
    EXPECT_EQ(longName.exitCode, 1);
    EXPECT_NE(longName.err.find("at most 255 characters"), std::string::npos) << longName.err;
    ExpectSucceeded(Reg({ "add", kKey, "/v", std::string(255, 'n'), "/d", "1" }));
    ExpectSucceeded(Reg({ "add", kKey, "/v", "Caf\xC3\xA9", "/d", "1" }));
    ProgramResult query = Reg({ "query", kKey });
    EXPECT_NE(query.out.find(std::string(255, 'n')), std::string::npos);
    EXPECT_NE(query.out.find("Caf\xC3\xA9"), std::string::npos); // listed after the long one
}

TEST_F(RegTool, QueryShowsControlCharactersAsEscapesNotAsThemselves)
{
    // Data that would drive the terminal (an escape sequence) or forge a line of output.
    platform::ResetRegistryForTests();
    ASSERT_TRUE(platform::OpenRegistryStore(HivePath(), platform::RegistryStoreMode::ReadWrite).Ok());
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Tavrel\\Velmora", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_SUCCESS);
    const std::wstring text = L"red\x1B[31m\tline\x85" L"end\\path";
    std::vector<uint8_t> bytes = Utf16LeWithTerminator(text);
    ASSERT_EQ(RegSetValueExW(key, L"Esc\x07", 0, REG_SZ, bytes.data(), static_cast<DWORD>(bytes.size())), ERROR_SUCCESS);
    RegCloseKey(key);
    platform::CloseRegistryStore();

    ProgramResult query = Reg({ "query", kKey });
    EXPECT_EQ(query.exitCode, 0) << query.err;
    EXPECT_EQ(query.out.find('\x1B'), std::string::npos);
    EXPECT_NE(query.out.find("Esc\\x07    REG_SZ    red\\x1B[31m\\x09line\\x85end\\path\n"), std::string::npos) << query.out;
}

TEST_F(RegTool, HiveWithABadLineIsUsedWithoutItAndTheExitSaysSo)
{
    const std::string damaged = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Tavrel\\Velmora]\n"
                                "\"Good\"=dword:00000005\n\"Bad\"=dword:0x5\n";
    std::ofstream(HivePath()) << damaged;
    ProgramResult query = Reg({ "query", kKey });
    EXPECT_EQ(query.exitCode, 1);
    EXPECT_NE(query.out.find("Good    REG_DWORD    0x5"), std::string::npos) << query.out;
    EXPECT_NE(query.err.find("line 5: "), std::string::npos) << query.err;
    EXPECT_NE(query.err.find(HivePath().string()), std::string::npos) << query.err;
    EXPECT_EQ(testing_support::ReadWholeFile(HivePath()), damaged); // a reader leaves it alone

    ProgramResult add = Reg({ "add", kKey, "/v", "New", "/t", "REG_DWORD", "/d", "6" });
    EXPECT_EQ(add.exitCode, 1);
    EXPECT_EQ(Reg({ "query", kKey, "/v", "Good" }).exitCode, 0); // written back whole
    EXPECT_EQ(Reg({ "query", kKey, "/v", "New" }).exitCode, 0);
}

TEST_F(RegTool, HelpAndTheDataFolder)
{
    ProgramResult help = RunVelmora({ "reg", "--help" });
    EXPECT_EQ(help.exitCode, 0);
    for (const char* part : { "reg query KEY", "reg add KEY", "reg delete KEY", "reg export KEY FILE", "reg import FILE", "/ve", "/va",
             "REG_MULTI_SZ", "$VELMORA_DATA" })
        EXPECT_NE(help.out.find(part), std::string::npos) << part;
    EXPECT_EQ(RunVelmora({ "reg", "add", "/?" }).exitCode, 0);
    EXPECT_NE(RunVelmora({ "--help" }).out.find("reg"), std::string::npos);

    // Without --data the folder comes from $VELMORA_DATA.
    ProgramInput environment;
    environment.environment = { { "VELMORA_DATA", m_folder.Path().string() } };
    EXPECT_EQ(RunVelmora({ "reg", "add", kKey, "/v", "FromEnvironment", "/d", "x" }, environment).exitCode, 0);
    EXPECT_EQ(ValuesOf(L"Software\\Tavrel\\Velmora").count(L"FromEnvironment"), 1u);
    // And --data after "reg" works as well.
    EXPECT_EQ(RunVelmora({ "reg", "query", kKey, "--data", m_folder.Path().string() }).exitCode, 0);
}

// `velmora reg`'s command line, keys and value data, read without running the tool.
#include <gtest/gtest.h>

#include "host/tools/RegToolParsing.h"
#include "platform/text/Utf16.h"

using namespace host;

namespace {

bool Parse(const std::vector<std::string>& args, RegToolOptions& options, std::string& dataFolder)
{
    return ParseRegToolArguments(args, options, dataFolder);
}

std::optional<std::string> Data(std::optional<std::string> type, std::optional<std::string> data, std::vector<uint8_t>& bytes,
    std::optional<std::string> separator = std::nullopt)
{
    RegToolOptions options;
    options.type = type;
    options.data = data;
    options.separator = separator;
    DWORD code = 0;
    return BuildRegToolData(options, code, bytes);
}

} // namespace

TEST(RegToolParsing, ArgumentsOptionsAndTheDataFolder)
{
    RegToolOptions options;
    std::string folder = "given";
    ASSERT_TRUE(Parse({ "ADD", "HKCU\\A", "-V", "x", "/t", "REG_DWORD", "--data", "/tmp/d", "/D", "7", "/f" }, options, folder));
    EXPECT_EQ(options.operation, "add");
    EXPECT_EQ(options.valueName, "x");
    EXPECT_EQ(options.type, "REG_DWORD");
    EXPECT_EQ(options.data, "7");
    EXPECT_TRUE(options.force);
    EXPECT_EQ(folder, "/tmp/d");
    // /s is the separator for add and the recursion for query; a path that starts with "/"
    // is an argument.
    ASSERT_TRUE(Parse({ "query", "HKLM\\Comm", "/s" }, options, folder));
    EXPECT_TRUE(options.recurse);
    ASSERT_TRUE(Parse({ "export", "HKLM", "/tmp/out.reg", "/y" }, options, folder));
    EXPECT_EQ(options.positional, (std::vector<std::string> { "HKLM", "/tmp/out.reg" }));

    // Refused: a repeated option, two value choices, an option of another operation (the
    // operation stays known for the help hint), a word count that does not fit, no operation.
    EXPECT_FALSE(Parse({ "add", "HKCU\\A", "/f", "/F" }, options, folder));
    EXPECT_FALSE(Parse({ "delete", "HKCU\\A", "/v", "x", "/va" }, options, folder));
    EXPECT_FALSE(Parse({ "add", "HKCU\\A", "/y" }, options, folder));
    EXPECT_EQ(options.operation, "add");
    EXPECT_FALSE(Parse({ "export", "HKCU\\A" }, options, folder));
    EXPECT_FALSE(Parse({ "add", "HKCU\\A", "/v" }, options, folder));
    EXPECT_FALSE(Parse({ "copy", "HKCU\\A" }, options, folder));
    EXPECT_EQ(options.operation, "");
}

TEST(RegToolParsing, KeysAndTheirLimits)
{
    RegToolKey key;
    ASSERT_FALSE(ParseRegToolKey("hklm\\Software\\Tavrel\\", key).has_value());
    EXPECT_EQ(key.root, platform::RegistryRoot::LocalMachine);
    EXPECT_EQ(key.subkey, L"Software\\Tavrel");
    EXPECT_EQ(key.display, L"HKEY_LOCAL_MACHINE\\Software\\Tavrel");
    ASSERT_FALSE(ParseRegToolKey("HKEY_CURRENT_USER", key).has_value());
    EXPECT_EQ(key.display, L"HKEY_CURRENT_USER");
    EXPECT_FALSE(ParseRegToolKey("HKCU\\" + std::string(255, 'k'), key).has_value());

    EXPECT_NE(ParseRegToolKey("HKCU\\" + std::string(256, 'k'), key)->find("1 to 255 characters"), std::string::npos);
    EXPECT_NE(ParseRegToolKey("HKCU\\a\\\\b", key)->find("separated by one"), std::string::npos);
    EXPECT_NE(ParseRegToolKey("HKCR\\x", key)->find("HKCR is not kept"), std::string::npos);
    EXPECT_NE(ParseRegToolKey("\\\\server\\HKLM", key)->find("other machines"), std::string::npos);
    EXPECT_EQ(key.display, L"HKEY_CURRENT_USER\\" + std::wstring(255, L'k')); // failures leave it
}

TEST(RegToolParsing, NumbersAndValueData)
{
    uint64_t value = 0;
    EXPECT_TRUE(ParseRegToolNumber("4294967295", 0xFFFFFFFFu, value));
    EXPECT_EQ(value, 0xFFFFFFFFu);
    EXPECT_TRUE(ParseRegToolNumber("0XfFfFfFfFfFfFfFfE", ~0ull, value));
    EXPECT_EQ(value, 0xFFFFFFFFFFFFFFFEull);
    for (const char* bad : { "4294967296", "0x100000000", "0x", "", "-1", "+1", "12a" })
        EXPECT_FALSE(ParseRegToolNumber(bad, 0xFFFFFFFFu, value)) << bad;

    std::vector<uint8_t> bytes;
    EXPECT_FALSE(Data("reg_dword", "0x01020304", bytes).has_value());
    EXPECT_EQ(bytes, (std::vector<uint8_t> { 4, 3, 2, 1 }));
    EXPECT_FALSE(Data("REG_QWORD", std::nullopt, bytes).has_value());
    EXPECT_EQ(bytes, std::vector<uint8_t>(8, 0));
    EXPECT_FALSE(Data("REG_BINARY", "0a1BfF", bytes).has_value());
    EXPECT_EQ(bytes, (std::vector<uint8_t> { 0x0A, 0x1B, 0xFF }));
    EXPECT_FALSE(Data("REG_MULTI_SZ", "ab,c", bytes, ",").has_value());
    EXPECT_EQ(bytes, (std::vector<uint8_t> { 'a', 0, 'b', 0, 0, 0, 'c', 0, 0, 0, 0, 0 }));
    EXPECT_FALSE(Data(std::nullopt, "x", bytes).has_value());
    EXPECT_EQ(bytes, Utf16LeWithTerminator(L"x"));

    EXPECT_EQ(Data("REG_DWORD", "4294967296", bytes),
        "ERROR: Invalid data for REG_DWORD: '4294967296'. Give a decimal number or 0x and hex digits, from 0 to 4294967295.");
    EXPECT_NE(Data("REG_BINARY", "0a1", bytes)->find("two for each byte"), std::string::npos);
    EXPECT_NE(Data("REG_MULTI_SZ", "a,,b", bytes, ",")->find("empty string"), std::string::npos);
    EXPECT_NE(Data("REG_MULTI_SZ", "a", bytes, ",;")->find("one character"), std::string::npos);
    EXPECT_NE(Data("REG_SZ", "a", bytes, ",")->find("REG_MULTI_SZ data only"), std::string::npos);
    EXPECT_NE(Data("REG_LINK", "a", bytes)->find("Invalid type REG_LINK"), std::string::npos);
}

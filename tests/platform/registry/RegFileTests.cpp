// The .reg writer and reader: the text the writer produces, every value type surviving a
// round trip byte for byte, the encodings and older format the reader accepts, and the
// faults it refuses with their line.
#include <gtest/gtest.h>

#include "RegistryTestHelpers.h"
#include "platform/registry/RegFile.h"
#include "platform/registry/RegistryTree.h"
#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"

using namespace platform;
using namespace registry_test;

namespace {

std::shared_ptr<KeyNode> MakeKey(RegistryTree& tree, RegistryRoot root, std::initializer_list<const wchar_t*> path)
{
    std::shared_ptr<KeyNode> node = tree.Root(root);
    for (const wchar_t* name : path) {
        bool created = false;
        node = node->CreateSubkey(name, created);
    }
    return node;
}

// Parses into a fresh tree; fails the test when the text does not parse.
void Load(std::string_view text, RegistryTree& tree)
{
    RegFileDocument document;
    RegFileError error;
    ASSERT_TRUE(ParseRegFile(text, document, error)) << error.Describe() << "\n" << text;
    tree.Apply(document);
}

RegFileError ParseFault(std::string_view text)
{
    RegFileDocument document;
    RegFileError error;
    EXPECT_FALSE(ParseRegFile(text, document, error)) << text;
    EXPECT_TRUE(document.sections.empty());
    return error;
}

} // namespace

TEST(RegFile, WriterProducesTheEditorsFormat)
{
    RegistryTree tree;
    auto velmora = MakeKey(tree, RegistryRoot::CurrentUser, { L"Software", L"Tavrel", L"Velmora" });
    velmora->SetValue(L"", REG_SZ, Sz(L"default"));
    velmora->SetValue(L"UsageLogPath", REG_SZ, Sz(L"\\Program Files\\Velmora"));
    velmora->SetValue(L"Say \"hi\"", REG_SZ, Sz(L""));
    velmora->SetValue(L"ScrollRate", REG_DWORD, Dword(0x2A));
    velmora->SetValue(L"Blob", REG_BINARY, { 0x00, 0xFF, 0x10 });
    velmora->SetValue(L"DNS", REG_MULTI_SZ, MultiSz({ L"a" }));
    MakeKey(tree, RegistryRoot::LocalMachine, { L"Comm", L"Empty" });

    EXPECT_EQ(WriteRegFile(tree),
        "Windows Registry Editor Version 5.00\n"
        "\n"
        "[HKEY_CURRENT_USER\\Software]\n"
        "\n"
        "[HKEY_CURRENT_USER\\Software\\Tavrel]\n"
        "\n"
        "[HKEY_CURRENT_USER\\Software\\Tavrel\\Velmora]\n"
        "@=\"default\"\n"
        "\"UsageLogPath\"=\"\\\\Program Files\\\\Velmora\"\n"
        "\"Say \\\"hi\\\"\"=\"\"\n"
        "\"ScrollRate\"=dword:0000002a\n"
        "\"Blob\"=hex:00,ff,10\n"
        "\"DNS\"=hex(7):61,00,00,00,00,00\n"
        "\n"
        "[HKEY_LOCAL_MACHINE\\Comm]\n"
        "\n"
        "[HKEY_LOCAL_MACHINE\\Comm\\Empty]\n");
}

TEST(RegFile, LongHexDataWrapsAtEightyColumns)
{
    RegistryTree tree;
    auto key = MakeKey(tree, RegistryRoot::CurrentUser, { L"K" });
    key->SetValue(L"Big", REG_BINARY, std::vector<uint8_t>(100, 0x5A));
    std::string text = WriteRegFile(tree);
    size_t lines = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        EXPECT_LE(end - start, 80u) << text.substr(start, end - start);
        start = end + 1;
        ++lines;
    }
    EXPECT_GT(lines, 6u);
    RegistryTree back;
    ASSERT_NO_FATAL_FAILURE(Load(text, back));
    EXPECT_TRUE(back.SameContents(tree));
}

TEST(RegFile, EveryValueTypeRoundTripsByteForByte)
{
    RegistryTree tree;
    auto key = MakeKey(tree, RegistryRoot::CurrentUser, { L"Software", L"Types" });
    const std::vector<std::pair<const wchar_t*, std::pair<DWORD, std::vector<uint8_t>>>> values = {
        { L"clean", { REG_SZ, Sz(L"Adapter \"NE2000\" \\ \u0421\u0435\u0442\u044C \U0001F600\ttab") } },
        { L"empty string", { REG_SZ, Sz(L"") } },
        { L"no bytes", { REG_SZ, {} } },
        { L"odd length", { REG_SZ, { 'a', 0, 'b' } } },
        { L"no terminator", { REG_SZ, { 'a', 0, 'b', 0 } } },
        { L"embedded NUL", { REG_SZ, Sz(std::wstring(L"a\0b", 3)) } },
        { L"line break", { REG_SZ, Sz(L"one\r\ntwo") } },
        { L"lone surrogate", { REG_SZ, { 'a', 0, 0x00, 0xD8, 0, 0 } } },
        { L"two terminators", { REG_SZ, { 'a', 0, 0, 0, 0, 0 } } },
        { L"expand", { REG_EXPAND_SZ, Sz(L"%WINDIR%\\x") } },
        { L"multi", { REG_MULTI_SZ, MultiSz({ L"10.0.0.1", L"10.0.0.2" }) } },
        { L"dword", { REG_DWORD, Dword(0xFFFFFFFF) } },
        { L"short dword", { REG_DWORD, { 1, 2, 3 } } },
        { L"empty dword", { REG_DWORD, {} } },
        { L"big endian", { REG_DWORD_BIG_ENDIAN, { 0, 0, 0, 1 } } },
        { L"qword", { REG_QWORD, { 1, 2, 3, 4, 5, 6, 7, 8 } } },
        { L"binary", { REG_BINARY, { 0, 1, 0x7F, 0x80, 0xFF } } },
        { L"empty binary", { REG_BINARY, {} } },
        { L"none", { REG_NONE, { 0xDE, 0xAD } } },
        { L"type 0xffffffff", { 0xFFFFFFFF, { 1 } } },
        { L"", { REG_SZ, Sz(L"the default") } },
        { L"name with \"quotes\", \\backslash\\ and =@;[]", { REG_DWORD, Dword(1) } },
    };
    for (const auto& [name, typed] : values)
        key->SetValue(name, typed.first, typed.second);
    MakeKey(tree, RegistryRoot::LocalMachine, { L"SOFTWARE", L"Microsoft", L"Today", L"Items", L"\"Velmora\"" });
    MakeKey(tree, RegistryRoot::LocalMachine, { L"odd]name", L" spaced ", L"-dash", L";semi", L"@" });
    tree.Root(RegistryRoot::LocalMachine)->SetValue(L"at root", REG_DWORD, Dword(7));

    std::string text = WriteRegFile(tree);
    RegistryTree back;
    ASSERT_NO_FATAL_FAILURE(Load(text, back));
    EXPECT_TRUE(back.SameContents(tree)) << text;
    // And the written form is stable.
    EXPECT_EQ(WriteRegFile(back), text);
    auto types = back.Find(RegistryRoot::CurrentUser, { L"Software", L"Types" });
    ASSERT_NE(types, nullptr);
    for (const auto& [name, typed] : values) {
        const RegistryValue* value = types->FindValue(name);
        ASSERT_NE(value, nullptr) << WideToUtf8(name);
        EXPECT_EQ(value->type, typed.first) << WideToUtf8(name);
        EXPECT_EQ(value->data, typed.second) << WideToUtf8(name);
    }
}

TEST(RegFile, ReadsUtf16WithMarkUtf8WithMarkAndCrLf)
{
    std::wstring source = L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\\u0422\u0435\u0441\u0442]\r\n"
                          L"\"\u0418\u043C\u044F\"=\"\u0417\u043D\u0430\u0447\u0435\u043D\u0438\u0435\"\r\n";
    std::string utf16 = "\xFF\xFE" + EncodeUtf16Le(source);
    std::string utf8 = "\xEF\xBB\xBF" + WideToUtf8(source);
    for (const std::string& bytes : { utf16, utf8, WideToUtf8(source) }) {
        RegistryTree tree;
        ASSERT_NO_FATAL_FAILURE(Load(bytes, tree));
        auto key = tree.Find(RegistryRoot::CurrentUser, { L"Software", L"\u0442\u0435\u0441\u0442" });
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->Name(), L"\u0422\u0435\u0441\u0442");
        ASSERT_NE(key->FindValue(L"\u0418\u043C\u044F"), nullptr);
        EXPECT_EQ(key->FindValue(L"\u0418\u043C\u044F")->data, Sz(L"\u0417\u043D\u0430\u0447\u0435\u043D\u0438\u0435"));
    }
}

TEST(RegFile, ReadsTheOlderFormatAndEightBitText)
{
    // REGEDIT4: strings are 8-bit, and so are the string types' hex bytes.
    std::string text = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Comm\\X]\r\n"
                       "\"Caf\xE9\"=\"na\xEFve\"\r\n"
                       "\"Path\"=hex(2):25,41,25,00\r\n"
                       "\"List\"=hex(7):61,00,62,00,00\r\n"
                       "\"Raw\"=hex:61,00\r\n";
    RegistryTree tree;
    ASSERT_NO_FATAL_FAILURE(Load(text, tree));
    auto key = tree.Find(RegistryRoot::LocalMachine, { L"Comm", L"X" });
    ASSERT_NE(key, nullptr);
    ASSERT_NE(key->FindValue(L"Caf\u00E9"), nullptr);
    EXPECT_EQ(key->FindValue(L"Caf\u00E9")->data, Sz(L"na\u00EFve"));
    EXPECT_EQ(key->FindValue(L"Path")->data, Sz(L"%A%"));
    EXPECT_EQ(key->FindValue(L"List")->data, (MultiSz({ L"a", L"b" })));
    EXPECT_EQ(key->FindValue(L"Raw")->data, (std::vector<uint8_t> { 0x61, 0x00 }));
}

TEST(RegFile, ContinuationsCommentsAndShortRootNames)
{
    std::string text = "Windows Registry Editor Version 5.00\n"
                       "; a comment\n"
                       "[HKLM\\Comm]\n"
                       "  \"Bytes\" = hex:01,02,\\\n"
                       "     03,04,\\\n"
                       "  05\n"
                       "\"Trailing\"=hex:0a,\n"
                       "\"Number\"=dword:FF\n"
                       "[hkcu\\x]\n";
    RegistryTree tree;
    ASSERT_NO_FATAL_FAILURE(Load(text, tree));
    auto comm = tree.Find(RegistryRoot::LocalMachine, { L"Comm" });
    ASSERT_NE(comm, nullptr);
    EXPECT_EQ(comm->FindValue(L"Bytes")->data, (std::vector<uint8_t> { 1, 2, 3, 4, 5 }));
    EXPECT_EQ(comm->FindValue(L"Trailing")->data, (std::vector<uint8_t> { 10 }));
    EXPECT_EQ(comm->FindValue(L"Number")->data, Dword(0xFF));
    EXPECT_NE(tree.Find(RegistryRoot::CurrentUser, { L"X" }), nullptr);
}

TEST(RegFile, DeletionsAndMergedSections)
{
    RegistryTree tree;
    auto keep = MakeKey(tree, RegistryRoot::CurrentUser, { L"A", L"Keep" });
    keep->SetValue(L"Old", REG_DWORD, Dword(1));
    keep->SetValue(L"", REG_SZ, Sz(L"d"));
    MakeKey(tree, RegistryRoot::CurrentUser, { L"A", L"Gone", L"Deep" });
    ASSERT_NO_FATAL_FAILURE(Load("Windows Registry Editor Version 5.00\n"
         "[-HKEY_CURRENT_USER\\A\\Gone]\n"
         "[-HKEY_CURRENT_USER\\A\\NeverThere]\n"
         "[HKEY_CURRENT_USER\\A\\Keep]\n"
         "\"Old\"=-\n"
         "@=-\n"
         "\"New\"=\"1\"\n"
         "[HKEY_CURRENT_USER\\a\\KEEP]\n"
         "\"new\"=\"2\"\n",
        tree));
    EXPECT_EQ(tree.Find(RegistryRoot::CurrentUser, { L"A", L"Gone" }), nullptr);
    ASSERT_EQ(keep->Values().size(), 1u);
    EXPECT_EQ(keep->Values()[0].name, L"New");
    EXPECT_EQ(keep->Values()[0].data, Sz(L"2"));
}

TEST(RegFile, FaultsAreRefusedWithTheirLine)
{
    const std::string header = "Windows Registry Editor Version 5.00\n";
    EXPECT_EQ(ParseFault("").line, 0u);
    EXPECT_EQ(ParseFault("[HKEY_CURRENT_USER\\x]\n").line, 1u);
    EXPECT_EQ(ParseFault("\n\nWindows Registry Editor Version 4.00\n").line, 3u);
    EXPECT_EQ(ParseFault(header + "\"a\"=\"b\"\n").line, 2u); // before any key
    EXPECT_EQ(ParseFault(header + "[HKEY_CURRENT_USER\\x]\nnonsense\n").line, 3u);
    EXPECT_EQ(ParseFault(header + "[HKEY_NOWHERE\\x]\n").line, 2u);
    EXPECT_NE(ParseFault(header + "[HKEY_USERS\\x]\n").message.find("not kept"), std::string::npos);
    EXPECT_EQ(ParseFault(header + "[HKEY_CURRENT_USER\\a\\\\b]\n").line, 2u);
    EXPECT_EQ(ParseFault(header + "[HKEY_CURRENT_USER\\a\\]\n").line, 2u);
    EXPECT_EQ(ParseFault(header + "[HKEY_CURRENT_USER\\\\a]\n").line, 2u);
    EXPECT_EQ(ParseFault(header + "[HKEY_CURRENT_USER\\a\n").line, 2u);
    EXPECT_EQ(ParseFault(header + "[-HKEY_CURRENT_USER]\n").line, 2u);
    EXPECT_EQ(ParseFault(header + "[HKEY_CURRENT_USER\\" + std::string(256, 'k') + "]\n").line, 2u);
    const std::string key = header + "[HKEY_CURRENT_USER\\x]\n";
    EXPECT_EQ(ParseFault(key + "\"a\"=\"unclosed\n").line, 3u);
    EXPECT_EQ(ParseFault(key + "\"a\"=\"bad \\n escape\"\n").line, 3u);
    EXPECT_EQ(ParseFault(key + "\"a\"=\"x\" trailing\n").line, 3u);
    EXPECT_EQ(ParseFault(key + "\"a\"dword:1\n").line, 3u);
    EXPECT_EQ(ParseFault(key + "\"a\"=dword:123456789\n").line, 3u);
    EXPECT_EQ(ParseFault(key + "\"a\"=dword:\n").line, 3u);
    EXPECT_EQ(ParseFault(key + "\"a\"=hex:1,,2\n").line, 3u);
    EXPECT_EQ(ParseFault(key + "\"a\"=hex:123\n").line, 3u);
    EXPECT_EQ(ParseFault(key + "\"a\"=hex:01,\\\n  zz\n").line, 4u);
    EXPECT_EQ(ParseFault(key + "\"a\"=hex(x):01\n").line, 3u);
    EXPECT_EQ(ParseFault(key + "\"a\"=hex(1)01\n").line, 3u);
    EXPECT_EQ(ParseFault(key + "\"a\"=qword:1\n").line, 3u);
    EXPECT_EQ(ParseFault(header + "[-HKEY_CURRENT_USER\\x]\n\"a\"=\"b\"\n").line, 3u);
    EXPECT_EQ(ParseFault(key + std::string("\"a\"=\"b\0c\"\n", 11)).line, 0u);

    std::string deep = header + "[HKEY_CURRENT_USER";
    for (size_t i = 0; i <= kMaxKeyDepth; ++i)
        deep += "\\k";
    EXPECT_EQ(ParseFault(deep + "]\n").line, 2u);
}

TEST(RegFile, ValueNamesTheRegistryWouldRefuseAreRefused)
{
    const std::string key = "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\x]\n";
    ParseFault(key + "\"" + std::string(256, 'v') + "\"=\"b\"\n");
    // A lone surrogate can come in through UTF-16 text.
    std::string utf16 = "\xFF\xFE" + EncodeUtf16Le(L"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\x]\n\"");
    utf16 += std::string("\x00\xD8", 2) + EncodeUtf16Le(L"\"=\"b\"\n");
    ParseFault(utf16);
}

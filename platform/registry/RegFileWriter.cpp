#include "platform/registry/RegFile.h"

#include <cstdio>

#include "platform/registry/RegistryTree.h"
#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"

namespace platform {

namespace {

constexpr const char* kHeader = "Windows Registry Editor Version 5.00";
// Hex data is wrapped so that no line is longer than this, as the platform's editor does.
constexpr size_t kLineWidth = 80;

std::string Quoted(std::wstring_view text)
{
    std::string out = "\"";
    for (wchar_t ch : text) {
        if (ch == L'\\' || ch == L'"')
            out += '\\';
        out += WideToUtf8(std::wstring_view(&ch, 1));
    }
    out += '"';
    return out;
}

std::string HexType(DWORD type)
{
    if (type == REG_BINARY)
        return "hex:";
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "hex(%x):", type);
    return buffer;
}

void AppendHex(std::string& out, size_t lineStart, const std::vector<uint8_t>& data)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    for (size_t i = 0; i < data.size(); ++i) {
        size_t itemLength = (i + 1 < data.size()) ? 3 : 2;
        // Room is kept for the continuation mark.
        if (i > 0 && out.size() - lineStart + itemLength + 1 > kLineWidth) {
            out += "\\\n  ";
            lineStart = out.size() - 2;
        }
        out += kDigits[data[i] >> 4];
        out += kDigits[data[i] & 0xF];
        if (i + 1 < data.size())
            out += ',';
    }
}

void AppendValue(std::string& out, const RegistryValue& value)
{
    size_t lineStart = out.size();
    out += value.name.empty() ? std::string("@") : Quoted(value.name);
    out += '=';
    if (value.type == REG_SZ && IsCleanStringData(value.data)) {
        out += Quoted(Utf16LeUpToTerminator(value.data.data(), value.data.size()));
    } else if (value.type == REG_DWORD && value.data.size() == 4) {
        uint32_t number = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) | (static_cast<uint32_t>(value.data[3]) << 24);
        char buffer[24];
        std::snprintf(buffer, sizeof buffer, "dword:%08x", number);
        out += buffer;
    } else {
        out += HexType(value.type);
        AppendHex(out, lineStart, value.data);
    }
    out += '\n';
}

void AppendKey(std::string& out, const KeyNode& key, const std::wstring& fullPath, bool writeEmpty)
{
    if (writeEmpty || !key.Values().empty()) {
        out += "\n[" + WideToUtf8(fullPath) + "]\n";
        for (const RegistryValue& value : key.Values())
            AppendValue(out, value);
    }
    for (const auto& subkey : key.Subkeys())
        AppendKey(out, *subkey, fullPath + L"\\" + subkey->Name(), true);
}

} // namespace

bool IsCleanStringData(const std::vector<uint8_t>& data)
{
    if (data.size() < 2 || data.size() % 2 != 0)
        return false;
    std::wstring text = DecodeUtf16Le(data.data(), data.size() - 2);
    for (wchar_t ch : text) {
        uint32_t cp = static_cast<uint32_t>(ch);
        if (cp == 0 || cp == L'\r' || cp == L'\n' || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
    }
    return data[data.size() - 2] == 0 && data[data.size() - 1] == 0;
}

std::string WriteRegFile(const RegistryTree& tree)
{
    std::string out = kHeader;
    out += '\n';
    for (RegistryRoot root : { RegistryRoot::CurrentUser, RegistryRoot::LocalMachine })
        AppendKey(out, *tree.Root(root), RootName(root), false);
    return out;
}

std::string WriteRegFileKey(const KeyNode& key, const std::wstring& fullPath)
{
    std::string out = kHeader;
    out += '\n';
    AppendKey(out, key, fullPath, true);
    return out;
}

std::string RegFileError::Describe() const
{
    if (line == 0)
        return message;
    return "line " + std::to_string(line) + ": " + message;
}

} // namespace platform

#include "platform/net/AdapterNaming.h"

#include "platform/text/WideString.h"

namespace platform {

namespace {

bool KeptAsIs(unsigned char ch)
{
    return (ch >= '0' && ch <= '9') || ch == '-' || ch == '.' || ch == '_';
}

int HexValue(wchar_t ch)
{
    if (ch >= L'0' && ch <= L'9')
        return ch - L'0';
    if (ch >= L'A' && ch <= L'F')
        return ch - L'A' + 10;
    if (ch >= L'a' && ch <= L'f')
        return ch - L'a' + 10;
    return -1;
}

} // namespace

std::wstring LinuxDriverKey(std::string_view linuxName)
{
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring key;
    for (char raw : linuxName) {
        auto ch = static_cast<unsigned char>(raw);
        if (ch >= 'a' && ch <= 'z') {
            key.push_back(static_cast<wchar_t>(ch - 'a' + 'A'));
        } else if (KeptAsIs(ch)) {
            key.push_back(static_cast<wchar_t>(ch));
        } else {
            key.push_back(L'%');
            key.push_back(kHex[ch >> 4]);
            key.push_back(kHex[ch & 0xF]);
        }
    }
    if ((!key.empty() && key.back() == L'1') || key == L"PPP")
        key.push_back(L'#');
    return key;
}

std::wstring LinuxAdapterName(std::string_view linuxName)
{
    return LinuxDriverKey(linuxName) + L"1";
}

std::optional<std::string> LinuxNameOfAdapter(std::wstring_view adapterName)
{
    if (adapterName.size() < 2 || adapterName.back() != L'1')
        return std::nullopt;
    std::wstring_view key = adapterName.substr(0, adapterName.size() - 1);
    if (!key.empty() && key.back() == L'#')
        key.remove_suffix(1);
    std::string name;
    for (size_t i = 0; i < key.size(); ++i) {
        wchar_t ch = key[i];
        if (ch == L'%') {
            if (i + 2 >= key.size())
                return std::nullopt;
            int high = HexValue(key[i + 1]);
            int low = HexValue(key[i + 2]);
            if (high < 0 || low < 0)
                return std::nullopt;
            name.push_back(static_cast<char>(high * 16 + low));
            i += 2;
        } else if ((ch >= L'A' && ch <= L'Z') || (ch >= L'a' && ch <= L'z')) {
            name.push_back(static_cast<char>(WideToLower(ch)));
        } else if (ch < 0x80 && KeptAsIs(static_cast<unsigned char>(ch))) {
            name.push_back(static_cast<char>(ch));
        } else {
            return std::nullopt;
        }
    }
    if (name.empty() || !EqualsNoCase(LinuxAdapterName(name), adapterName))
        return std::nullopt;
    return name;
}

} // namespace platform

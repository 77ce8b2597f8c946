#include "settings/RegistryKey.h"

#include <vector>

#include "platform/text/Utf16.h"

namespace {
constexpr DWORD kEnumNameChars = 260;
}

RegistryKey::RegistryKey(HKEY parent, const wchar_t* path, KeyDisposition disposition)
{
    HKEY handle = nullptr;
    LONG result;
    if (disposition == KeyDisposition::CreateIfMissing) {
        DWORD created = 0;
        result = RegCreateKeyExW(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &handle, &created);
    } else {
        result = RegOpenKeyExW(parent, path, 0, KEY_ALL_ACCESS, &handle);
    }
    m_handle = result == ERROR_SUCCESS ? handle : nullptr;
}

RegistryKey::~RegistryKey()
{
    if (m_handle != nullptr)
        RegCloseKey(m_handle);
}

DWORD RegistryKey::ReadDword(const wchar_t* name, DWORD defaultValue)
{
    // The stored type is not checked: a value of at most four bytes is taken as its raw bytes.
    BYTE data[4] = { 0, 0, 0, 0 };
    DWORD size = sizeof data;
    DWORD type = 0;
    if (m_handle != nullptr && RegQueryValueExW(m_handle, name, nullptr, &type, data, &size) == ERROR_SUCCESS)
        return static_cast<DWORD>(data[0]) | (static_cast<DWORD>(data[1]) << 8) | (static_cast<DWORD>(data[2]) << 16)
            | (static_cast<DWORD>(data[3]) << 24);
    if (defaultValue != NoDefault)
        WriteDword(name, defaultValue);
    return defaultValue;
}

bool RegistryKey::WriteDword(const wchar_t* name, DWORD value)
{
    if (name == nullptr || m_handle == nullptr)
        return false;
    const BYTE data[4] = { static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
        static_cast<BYTE>(value >> 24) };
    return RegSetValueExW(m_handle, name, 0, REG_DWORD, data, sizeof data) == ERROR_SUCCESS;
}

std::wstring RegistryKey::ReadString(const wchar_t* name, const wchar_t* defaultValue)
{
    if (name == nullptr)
        return std::wstring();
    DWORD size = 0;
    DWORD type = 0;
    if (m_handle != nullptr && RegQueryValueExW(m_handle, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        // Room for one more character than the value holds, so an unterminated value still ends.
        std::vector<BYTE> buffer(size + sizeof(uint16_t), 0);
        DWORD read = size;
        if (RegQueryValueExW(m_handle, name, nullptr, &type, buffer.data(), &read) == ERROR_SUCCESS)
            return Utf16LeUpToTerminator(buffer.data(), buffer.size());
    }
    if (defaultValue == nullptr)
        return std::wstring();
    WriteString(name, defaultValue);
    return std::wstring(defaultValue);
}

bool RegistryKey::WriteString(const wchar_t* name, const wchar_t* value)
{
    if (name == nullptr || value == nullptr || m_handle == nullptr)
        return false;
    std::vector<uint8_t> data = Utf16LeWithTerminator(value);
    return RegSetValueExW(m_handle, name, 0, REG_SZ, data.data(), static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

bool RegistryKey::WriteMultiStringList(const wchar_t* name, const std::wstring* strings, size_t count)
{
    if (m_handle == nullptr)
        return false;
    // Each string with its terminator, then the empty string that ends the list. The list is
    // built at whatever length it needs: the device composed it in a 128-character buffer,
    // which two long strings overran.
    std::vector<uint8_t> data;
    for (size_t i = 0; i < count; ++i) {
        std::vector<uint8_t> one = Utf16LeWithTerminator(strings[i]);
        data.insert(data.end(), one.begin(), one.end());
    }
    data.push_back(0);
    data.push_back(0);
    return RegSetValueExW(m_handle, name, 0, REG_MULTI_SZ, data.data(), static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

bool RegistryKey::WriteMultiString(const wchar_t* name, const wchar_t* value)
{
    if (name == nullptr || value == nullptr)
        return false;
    const std::wstring strings[] = { value };
    return WriteMultiStringList(name, strings, 1);
}

bool RegistryKey::WriteMultiString(const wchar_t* name, const wchar_t* first, const wchar_t* second)
{
    if (name == nullptr || first == nullptr || second == nullptr)
        return false;
    const std::wstring strings[] = { first, second };
    return WriteMultiStringList(name, strings, 2);
}

bool RegistryKey::EnumSubkeyAtCursor(std::wstring& name)
{
    WCHAR buffer[kEnumNameChars] = {};
    DWORD chars = kEnumNameChars;
    if (m_handle == nullptr || RegEnumKeyExW(m_handle, m_cursor, buffer, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        name.clear();
        return false;
    }
    name.assign(buffer, chars);
    return true;
}

bool RegistryKey::EnumValueAtCursor(std::wstring& name)
{
    WCHAR buffer[kEnumNameChars] = {};
    DWORD chars = kEnumNameChars;
    if (m_handle == nullptr || RegEnumValueW(m_handle, m_cursor, buffer, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        name.clear();
        return false;
    }
    name.assign(buffer, chars);
    return true;
}

bool RegistryKey::FirstSubkey(std::wstring& name)
{
    m_cursor = 0;
    return EnumSubkeyAtCursor(name);
}

bool RegistryKey::NextSubkey(std::wstring& name)
{
    ++m_cursor;
    return EnumSubkeyAtCursor(name);
}

bool RegistryKey::FirstValue(std::wstring& name)
{
    m_cursor = 0;
    return EnumValueAtCursor(name);
}

bool RegistryKey::NextValue(std::wstring& name)
{
    ++m_cursor;
    return EnumValueAtCursor(name);
}

bool RegistryKey::SubkeyExists(const wchar_t* path)
{
    HKEY subkey = nullptr;
    if (m_handle == nullptr || RegOpenKeyExW(m_handle, path, 0, KEY_ALL_ACCESS, &subkey) != ERROR_SUCCESS)
        return false;
    RegCloseKey(subkey);
    return true;
}

bool RegistryKey::ValueExists(const wchar_t* name)
{
    if (name == nullptr || m_handle == nullptr)
        return false;
    DWORD size = 0;
    return RegQueryValueExW(m_handle, name, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS;
}

DWORD RegistryKey::ValueType(const wchar_t* name)
{
    if (!ValueExists(name))
        return 0;
    DWORD type = 0;
    DWORD size = 0;
    RegQueryValueExW(m_handle, name, nullptr, &type, nullptr, &size);
    return type;
}

bool RegistryKey::DeleteValue(const wchar_t* name)
{
    return m_handle != nullptr && RegDeleteValueW(m_handle, name) == ERROR_SUCCESS;
}

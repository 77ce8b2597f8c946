#include "support/RegistryTestSupport.h"

#include <gtest/gtest.h>

#include "platform/text/Utf16.h"

namespace testing_support {

namespace {

HKEY Create(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    LONG result = RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition);
    EXPECT_EQ(result, static_cast<LONG>(ERROR_SUCCESS));
    return key;
}

HKEY Open(HKEY root, const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

} // namespace

void CreateKey(HKEY root, const std::wstring& path)
{
    RegCloseKey(Create(root, path));
}

void PutRaw(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type, const std::vector<uint8_t>& data)
{
    HKEY key = Create(root, path);
    EXPECT_EQ(RegSetValueExW(key, name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size())),
        static_cast<LONG>(ERROR_SUCCESS));
    RegCloseKey(key);
}

void PutDword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value)
{
    PutRaw(root, path, name, REG_DWORD,
        { static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 24) });
}

void PutString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value)
{
    PutRaw(root, path, name, REG_SZ, Utf16LeWithTerminator(value));
}

std::optional<StoredValue> GetRaw(HKEY root, const std::wstring& path, const std::wstring& name)
{
    HKEY key = Open(root, path);
    if (key == nullptr)
        return std::nullopt;
    StoredValue value;
    DWORD size = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) {
        RegCloseKey(key);
        return std::nullopt;
    }
    value.data.resize(size);
    RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.data.data(), &size);
    RegCloseKey(key);
    return value;
}

std::optional<DWORD> GetDword(HKEY root, const std::wstring& path, const std::wstring& name)
{
    auto raw = GetRaw(root, path, name);
    if (!raw || raw->type != REG_DWORD || raw->data.size() != 4)
        return std::nullopt;
    return raw->data[0] | (raw->data[1] << 8) | (raw->data[2] << 16) | (static_cast<DWORD>(raw->data[3]) << 24);
}

std::optional<std::wstring> GetString(HKEY root, const std::wstring& path, const std::wstring& name)
{
    auto raw = GetRaw(root, path, name);
    if (!raw || raw->type != REG_SZ)
        return std::nullopt;
    return Utf16LeUpToTerminator(raw->data.data(), raw->data.size());
}

std::vector<std::wstring> ValueNames(HKEY root, const std::wstring& path)
{
    std::vector<std::wstring> names;
    HKEY key = Open(root, path);
    if (key == nullptr)
        return names;
    for (DWORD i = 0;; ++i) {
        WCHAR buffer[260];
        DWORD chars = 260;
        if (RegEnumValueW(key, i, buffer, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(buffer, chars);
    }
    RegCloseKey(key);
    return names;
}

bool KeyExists(HKEY root, const std::wstring& path)
{
    HKEY key = Open(root, path);
    if (key == nullptr)
        return false;
    RegCloseKey(key);
    return true;
}

} // namespace testing_support

// Small helpers for the registry tests: byte vectors from texts and numbers, and reading a
// value back in one call.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/registry/Registry.h"
#include "platform/text/Utf16.h"

namespace registry_test {

inline std::vector<uint8_t> Sz(const std::wstring& text)
{
    return Utf16LeWithTerminator(text);
}

// A REG_MULTI_SZ: each string with its terminator, then the empty string that ends the list.
inline std::vector<uint8_t> MultiSz(std::initializer_list<std::wstring> texts)
{
    std::vector<uint8_t> out;
    for (const std::wstring& text : texts) {
        std::vector<uint8_t> one = Utf16LeWithTerminator(text);
        out.insert(out.end(), one.begin(), one.end());
    }
    out.push_back(0);
    out.push_back(0);
    return out;
}

inline std::vector<uint8_t> Dword(uint32_t value)
{
    return { static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
        static_cast<uint8_t>(value >> 24) };
}

inline LONG Set(HKEY key, const wchar_t* name, DWORD type, const std::vector<uint8_t>& data)
{
    return RegSetValueExW(key, name, 0, type, data.data(), static_cast<DWORD>(data.size()));
}

struct ReadBack {
    LONG result = -1;
    DWORD type = 0xCCCCCCCC;
    std::vector<uint8_t> data;
};

inline ReadBack Get(HKEY key, const wchar_t* name)
{
    ReadBack out;
    DWORD size = 0;
    out.result = RegQueryValueExW(key, name, nullptr, &out.type, nullptr, &size);
    if (out.result != ERROR_SUCCESS)
        return out;
    out.data.resize(size);
    out.result = RegQueryValueExW(key, name, nullptr, &out.type, out.data.data(), &size);
    out.data.resize(size);
    return out;
}

inline HKEY Create(HKEY parent, const wchar_t* path)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(parent, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

} // namespace registry_test

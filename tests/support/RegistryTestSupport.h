// One-line registry value access for tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry/Registry.h"
#include "support/RegistryScope.h"

namespace testing_support {

struct StoredValue {
    DWORD type = REG_NONE;
    std::vector<uint8_t> data;
};

void CreateKey(HKEY root, const std::wstring& path);
void PutDword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value);
void PutString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value);
void PutRaw(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type, const std::vector<uint8_t>& data);
std::optional<StoredValue> GetRaw(HKEY root, const std::wstring& path, const std::wstring& name);
std::optional<DWORD> GetDword(HKEY root, const std::wstring& path, const std::wstring& name);
std::optional<std::wstring> GetString(HKEY root, const std::wstring& path, const std::wstring& name);
// Value names in enumeration order; empty when the key does not exist.
std::vector<std::wstring> ValueNames(HKEY root, const std::wstring& path);
bool KeyExists(HKEY root, const std::wstring& path);

} // namespace testing_support

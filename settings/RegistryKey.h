// A scoped registry key: opens (or creates) one key, reads and writes typed values, enumerates
// subkeys and value names, and closes the key when it goes out of scope. A read that finds no
// value writes the caller's default back, so a key fills itself with defaults on first read;
// the default NoDefault suppresses that write.
#pragma once

#include <string>

#include "platform/registry/Registry.h"

constexpr DWORD NoDefault = 57072; // 0xDEF0

enum class KeyDisposition {
    OpenExisting,
    CreateIfMissing,
};

class RegistryKey {
public:
    RegistryKey(HKEY parent, const wchar_t* path, KeyDisposition disposition);
    virtual ~RegistryKey();

    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    HKEY Handle() const { return m_handle; }
    bool IsOpen() const { return m_handle != nullptr; }

    DWORD ReadDword(const wchar_t* name, DWORD defaultValue);
    bool WriteDword(const wchar_t* name, DWORD value);
    // A null default returns the empty string and writes nothing when the value is missing.
    std::wstring ReadString(const wchar_t* name, const wchar_t* defaultValue);
    bool WriteString(const wchar_t* name, const wchar_t* value);
    bool WriteMultiString(const wchar_t* name, const wchar_t* value);
    bool WriteMultiString(const wchar_t* name, const wchar_t* first, const wchar_t* second);

    // One cursor serves both enumerations: interleaving them moves the same position.
    bool FirstSubkey(std::wstring& name);
    bool NextSubkey(std::wstring& name);
    bool FirstValue(std::wstring& name);
    bool NextValue(std::wstring& name);

    bool SubkeyExists(const wchar_t* path);
    bool ValueExists(const wchar_t* name);
    // REG_SZ, REG_DWORD, ... or 0 when the value does not exist.
    DWORD ValueType(const wchar_t* name);
    bool DeleteValue(const wchar_t* name);

private:
    bool EnumSubkeyAtCursor(std::wstring& name);
    bool EnumValueAtCursor(std::wstring& name);
    bool WriteMultiStringList(const wchar_t* name, const std::wstring* strings, size_t count);

    HKEY m_handle = nullptr;
    DWORD m_cursor = 0;
};

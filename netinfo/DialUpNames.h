// Dial-up (RAS) connection names: entry 0 is always the USB cable, later entries are phone-book
// entry names in the order first seen. The index of a name is its dial-up number, which the
// usage logs record as "ppp:%d".
#pragma once

#include <string>
#include <vector>

#include "platform/core/WinTypes.h"

constexpr DWORD IndexNotFound = 999;

class DialUpNames {
public:
    // Any name containing "USB" stands for the cable and becomes "USB Sync Cable".
    DWORD AddRasName(const std::wstring& name);
    // Exact search, without the cable replacement; IndexNotFound when absent.
    DWORD FindRasName(const std::wstring& name) const;
    // The empty string for an index past the end.
    std::wstring RasNameAt(DWORD index) const;
    DWORD Count() const { return static_cast<DWORD>(m_names.size()); }

    // The stored form: every name followed by "*".
    std::wstring ToText() const;
    // Adds each "*"-terminated piece of a stored text in order.
    void AddFromText(const std::wstring& text);

private:
    std::vector<std::wstring> m_names;
};

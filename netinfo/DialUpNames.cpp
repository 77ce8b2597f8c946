#include "netinfo/DialUpNames.h"

#include "platform/text/WideString.h"
#include "settings/SettingsText.h"

DWORD DialUpNames::AddRasName(const std::wstring& name)
{
    std::wstring recorded = Contains(name, L"USB") ? std::wstring(L"USB Sync Cable") : name;
    for (size_t i = 0; i < m_names.size(); ++i) {
        if (m_names[i] == recorded)
            return static_cast<DWORD>(i);
    }
    m_names.push_back(recorded);
    return static_cast<DWORD>(m_names.size() - 1);
}

DWORD DialUpNames::FindRasName(const std::wstring& name) const
{
    for (size_t i = 0; i < m_names.size(); ++i) {
        if (m_names[i] == name)
            return static_cast<DWORD>(i);
    }
    return IndexNotFound;
}

std::wstring DialUpNames::RasNameAt(DWORD index) const
{
    return index < m_names.size() ? m_names[index] : std::wstring();
}

std::wstring DialUpNames::ToText() const
{
    return JoinStarTerminated(m_names);
}

void DialUpNames::AddFromText(const std::wstring& text)
{
    for (const std::wstring& piece : SplitStarTerminated(text))
        AddRasName(piece);
}

#include "usage/NameList.h"

NameList::NameList(std::initializer_list<std::wstring> names)
{
    for (const std::wstring& name : names)
        Add(name);
}

BOOL NameList::Add(const std::wstring& name)
{
    if (!m_index.insert(name).second)
        return FALSE;
    m_names.push_back(name);
    return TRUE;
}

void NameList::Clear()
{
    m_names.clear();
    m_index.clear();
}

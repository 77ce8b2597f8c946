#include "netinfo/InterfaceTable.h"

#include <algorithm>
#include <cstdlib>

#include "platform/debug/DebugConsole.h"
#include "platform/text/Format.h"
#include "platform/text/WideString.h"

InterfaceTable::InterfaceTable()
{
    Refresh();
}

InterfaceTable::~InterfaceTable()
{
    std::free(m_pTable);
}

DWORD InterfaceTable::Refresh()
{
    DWORD result = GetIfTable(m_pTable, &m_dwBufferSize, TRUE);
    if (result != NO_ERROR) {
        // The buffer is replaced only by one of the size the platform asked for.
        std::free(m_pTable);
        m_pTable = static_cast<MIB_IFTABLE*>(std::malloc(m_dwBufferSize));
        if (m_pTable == nullptr) {
            OutputDebugStringA("\n Insufficient Memory ");
            return 1;
        }
        result = GetIfTable(m_pTable, &m_dwBufferSize, TRUE);
        if (result != NO_ERROR) {
            // What the buffer holds now is not a table.
            std::free(m_pTable);
            m_pTable = nullptr;
            m_dwBufferSize = 0;
            OutputDebugStringW(Fmt(L"InterfaceTable: GetIfTable failed (%u)\n", result).c_str());
            return 1;
        }
    }
    GetNumberOfInterfaces(&m_dwInterfaceCount);
    return 0;
}

DWORD InterfaceTable::InterfaceCount()
{
    GetNumberOfInterfaces(&m_dwInterfaceCount);
    return m_dwInterfaceCount;
}

DWORD InterfaceTable::RowCount() const
{
    if (m_pTable == nullptr)
        return 0;
    // Every search runs over the count the platform last gave, never past what the table holds.
    return std::min(m_dwInterfaceCount, m_pTable->dwNumEntries);
}

const MIB_IFROW& InterfaceTable::Row(DWORD i) const
{
    return m_pTable->table[i];
}

const MIB_IFROW* InterfaceTable::FindRow(DWORD index) const
{
    for (DWORD i = 0; i < RowCount(); ++i)
        if (IndexMatches(m_pTable->table[i].dwIndex, index))
            return &m_pTable->table[i];
    return nullptr;
}

DWORD InterfaceTable::LookupInterfaceIndexByName(std::wstring_view name) const
{
    for (DWORD i = 0; i < RowCount(); ++i)
        if (EqualsNoCase(m_pTable->table[i].wszName, name))
            return m_pTable->table[i].dwIndex & 0xFFFFu;
    return IndexNotFound;
}

std::wstring InterfaceTable::InterfaceNameOf(DWORD index) const
{
    const MIB_IFROW* row = FindRow(index);
    return row == nullptr ? std::wstring() : std::wstring(row->wszName);
}

DWORD InterfaceTable::GetOutOctets(DWORD index, DWORD& octets) const
{
    const MIB_IFROW* row = FindRow(index);
    if (row == nullptr)
        return IndexNotFound;
    octets = row->dwOutOctets;
    return 0;
}

DWORD InterfaceTable::GetInOctets(DWORD index, DWORD& octets) const
{
    const MIB_IFROW* row = FindRow(index);
    if (row == nullptr)
        return IndexNotFound;
    octets = row->dwInOctets;
    return 0;
}

DWORD InterfaceTable::GetPhysicalAddress(DWORD index, std::wstring& text) const
{
    const MIB_IFROW* row = FindRow(index);
    if (row == nullptr) {
        SetNetText(text, L"GetPhysicalAddress: InvalidIndex");
        return IndexNotFound;
    }
    std::wstring address;
    DWORD length = std::min<DWORD>(row->dwPhysAddrLen, MAXLEN_PHYSADDR);
    for (DWORD i = 0; i < length; ++i) {
        if (i + 1 < length)
            AppendFmt(address, L"%02X-", static_cast<DWORD>(row->bPhysAddr[i]));
        else
            AppendFmt(address, L"%02X", static_cast<DWORD>(row->bPhysAddr[i]));
    }
    SetNetText(text, address);
    return 0;
}

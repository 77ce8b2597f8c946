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
    FreeMibTable(m_pTable);
}

DWORD InterfaceTable::Refresh()
{
    MIB_IF_TABLE2* fresh = nullptr;
    DWORD result = GetIfTable2(&fresh);
    // A failure is asked again at once, as the older table call was asked again after any
    // failure to learn its size: one passing fault costs no tick its table.
    if (result != NO_ERROR)
        result = GetIfTable2(&fresh);
    // A failed refresh leaves no table: rows of an older snapshot would name interfaces that
    // may have gone.
    FreeMibTable(m_pTable);
    m_pTable = nullptr;
    if (result != NO_ERROR) {
        if (result == ERROR_NOT_ENOUGH_MEMORY)
            OutputDebugStringA("\n Insufficient Memory ");
        else
            OutputDebugStringW(Fmt(L"InterfaceTable: GetIfTable2 failed (%u)\n", result).c_str());
        return 1;
    }
    m_pTable = fresh;
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
    return std::min(m_dwInterfaceCount, m_pTable->NumEntries);
}

const MIB_IF_ROW2& InterfaceTable::Row(DWORD i) const
{
    return m_pTable->Table[i];
}

const MIB_IF_ROW2* InterfaceTable::FindRow(DWORD index) const
{
    for (DWORD i = 0; i < RowCount(); ++i)
        if (IndexMatches(m_pTable->Table[i].InterfaceIndex, index))
            return &m_pTable->Table[i];
    return nullptr;
}

DWORD InterfaceTable::LookupInterfaceIndexByName(std::wstring_view name) const
{
    for (DWORD i = 0; i < RowCount(); ++i)
        if (EqualsNoCase(m_pTable->Table[i].Alias, name))
            return m_pTable->Table[i].InterfaceIndex & 0xFFFFu;
    return IndexNotFound;
}

std::wstring InterfaceTable::InterfaceNameOf(DWORD index) const
{
    const MIB_IF_ROW2* row = FindRow(index);
    return row == nullptr ? std::wstring() : std::wstring(row->Alias);
}

DWORD InterfaceTable::GetMachineIndex(DWORD index, int& machineIndex) const
{
    const MIB_IF_ROW2* row = FindRow(index);
    if (row == nullptr)
        return IndexNotFound;
    machineIndex = MachineInterfaceIndex(*row);
    return 0;
}

DWORD InterfaceTable::GetOutOctets(DWORD index, ULONG64& octets) const
{
    const MIB_IF_ROW2* row = FindRow(index);
    if (row == nullptr)
        return IndexNotFound;
    octets = row->OutOctets;
    return 0;
}

DWORD InterfaceTable::GetInOctets(DWORD index, ULONG64& octets) const
{
    const MIB_IF_ROW2* row = FindRow(index);
    if (row == nullptr)
        return IndexNotFound;
    octets = row->InOctets;
    return 0;
}

DWORD InterfaceTable::GetPhysicalAddress(DWORD index, std::wstring& text) const
{
    const MIB_IF_ROW2* row = FindRow(index);
    if (row == nullptr) {
        SetNetText(text, L"GetPhysicalAddress: InvalidIndex");
        return IndexNotFound;
    }
    std::wstring address;
    DWORD length = std::min<DWORD>(row->PhysicalAddressLength, MAXLEN_PHYSADDR);
    for (DWORD i = 0; i < length; ++i) {
        if (i + 1 < length)
            AppendFmt(address, L"%02X-", static_cast<DWORD>(row->PhysicalAddress[i]));
        else
            AppendFmt(address, L"%02X", static_cast<DWORD>(row->PhysicalAddress[i]));
    }
    SetNetText(text, address);
    return 0;
}

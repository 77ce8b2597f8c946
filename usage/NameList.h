// Interface names in order of first appearance, without duplicates, compared exactly.
#pragma once

#include <initializer_list>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/core/WinTypes.h"

// The names are kept once more in a hash set beside the list, so that adding one does not
// search the list: an export over logs of many names would otherwise take quadratic time.
// Read-only access only, so that the two cannot drift apart.
class NameList {
public:
    using const_iterator = std::vector<std::wstring>::const_iterator;
    using iterator = const_iterator;

    NameList() = default;
    // The names in order, a repeated one only the first time.
    NameList(std::initializer_list<std::wstring> names);

    // TRUE when the name was appended, FALSE when the list already holds it.
    BOOL Add(const std::wstring& name);
    bool Contains(const std::wstring& name) const { return m_index.count(name) != 0; }
    void Clear();

    size_t size() const { return m_names.size(); }
    bool empty() const { return m_names.empty(); }
    const std::wstring& operator[](size_t at) const { return m_names[at]; }
    const_iterator begin() const { return m_names.begin(); }
    const_iterator end() const { return m_names.end(); }

    // Equal when the same names stand in the same order.
    bool operator==(const NameList& other) const { return m_names == other.m_names; }

private:
    std::vector<std::wstring> m_names;
    std::unordered_set<std::wstring> m_index;
};

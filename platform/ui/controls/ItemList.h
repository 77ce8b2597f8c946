// The strings of a combo box or list box with their item data and the one selected item, kept
// by the platform's rules: sorted insertion, searches that wrap and ignore case, and a
// selection that follows its item as others are inserted or deleted.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/WinUser.h"

namespace platform::ui {

struct ListItem {
    std::wstring text;
    LPARAM data = 0;
};

class ItemList {
public:
    int Count() const { return static_cast<int>(m_items.size()); }
    const ListItem* At(int index) const;
    ListItem* At(int index);

    // Appends, or with sorted puts the text after every item that does not sort after it; the
    // item's index.
    int Add(std::wstring text, bool sorted);
    // Inserts before index, at the end for -1; -1 when the index is beyond the end.
    int Insert(int index, std::wstring text);
    // The count left, or -1 when there is no such item.
    int Delete(int index);
    void Clear();

    // The first item after start (from the first for -1), wrapping round to start itself,
    // whose text equals the text (exact) or begins with it, ignoring case; -1 when none.
    int Find(int start, std::wstring_view text, bool exact) const;

    // The answers of the item messages a combo box and a list box share (CB_GETLBTEXT /
    // LB_GETTEXT, ..._GETTEXTLEN, ..._SETITEMDATA, ..._GETITEMDATA); -1, which is both CB_ERR
    // and LB_ERR, when there is no such item. The platform takes no size for the text's buffer:
    // the caller's must hold it.
    LRESULT CopyText(int index, LPWSTR buffer) const;
    LRESULT TextLength(int index) const;
    LRESULT SetData(int index, LPARAM data);
    LRESULT Data(int index) const;

    int Selection() const { return m_selection; }
    // Selects an existing item, or clears the selection for any other index; false then.
    bool Select(int index);

private:
    std::vector<ListItem> m_items;
    int m_selection = -1;
};

} // namespace platform::ui

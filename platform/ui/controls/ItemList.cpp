#include "platform/ui/controls/ItemList.h"

#include "platform/text/WideString.h"
#include "platform/ui/controls/ControlSupport.h"

namespace platform::ui {

const ListItem* ItemList::At(int index) const
{
    return index >= 0 && index < Count() ? &m_items[static_cast<size_t>(index)] : nullptr;
}

ListItem* ItemList::At(int index)
{
    return index >= 0 && index < Count() ? &m_items[static_cast<size_t>(index)] : nullptr;
}

int ItemList::Add(std::wstring text, bool sorted)
{
    if (!sorted)
        return Insert(-1, std::move(text));
    std::wstring key = WideToLower(text);
    int index = Count();
    while (index > 0 && WideToLower(m_items[static_cast<size_t>(index - 1)].text) > key)
        --index;
    return Insert(index, std::move(text));
}

int ItemList::Insert(int index, std::wstring text)
{
    if (index == -1)
        index = Count();
    if (index < 0 || index > Count())
        return -1;
    m_items.insert(m_items.begin() + index, ListItem { std::move(text), 0 });
    if (m_selection >= index)
        ++m_selection;
    return index;
}

int ItemList::Delete(int index)
{
    if (At(index) == nullptr)
        return -1;
    m_items.erase(m_items.begin() + index);
    if (m_selection == index)
        m_selection = -1;
    else if (m_selection > index)
        --m_selection;
    return Count();
}

LRESULT ItemList::CopyText(int index, LPWSTR buffer) const
{
    const ListItem* item = At(index);
    if (item == nullptr)
        return -1;
    return CopyToBuffer(item->text, buffer, static_cast<int>(item->text.size()) + 1);
}

LRESULT ItemList::TextLength(int index) const
{
    const ListItem* item = At(index);
    return item != nullptr ? static_cast<LRESULT>(item->text.size()) : -1;
}

LRESULT ItemList::SetData(int index, LPARAM data)
{
    ListItem* item = At(index);
    if (item == nullptr)
        return -1;
    item->data = data;
    return TRUE;
}

LRESULT ItemList::Data(int index) const
{
    const ListItem* item = At(index);
    return item != nullptr ? item->data : -1;
}

void ItemList::Clear()
{
    m_items.clear();
    m_selection = -1;
}

int ItemList::Find(int start, std::wstring_view text, bool exact) const
{
    int count = Count();
    if (count == 0)
        return -1;
    if (start < -1 || start >= count)
        start = -1;
    std::wstring key = WideToLower(text);
    for (int step = 1; step <= count; ++step) {
        int index = (start + step) % count;
        std::wstring candidate = WideToLower(m_items[static_cast<size_t>(index)].text);
        if (exact ? candidate == key : candidate.compare(0, key.size(), key) == 0)
            return index;
    }
    return -1;
}

bool ItemList::Select(int index)
{
    if (At(index) == nullptr) {
        m_selection = -1;
        return false;
    }
    m_selection = index;
    return true;
}

} // namespace platform::ui

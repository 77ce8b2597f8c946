#include "settings/SettingsText.h"

#include "platform/text/Format.h"
#include "platform/text/WideString.h"

std::vector<std::wstring> SplitStarTerminated(const std::wstring& text)
{
    std::vector<std::wstring> pieces;
    size_t start = 0;
    for (size_t star = text.find(L'*'); star != std::wstring::npos; star = text.find(L'*', start)) {
        pieces.push_back(text.substr(start, star - start));
        start = star + 1;
    }
    return pieces;
}

std::wstring JoinStarTerminated(const std::vector<std::wstring>& pieces)
{
    std::wstring text;
    for (const std::wstring& piece : pieces)
        AppendFmt(text, L"%s*", piece);
    return text;
}

std::wstring FormatViewItems(const ViewItem* items, size_t count)
{
    std::wstring text;
    for (size_t i = 0; i < count; ++i) {
        const ViewItem& item = items[i];
        AppendFmt(text, L"%d*%s*%d*%d*%d*%d,", item.id, item.name != nullptr ? item.name : L"", item.nameLength,
            item.visible, item.position, item.reserved);
    }
    return text;
}

namespace {

// The text before the next separator, removing it and the separator from the rest; a missing
// separator takes the whole rest.
std::wstring CutField(std::wstring& rest, wchar_t separator)
{
    size_t at = rest.find(separator);
    std::wstring field = rest.substr(0, at);
    rest = at == std::wstring::npos ? std::wstring() : rest.substr(at + 1);
    return field;
}

} // namespace

std::vector<ViewItem> ParseViewItems(const std::wstring& text)
{
    std::vector<ViewItem> items;
    size_t start = 0;
    for (size_t comma = text.find(L','); comma != std::wstring::npos; comma = text.find(L',', start)) {
        std::wstring rest = text.substr(start, comma - start);
        start = comma + 1;
        ViewItem item;
        item.id = static_cast<DWORD>(WtoL(CutField(rest, L'*')));
        CutField(rest, L'*'); // the name is written for readability only
        item.nameLength = static_cast<DWORD>(WtoL(CutField(rest, L'*')));
        item.visible = static_cast<DWORD>(WtoL(CutField(rest, L'*')));
        item.position = static_cast<DWORD>(WtoL(CutField(rest, L'*')));
        item.reserved = static_cast<DWORD>(WtoL(rest));
        item.name = ViewItemName(item.id);
        items.push_back(item);
    }
    return items;
}

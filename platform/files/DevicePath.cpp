#include "platform/files/DevicePath.h"

#include "platform/text/Utf16.h"

namespace platform {

namespace {

bool IsSeparator(wchar_t ch)
{
    return ch == L'\\' || ch == L'/';
}

// Splits at separators, dropping empty components.
std::vector<std::wstring_view> SplitComponents(std::wstring_view text)
{
    std::vector<std::wstring_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || IsSeparator(text[i])) {
            if (i > start)
                parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

DWORD CheckLength(std::wstring_view text)
{
    if (text.empty())
        return ERROR_PATH_NOT_FOUND;
    if (Utf16Length(text) >= MAX_PATH)
        return ERROR_FILENAME_EXCED_RANGE;
    return ERROR_SUCCESS;
}

DWORD Normalise(const std::vector<std::wstring_view>& parts, std::vector<std::wstring>& names)
{
    names.clear();
    for (std::wstring_view part : parts) {
        if (part == L".")
            continue;
        if (part == L"..") {
            if (names.empty())
                return ERROR_ACCESS_DENIED;
            names.pop_back();
            continue;
        }
        if (!IsValidEntryName(part))
            return ERROR_INVALID_NAME;
        names.emplace_back(part);
    }
    return ERROR_SUCCESS;
}

} // namespace

bool IsValidEntryName(std::wstring_view name, bool allowWildcards)
{
    if (name.empty())
        return false;
    for (wchar_t ch : name) {
        if (static_cast<uint32_t>(ch) < 0x20)
            return false;
        switch (ch) {
        case L'<':
        case L'>':
        case L':':
        case L'"':
        case L'|':
        case L'\\':
        case L'/':
            return false;
        case L'*':
        case L'?':
            if (!allowWildcards)
                return false;
            break;
        default:
            break;
        }
    }
    return true;
}

DWORD DevicePath::Parse(std::wstring_view text, DevicePath& path)
{
    if (DWORD error = CheckLength(text))
        return error;
    DevicePath parsed;
    if (DWORD error = Normalise(SplitComponents(text), parsed.m_names))
        return error;
    // "a" stands for "\a": the full form must fit as well.
    if (Utf16Length(parsed.ToString()) >= MAX_PATH)
        return ERROR_FILENAME_EXCED_RANGE;
    path = std::move(parsed);
    return ERROR_SUCCESS;
}

DWORD DevicePath::ParseSearch(std::wstring_view text, DevicePath& folder, std::wstring& pattern)
{
    if (DWORD error = CheckLength(text))
        return error;
    size_t cut = text.find_last_of(L"\\/");
    std::wstring_view last = cut == std::wstring_view::npos ? text : text.substr(cut + 1);
    std::wstring_view rest = cut == std::wstring_view::npos ? std::wstring_view() : text.substr(0, cut);
    if (!last.empty() && !IsValidEntryName(last, true))
        return ERROR_INVALID_NAME;
    DevicePath parsed;
    if (DWORD error = Normalise(SplitComponents(rest), parsed.m_names))
        return error;
    size_t folderLength = parsed.IsRoot() ? 0 : Utf16Length(parsed.ToString());
    if (folderLength + 1 + Utf16Length(last) >= MAX_PATH)
        return ERROR_FILENAME_EXCED_RANGE;
    folder = std::move(parsed);
    pattern = std::wstring(last);
    return ERROR_SUCCESS;
}

const std::wstring& DevicePath::Leaf() const
{
    static const std::wstring none;
    return m_names.empty() ? none : m_names.back();
}

DevicePath DevicePath::Parent() const
{
    DevicePath parent = *this;
    if (!parent.m_names.empty())
        parent.m_names.pop_back();
    return parent;
}

DevicePath DevicePath::Child(std::wstring name) const
{
    DevicePath child = *this;
    child.m_names.push_back(std::move(name));
    return child;
}

std::wstring DevicePath::ToString() const
{
    if (m_names.empty())
        return L"\\";
    std::wstring text;
    for (const std::wstring& name : m_names) {
        text += L'\\';
        text += name;
    }
    return text;
}

} // namespace platform

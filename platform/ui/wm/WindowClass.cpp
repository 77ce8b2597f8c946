#include "platform/ui/wm/WindowClass.h"

#include <algorithm>

#include "platform/core/LastError.h"
#include "platform/text/WideString.h"

namespace platform::ui {

WindowClass* WindowClassTable::Register(const WNDCLASSW& wndClass, bool system, PeerKind peerKind)
{
    std::wstring_view name = wndClass.lpszClassName != nullptr ? wndClass.lpszClassName : L"";
    if (name.empty() || wndClass.lpfnWndProc == nullptr || wndClass.cbClsExtra < 0 || wndClass.cbWndExtra < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HINSTANCE instance = system ? nullptr : wndClass.hInstance;
    for (const auto& existing : m_classes) {
        if (existing->instance == instance && EqualsNoCase(existing->name, name)) {
            SetLastError(ERROR_CLASS_ALREADY_EXISTS);
            return nullptr;
        }
    }
    auto entry = std::make_unique<WindowClass>();
    entry->name = std::wstring(name);
    entry->instance = instance;
    entry->style = wndClass.style;
    entry->proc = wndClass.lpfnWndProc;
    entry->classExtraBytes = wndClass.cbClsExtra;
    entry->windowExtraBytes = wndClass.cbWndExtra;
    entry->icon = wndClass.hIcon;
    entry->cursor = wndClass.hCursor;
    entry->background = wndClass.hbrBackground;
    entry->atom = m_nextAtom++;
    entry->system = system;
    entry->peerKind = peerKind;
    m_classes.push_back(std::move(entry));
    return m_classes.back().get();
}

bool WindowClassTable::Unregister(std::wstring_view name, HINSTANCE instance)
{
    auto it = std::find_if(m_classes.begin(), m_classes.end(), [&](const auto& entry) {
        return !entry->system && entry->instance == instance && EqualsNoCase(entry->name, name);
    });
    if (it == m_classes.end()) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return false;
    }
    if ((*it)->windowCount > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return false;
    }
    m_classes.erase(it);
    return true;
}

WindowClass* WindowClassTable::Find(std::wstring_view name, HINSTANCE instance)
{
    WindowClass* system = nullptr;
    WindowClass* global = nullptr;
    for (const auto& entry : m_classes) {
        if (!EqualsNoCase(entry->name, name))
            continue;
        if (entry->system)
            system = entry.get();
        else if (entry->instance == instance)
            return entry.get();
        else if ((entry->style & CS_GLOBALCLASS) != 0 && global == nullptr)
            global = entry.get();
    }
    if (system != nullptr)
        return system;
    if (global != nullptr)
        return global;
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
}

WindowClass* WindowClassTable::FindByAtom(ATOM atom)
{
    for (const auto& entry : m_classes) {
        if (entry->atom == atom)
            return entry.get();
    }
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
}

} // namespace platform::ui

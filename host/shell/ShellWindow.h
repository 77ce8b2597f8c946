// What the shell's own windows share: their classes, registered once, and the object behind
// each window, handed over at creation and kept in the window's user data.
#pragma once

#include "platform/ui/WinUser.h"

namespace host {

// True when the class is there (registered now or before).
bool RegisterShellClass(const wchar_t* name, WNDPROC proc, HBRUSH background);

// The object given as the creation parameter: stored at WM_NCCREATE, found afterwards.
template <class T>
T* ShellObject(HWND window, UINT message, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongW(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<T*>(GetWindowLongW(window, GWL_USERDATA));
}

// A window procedure's hand-off to its object's handler, once the object knows its window
// (messages of creation before that go to the default procedure). Called from the class's own
// static procedure, which names its private window member and handler.
template <class T>
LRESULT DispatchToShellObject(HWND window, UINT message, WPARAM wParam, LPARAM lParam, HWND T::*windowMember,
    LRESULT (T::*handler)(UINT, WPARAM, LPARAM))
{
    T* self = ShellObject<T>(window, message, lParam);
    if (self == nullptr || self->*windowMember != window)
        return DefWindowProcW(window, message, wParam, lParam);
    return (self->*handler)(message, wParam, lParam);
}

} // namespace host

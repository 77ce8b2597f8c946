// What the system's controls share: the data a control keeps beside its window, and the ways
// a control tells its parent what happened.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/text/WideString.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/wm/Window.h"

namespace platform::ui {

// The control's data of type T, made on first use.
template <typename T>
T& DataOf(Window& window)
{
    if (auto* data = dynamic_cast<T*>(window.control.get()))
        return *data;
    auto made = std::make_unique<T>();
    T& result = *made;
    window.control = std::move(made);
    return result;
}

// WM_COMMAND with the control's id and the code to its parent; 0 when it has none.
LRESULT NotifyCommand(Window& control, WORD code);
// WM_NOTIFY to the parent with the header's sender, id and code filled in; the parent's
// answer.
LRESULT NotifyParent(Window& control, NMHDR& header, UINT code);

// A text given by a message parameter; empty for null.
std::wstring_view TextParameter(LPARAM text);

} // namespace platform::ui

#include "platform/ui/controls/ControlSupport.h"

#include <algorithm>

namespace platform::ui {

LRESULT NotifyCommand(Window& control, WORD code)
{
    if (control.parent == nullptr || control.IsTopLevel())
        return 0;
    return SendMessageW(control.parent->Handle(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(control.id), code),
        reinterpret_cast<LPARAM>(control.Handle()));
}

LRESULT NotifyParent(Window& control, NMHDR& header, UINT code)
{
    header.hwndFrom = control.Handle();
    header.idFrom = static_cast<UINT_PTR>(control.id);
    header.code = code;
    if (control.parent == nullptr || control.IsTopLevel())
        return 0;
    return SendMessageW(control.parent->Handle(), WM_NOTIFY, static_cast<WPARAM>(control.id),
        reinterpret_cast<LPARAM>(&header));
}

std::wstring_view TextParameter(LPARAM text)
{
    auto* chars = reinterpret_cast<LPCWSTR>(text);
    return chars != nullptr ? std::wstring_view(chars) : std::wstring_view();
}

} // namespace platform::ui

#include "platform/ui/controls/ButtonControl.h"

#include <algorithm>

#include "platform/ui/WinGdi.h"
#include "platform/ui/backend/RenderBackend.h"
#include "platform/ui/wm/Window.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

namespace {

// The other automatic radio buttons of the group: from the sibling that starts the group
// (WS_GROUP) to the next one that starts another.
void UncheckGroupSiblings(Window& button)
{
    if (button.parent == nullptr)
        return;
    auto& siblings = button.parent->children;
    auto at = std::find(siblings.begin(), siblings.end(), &button);
    auto first = at;
    while (first != siblings.begin() && ((*first)->style & WS_GROUP) == 0)
        --first;
    for (auto it = first; it != siblings.end(); ++it) {
        if (it != first && ((*it)->style & WS_GROUP) != 0)
            break;
        Window* other = *it;
        if (other != &button && other->Class().proc == ButtonProc && ButtonType(*other) == BS_AUTORADIOBUTTON
            && other->check != BST_UNCHECKED)
            SendMessageW(other->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

void Notify(Window& button, WORD code)
{
    if (button.parent == nullptr)
        return;
    SendMessageW(button.parent->Handle(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(button.id), code),
        reinterpret_cast<LPARAM>(button.Handle()));
}

void DrawOwnerButton(Window& button)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(button.Handle(), &ps);
    DRAWITEMSTRUCT item {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(button.id);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = (button.pressed ? ODS_SELECTED : 0u) | ((button.style & WS_DISABLED) != 0 ? ODS_DISABLED : 0u);
    item.hwndItem = button.Handle();
    item.hDC = dc;
    item.rcItem = RECT { 0, 0, button.ClientWidth(), button.ClientHeight() };
    if (button.parent != nullptr)
        SendMessageW(button.parent->Handle(), WM_DRAWITEM, static_cast<WPARAM>(button.id), reinterpret_cast<LPARAM>(&item));
    EndPaint(button.Handle(), &ps);
}

} // namespace

DWORD ButtonType(const Window& window)
{
    return window.style & BS_TYPEMASK;
}

bool IsCheckButtonType(DWORD type)
{
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX;
}

bool IsRadioButtonType(DWORD type)
{
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

LRESULT ButtonProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* button = WindowManager::Get().Find(handle);
    if (button == nullptr)
        return 0;
    WindowPeer* peer = button->peer;
    DWORD type = ButtonType(*button);
    switch (message) {
    case BM_GETCHECK:
        return IsCheckButtonType(type) || IsRadioButtonType(type) ? button->check : BST_UNCHECKED;
    case BM_SETCHECK:
        if (IsCheckButtonType(type) || IsRadioButtonType(type))
            button->check = wParam == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
        if (peer != nullptr)
            peer->SyncState();
        return 0;
    case BM_GETSTATE:
        return (IsCheckButtonType(type) || IsRadioButtonType(type) ? button->check : 0u) | (button->pressed ? BST_PUSHED : 0u);
    case BM_SETSTATE:
        button->pressed = wParam != 0;
        if (peer != nullptr)
            peer->SyncState();
        InvalidateRect(handle, nullptr, FALSE);
        return 0;
    case BM_SETSTYLE:
        button->style = (button->style & ~static_cast<DWORD>(0xFFFF)) | static_cast<DWORD>(wParam & 0xFFFF);
        return 0;
    case BM_CLICK:
        // The user's click: a disabled button ignores it; automatic buttons change their own
        // state; the parent hears BN_CLICKED.
        if ((button->style & WS_DISABLED) != 0 || type == BS_GROUPBOX)
            return 0;
        if (type == BS_AUTOCHECKBOX)
            SendMessageW(handle, BM_SETCHECK, button->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
        else if (type == BS_AUTORADIOBUTTON) {
            UncheckGroupSiblings(*button);
            SendMessageW(handle, BM_SETCHECK, BST_CHECKED, 0);
        } else if (peer != nullptr)
            peer->SyncState(); // manual buttons keep the state their owner sets
        Notify(*button, BN_CLICKED);
        return 0;
    case WM_LBUTTONDOWN:
        if (type == BS_OWNERDRAW) {
            button->pressed = true;
            InvalidateRect(handle, nullptr, FALSE);
        }
        return 0;
    case WM_LBUTTONUP:
        if (type == BS_OWNERDRAW && button->pressed) {
            button->pressed = false;
            InvalidateRect(handle, nullptr, FALSE);
            Notify(*button, BN_CLICKED);
        }
        return 0;
    case WM_PAINT:
        if (type == BS_OWNERDRAW) {
            DrawOwnerButton(*button);
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_NCHITTEST:
        // A group box only frames its siblings: the stylus goes through it to the dialog.
        if (type == BS_GROUPBOX)
            return HTTRANSPARENT;
        break;
    default:
        break;
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

} // namespace platform::ui

// Dialogs from templates, modal loops, and the dialog item calls.

#include "platform/core/LastError.h"
#include "platform/device/Device.h"
#include "platform/ui/Resources.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/backend/RenderBackend.h"
#include "platform/ui/controls/DialogRunner.h"
#include "platform/ui/wm/DialogState.h"
#include "platform/ui/gdi/GdiObject.h"
#include "platform/ui/wm/UiDriver.h"
#include "platform/ui/wm/Window.h"
#include "platform/ui/wm/WindowActions.h"
#include "platform/ui/wm/WindowManager.h"

using namespace platform::ui;

namespace {

int MulDivRound(int value, int numerator, int denominator)
{
    int64_t product = static_cast<int64_t>(value) * numerator;
    int64_t half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

// The dialog font: the template's point size at the device's resolution, or the system font.
HFONT MakeDialogFont(const DLGTEMPLATE& dialogTemplate)
{
    LOGFONTW font = SystemLogFont();
    if ((dialogTemplate.style & DS_SETFONT) != 0 && dialogTemplate.pointSize > 0) {
        int dpi = platform::CurrentDevice().dpi;
        font.lfHeight = -((dialogTemplate.pointSize * dpi + 36) / 72);
    }
    return CreateFontIndirectW(&font);
}

// The average character width (over the alphabet, rounded) and the height of the font.
void BaseUnits(HFONT font, int& x, int& y)
{
    SIZE extent = Renderer().TextExtent(LogFontOfHandle(font), L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", nullptr);
    x = (extent.cx / 26 + 1) / 2;
    y = extent.cy;
}

RECT ToPixels(int x, int y, int cx, int cy, int baseX, int baseY)
{
    int left = MulDivRound(x, baseX, 4);
    int top = MulDivRound(y, baseY, 8);
    return RECT { left, top, left + MulDivRound(cx, baseX, 4), top + MulDivRound(cy, baseY, 8) };
}

Window* DialogWindow(HWND dialog)
{
    Window* window = WindowFromHandle(dialog);
    if (window != nullptr && window->dialog == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return window;
}

HWND CreateDialogWindow(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent, DLGPROC proc, LPARAM param,
    bool modal, DialogKind kind = DialogKind::Template, void* request = nullptr)
{
    auto& manager = WindowManager::Get();
    if (dialogTemplate == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const DLGTEMPLATE& t = *dialogTemplate;
    HFONT font = MakeDialogFont(t);
    int baseX = 0;
    int baseY = 0;
    BaseUnits(font, baseX, baseY);

    // Dialog units are client units; the frame comes around them.
    DWORD style = t.style & ~static_cast<DWORD>(WS_VISIBLE);
    if ((t.style & DS_MODALFRAME) != 0)
        style |= WS_DLGFRAME;
    RECT client = ToPixels(t.x, t.y, t.cx, t.cy, baseX, baseY);
    int edge = ((style & (WS_BORDER | WS_DLGFRAME)) != 0 ? 1 : 0) + ((t.dwExtendedStyle & WS_EX_CLIENTEDGE) != 0 ? 2 : 0);
    int width = client.right - client.left + 2 * edge;
    int height = client.bottom - client.top + 2 * edge;
    int x = client.left;
    int y = client.top;
    const platform::DeviceProfile& device = platform::CurrentDevice();
    if ((style & WS_CHILD) == 0) {
        if ((t.style & DS_CENTER) != 0) {
            x = (device.screenWidth - width) / 2;
            y = (device.screenHeight - height) / 2;
        } else if ((t.style & DS_ABSALIGN) == 0 && parent != nullptr) {
            // Relative to the owner's client area.
            POINT origin { 0, 0 };
            ClientToScreen(parent, &origin);
            x += origin.x;
            y += origin.y;
        }
    }

    HWND dialog = CreateWindowExW(t.dwExtendedStyle, L"#32770", t.title != nullptr ? t.title : L"", style, x, y, width,
        height, parent, nullptr, instance, nullptr);
    if (dialog == nullptr) {
        DeleteObject(font);
        return nullptr;
    }
    Window* window = manager.Find(dialog);
    window->dialog = std::make_unique<DialogState>();
    DialogState& state = *window->dialog;
    state.proc = proc;
    state.modal = modal;
    state.templateData = dialogTemplate;
    state.templateId = platform::DialogTemplateId(dialogTemplate);
    state.kind = kind;
    state.request = request;
    state.font = font;
    state.baseUnitX = baseX;
    state.baseUnitY = baseY;
    window->font = font;

    HWND firstTabStop = nullptr;
    for (WORD i = 0; i < t.cdit && t.items != nullptr; ++i) {
        const DLGITEMTEMPLATE& item = t.items[i];
        RECT rect = ToPixels(item.x, item.y, item.cx, item.cy, baseX, baseY);
        HWND control = CreateWindowExW(item.dwExtendedStyle, item.className, item.title != nullptr ? item.title : L"",
            item.style | WS_CHILD, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, dialog,
            reinterpret_cast<HMENU>(static_cast<uintptr_t>(item.id)), instance, nullptr);
        if (control == nullptr)
            continue; // a control the platform cannot make is left out, as the platform does
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (firstTabStop == nullptr && (item.style & WS_TABSTOP) != 0)
            firstTabStop = control;
    }

    if (SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTabStop), param) != 0 && firstTabStop != nullptr
        && IsWindow(firstTabStop))
        SetFocus(firstTabStop);
    if (manager.Find(dialog) == nullptr)
        return nullptr;
    if ((t.style & WS_VISIBLE) != 0 && !modal && !window->dialog->ended)
        ShowWindow(dialog, SW_SHOWNORMAL);
    return dialog;
}

} // namespace

HWND CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent, DLGPROC proc,
    LPARAM param)
{
    return CreateDialogWindow(instance, dialogTemplate, parent, proc, param, false);
}

INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent, DLGPROC proc,
    LPARAM param)
{
    return RunModalDialog(instance, dialogTemplate, parent, proc, param, DialogKind::Template, nullptr);
}

namespace platform::ui {

INT_PTR RunModalDialog(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent, DLGPROC proc, LPARAM param,
    DialogKind kind, void* request)
{
    auto& manager = WindowManager::Get();
    HWND owner = nullptr;
    if (parent != nullptr) {
        Window* ownerWindow = manager.Lookup(parent);
        if (ownerWindow == nullptr)
            return -1;
        while (ownerWindow->parent != nullptr && !ownerWindow->IsTopLevel())
            ownerWindow = ownerWindow->parent;
        owner = ownerWindow->Handle();
    }
    HWND dialog = CreateDialogWindow(instance, dialogTemplate, parent, proc, param, true, kind, request);
    if (dialog == nullptr)
        return -1;
    std::shared_ptr<Window> hold = manager.Hold(dialog);
    Window& window = *hold;
    bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);
    if (!window.dialog->ended && !window.destroyed) {
        ShowWindow(dialog, SW_SHOWNORMAL);
        // A quit request ends the dialog and stays posted for the loop outside, as the
        // platform's dialog manager passes it on; otherwise a program could not stop with a
        // dialog open.
        manager.Driver().RunModal(dialog, [&] {
            return window.destroyed || window.dialog->ended || manager.Queue().QuitPosted();
        });
    }
    if (ownerWasEnabled && IsWindow(owner))
        EnableWindow(owner, TRUE);
    INT_PTR result = window.dialog->result;
    HFONT font = window.dialog->font;
    if (!window.destroyed)
        DestroyWindow(dialog);
    DeleteObject(font);
    if (owner != nullptr && IsWindow(owner) && IsWindowVisible(owner))
        SetForegroundWindow(owner);
    return result;
}

} // namespace platform::ui

BOOL EndDialog(HWND dialog, INT_PTR result)
{
    Window* window = DialogWindow(dialog);
    if (window == nullptr)
        return FALSE;
    window->dialog->ended = true;
    window->dialog->result = result;
    // The platform hides the dialog at once; a modal one is destroyed when its loop returns.
    ShowWindow(dialog, SW_HIDE);
    WindowManager::Get().Wake();
    return TRUE;
}

LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& manager = WindowManager::Get();
    Window* window = manager.Find(dialog);
    if (window == nullptr)
        return 0;
    if (window->dialog != nullptr && window->dialog->proc != nullptr) {
        window->dialog->messageResult = 0;
        INT_PTR handled = window->dialog->proc(dialog, message, wParam, lParam);
        window = manager.Find(dialog);
        if (window == nullptr)
            return 0;
        if (handled != 0) {
            // These return the procedure's own result; the rest return DWL_MSGRESULT.
            switch (message) {
            case WM_INITDIALOG:
            case WM_CTLCOLORMSGBOX:
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORLISTBOX:
            case WM_CTLCOLORBTN:
            case WM_CTLCOLORDLG:
            case WM_CTLCOLORSTATIC:
                return handled;
            default:
                return window->dialog->messageResult;
            }
        }
    }
    switch (message) {
    case WM_INITDIALOG:
        return TRUE; // focus to the first control
    case WM_CLOSE:
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return 0;
    case WM_SETFONT:
    case WM_PAINT:
    case WM_ERASEBKGND:
    default:
        return DefWindowProcW(dialog, message, wParam, lParam);
    }
}

BOOL MapDialogRect(HWND dialog, LPRECT rect)
{
    Window* window = DialogWindow(dialog);
    if (window == nullptr || rect == nullptr)
        return FALSE;
    int baseX = window->dialog->baseUnitX;
    int baseY = window->dialog->baseUnitY;
    *rect = RECT { MulDivRound(rect->left, baseX, 4), MulDivRound(rect->top, baseY, 8), MulDivRound(rect->right, baseX, 4),
        MulDivRound(rect->bottom, baseY, 8) };
    return TRUE;
}

HWND GetDlgItem(HWND dialog, int id)
{
    Window* window = WindowFromHandle(dialog);
    if (window == nullptr)
        return nullptr;
    for (Window* child : window->children) {
        if (child->id == id && !child->destroying)
            return child->Handle();
    }
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

int GetDlgCtrlID(HWND window)
{
    Window* target = WindowFromHandle(window);
    return target != nullptr && (target->style & WS_CHILD) != 0 ? static_cast<int>(target->id) : 0;
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text)
{
    HWND item = GetDlgItem(dialog, id);
    return item != nullptr ? SetWindowTextW(item, text) : FALSE;
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR text, int maxCount)
{
    HWND item = GetDlgItem(dialog, id);
    if (item == nullptr) {
        if (text != nullptr && maxCount > 0)
            text[0] = 0;
        return 0;
    }
    return static_cast<UINT>(GetWindowTextW(item, text, maxCount));
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND item = GetDlgItem(dialog, id);
    return item != nullptr ? SendMessageW(item, message, wParam, lParam) : 0;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check)
{
    HWND item = GetDlgItem(dialog, id);
    if (item == nullptr)
        return FALSE;
    SendMessageW(item, BM_SETCHECK, check, 0);
    return TRUE;
}

BOOL CheckRadioButton(HWND dialog, int first, int last, int check)
{
    if (GetDlgItem(dialog, check) == nullptr)
        return FALSE;
    for (int id = first; id <= last; ++id)
        CheckDlgButton(dialog, id, id == check ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    return item != nullptr ? static_cast<UINT>(SendMessageW(item, BM_GETCHECK, 0, 0)) : 0;
}

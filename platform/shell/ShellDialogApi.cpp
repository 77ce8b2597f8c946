// Dialogs sized and crowned the shell's way, and the menu bar under them.
#include <string_view>

#include "platform/core/LastError.h"
#include "platform/device/Device.h"
#include "platform/shell/AygShell.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/WinUser.h"

namespace {

constexpr int kBarHeightAt96Dpi = 26;
constexpr const wchar_t* kMenuBarClass = L"menu_worker";

bool IsDialog(HWND window)
{
    WCHAR className[16] = {};
    GetClassNameW(window, className, 16);
    return std::wstring_view(className) == L"#32770";
}

bool EnsureMenuBarClass()
{
    WNDCLASSW existing {};
    if (GetClassInfoW(nullptr, kMenuBarClass, &existing))
        return true;
    WNDCLASSW menuBar {};
    menuBar.lpfnWndProc = DefWindowProcW;
    menuBar.hbrBackground = GetStockObject(LTGRAY_BRUSH);
    menuBar.lpszClassName = kMenuBarClass;
    return RegisterClassW(&menuBar) != 0;
}

} // namespace

int ShellBarHeight()
{
    return (kBarHeightAt96Dpi * platform::CurrentDevice().dpi + 48) / 96;
}

BOOL SHInitDialog(PSHINITDLGINFO info)
{
    if (info == nullptr || !IsWindow(info->hDlg) || !IsDialog(info->hDlg)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if ((info->dwMask & SHIDIM_FLAGS) == 0)
        return TRUE;
    HWND dialog = info->hDlg;
    if ((info->dwFlags & SHIDIF_DONEBUTTON) != 0)
        SetWindowLongW(dialog, GWL_EXSTYLE, GetWindowLongW(dialog, GWL_EXSTYLE) | WS_EX_CAPTIONOKBTN);
    const platform::DeviceProfile& device = platform::CurrentDevice();
    int bar = ShellBarHeight();
    if ((info->dwFlags & SHIDIF_SIZEDLGFULLSCREEN) != 0)
        MoveWindow(dialog, 0, bar, device.screenWidth, device.screenHeight - bar, TRUE);
    else if ((info->dwFlags & SHIDIF_SIZEDLG) != 0)
        MoveWindow(dialog, 0, bar, device.screenWidth, device.screenHeight - 2 * bar, TRUE);
    return TRUE;
}

BOOL SHCreateMenuBar(PSHMENUBARINFO info)
{
    if (info == nullptr || info->cbSize != sizeof(SHMENUBARINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    info->hwndMB = nullptr;
    if ((info->dwFlags & SHCMBF_EMPTYBAR) == 0) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    if (!EnsureMenuBarClass())
        return FALSE;
    const platform::DeviceProfile& device = platform::CurrentDevice();
    int bar = ShellBarHeight();
    DWORD visible = (info->dwFlags & SHCMBF_HIDDEN) != 0 ? 0 : WS_VISIBLE;
    info->hwndMB = CreateWindowExW(0, kMenuBarClass, L"", WS_POPUP | visible, 0, device.screenHeight - bar,
        device.screenWidth, bar, info->hwndParent, nullptr, nullptr, nullptr);
    return info->hwndMB != nullptr ? TRUE : FALSE;
}

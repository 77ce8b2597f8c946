// Dialogs sized and crowned the shell's way, and the menu bar under them.
#include <string_view>
#include <vector>

#include "platform/core/LastError.h"
#include "platform/device/Device.h"
#include "platform/shell/AygShell.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/wm/WindowManager.h"

namespace {

constexpr const wchar_t* kMenuBarClass = L"menu_worker";

// What the shell sizes, laid out again when the screen changes size (before the windows hear
// of it).
struct ShellLayout {
    struct SizedDialog {
        HWND dialog;
        DWORD flags;
    };
    std::vector<SizedDialog> dialogs;
    std::vector<HWND> menuBars;
    bool listening = false;
};

ShellLayout& Layout()
{
    static ShellLayout layout;
    return layout;
}

void SizeDialog(HWND dialog, DWORD flags)
{
    const platform::DeviceProfile& device = platform::CurrentDevice();
    int bar = ShellBarHeight();
    if ((flags & SHIDIF_SIZEDLGFULLSCREEN) != 0)
        MoveWindow(dialog, 0, bar, device.screenWidth, device.screenHeight - bar, TRUE);
    else if ((flags & SHIDIF_SIZEDLG) != 0)
        MoveWindow(dialog, 0, bar, device.screenWidth, device.screenHeight - 2 * bar, TRUE);
}

void PlaceMenuBar(HWND menuBar)
{
    const platform::DeviceProfile& device = platform::CurrentDevice();
    int bar = ShellBarHeight();
    MoveWindow(menuBar, 0, device.screenHeight - bar, device.screenWidth, bar, TRUE);
}

void LayOutAgain()
{
    ShellLayout& layout = Layout();
    std::erase_if(layout.dialogs, [](const ShellLayout::SizedDialog& sized) { return !IsWindow(sized.dialog); });
    std::erase_if(layout.menuBars, [](HWND menuBar) { return !IsWindow(menuBar); });
    for (const ShellLayout::SizedDialog& sized : layout.dialogs)
        SizeDialog(sized.dialog, sized.flags);
    for (HWND menuBar : layout.menuBars)
        PlaceMenuBar(menuBar);
}

void ListenForScreenChanges()
{
    ShellLayout& layout = Layout();
    if (layout.listening)
        return;
    platform::ui::WindowManager::Get().AddScreenChangeListener(LayOutAgain);
    layout.listening = true;
}

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
    if ((info->dwFlags & SHIDIF_SIPDOWN) != 0)
        SHSipPreference(dialog, SIP_DOWN);
    if ((info->dwFlags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN)) != 0) {
        SizeDialog(dialog, info->dwFlags);
        ListenForScreenChanges();
        Layout().dialogs.push_back({ dialog, info->dwFlags });
    }
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
    if (info->hwndMB == nullptr)
        return FALSE;
    ListenForScreenChanges();
    Layout().menuBars.push_back(info->hwndMB);
    return TRUE;
}

// The input panel: SHSipPreference, and the "SIPPREF" control that asks for the panel as focus
// moves through its dialog. No keyboard is drawn; the shell keeps the panel's state and tells
// the host.
#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/core/LastError.h"
#include "platform/shell/InputPanel.h"
#include "platform/text/WideString.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/backend/RenderBackend.h"
#include "platform/ui/wm/WindowManager.h"

namespace {

struct InputPanelState {
    std::vector<platform::InputPanelRequest> requests;
    bool up = false;
    std::vector<HWND> preferenceControls; // live SIPPREF windows
    bool listening = false;
};

InputPanelState& State()
{
    static InputPanelState state;
    return state;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    return name;
}

// Where the user types text: the panel is for these.
bool TakesText(HWND window)
{
    std::wstring className = ClassOf(window);
    auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    if (EqualsNoCase(className, L"EDIT"))
        return (style & ES_READONLY) == 0;
    if (EqualsNoCase(className, L"COMBOBOX"))
        return (style & CBS_DROPDOWNLIST) == CBS_DROPDOWN;
    return false;
}

// The SIPPREF control's dialog among the focused window's ancestors, or null.
HWND DialogWithPreference(HWND focused)
{
    const std::vector<HWND>& controls = State().preferenceControls;
    for (HWND ancestor = GetParent(focused); ancestor != nullptr; ancestor = GetParent(ancestor)) {
        bool found = std::any_of(controls.begin(), controls.end(),
            [&](HWND control) { return IsWindow(control) && GetParent(control) == ancestor; });
        if (found)
            return ancestor;
    }
    return nullptr;
}

void FocusMoved(HWND focused)
{
    if (focused == nullptr || State().preferenceControls.empty())
        return;
    HWND dialog = DialogWithPreference(focused);
    if (dialog != nullptr)
        SHSipPreference(dialog, TakesText(focused) ? SIP_UP : SIP_DOWN);
}

LRESULT SipPrefProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    InputPanelState& state = State();
    switch (message) {
    case WM_CREATE:
        // Nothing to show, whatever size its template gives it (templates usually make it
        // invisible too).
        SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        state.preferenceControls.push_back(window);
        if (!state.listening) {
            platform::ui::WindowManager::Get().AddFocusListener(FocusMoved);
            state.listening = true;
        }
        return 0;
    case WM_DESTROY:
        std::erase(state.preferenceControls, window);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void SetPanel(bool up)
{
    InputPanelState& state = State();
    if (state.up == up)
        return;
    state.up = up;
    if (platform::ShellHost* host = platform::InstalledShellHost())
        host->InputPanelChanged(up);
}

} // namespace

BOOL SHInitExtraControls()
{
    WNDCLASSW existing {};
    if (GetClassInfoW(nullptr, WC_SIPPREF, &existing))
        return TRUE;
    WNDCLASSW sipPref {};
    sipPref.lpfnWndProc = SipPrefProc;
    sipPref.lpszClassName = WC_SIPPREF;
    return platform::ui::WindowManager::Get().Classes().Register(sipPref, true, platform::ui::PeerKind::Plain) != nullptr;
}

BOOL SHSipPreference(HWND window, SIPSTATE state)
{
    if (!IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (state > SIP_INPUTDIALOG) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    State().requests.push_back({ window, state });
    // The device lowers the panel for SIP_DOWN a moment later, so that a field taking the
    // focus next can keep it up without a flicker; with no keyboard drawn here, at once.
    if (state == SIP_UP || state == SIP_INPUTDIALOG)
        SetPanel(true);
    else if (state == SIP_DOWN || state == SIP_FORCEDOWN)
        SetPanel(false);
    return TRUE;
}

namespace platform {

std::vector<InputPanelRequest> InputPanelRequests()
{
    return State().requests;
}

bool InputPanelUp()
{
    return State().up;
}

void ResetInputPanel()
{
    State().requests.clear();
    State().up = false;
}

} // namespace platform

#include "options/OptionsFrame.h"

#include "item/PluginModule.h"
#include "options/AboutPage.h"
#include "options/AdapterPage.h"
#include "options/MeterPage.h"
#include "options/SettingsPage.h"
#include "options/ViewPage.h"
#include "platform/shell/AygShell.h"
#include "platform/shell/TodayScreen.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/Resources.h"
#include "profiles/ProfilesPage.h"
#include "resources/ResourceIds.h"
#include "usage/UsageReportPage.h"

namespace {

struct OptionsPage {
    const wchar_t* label;
    int templateId;
    DLGPROC proc;
};

// Tab order. Each page's procedure comes with its template; a page whose template the module
// does not have yet leaves its tab empty.
const OptionsPage kPages[kOptionsPageCount] = {
    { L"View", IDD_VIEW_PAGE, ViewPageProc },
    { L"Adapter", IDD_ADAPTER_PAGE, AdapterPageProc },
    { L"Meter", IDD_METER_PAGE, MeterPageProc },
    { L"Usage", IDD_USAGE_PAGE, UsageReportPageProc },
    { L"Profiles", IDD_PROFILES_PAGE, ProfilesPageProc },
    { L"About", IDD_ABOUT_PAGE, AboutPageProc },
    { L"Settings", IDD_SETTINGS_PAGE, SettingsPageProc },
};

constexpr DWORD kTabStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_BOTTOM;
constexpr int kTabInitialSize = 100;

OptionsFrameState& Frame()
{
    return g_pModule->m_options;
}

// The page from its template in the module, a modeless child of the tab control; null when
// the template is missing or the page cannot be made.
HWND CreatePage(int index)
{
    HINSTANCE instance = g_pModule->m_hInstance;
    HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(kPages[index].templateId), RT_DIALOG);
    auto pageTemplate = static_cast<LPCDLGTEMPLATE>(LoadResource(instance, resource));
    return CreateDialogIndirectParamW(instance, pageTemplate, Frame().hwndTab, kPages[index].proc, 0);
}

void PlacePage(HWND page)
{
    const RECT& rect = Frame().pageRect;
    SetWindowPos(page, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, SWP_NOZORDER);
}

// Sizes the tab control to the frame and works out where pages go.
void FitTabControl(HWND frame)
{
    OptionsFrameState& state = Frame();
    RECT window {};
    GetWindowRect(frame, &window);
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    SetWindowPos(state.hwndTab, nullptr, 0, 0, width, height, SWP_NOZORDER);
    state.pageRect = RECT { 0, 0, width, height };
    SendMessageW(state.hwndTab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&state.pageRect));
}

void Frame_OnInitDialog(HWND frame)
{
    OptionsFrameState& state = Frame();
    state = OptionsFrameState {};

    SHINITDLGINFO shellInit { SHIDIM_FLAGS, frame, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLG };
    SHInitDialog(&shellInit);

    // The empty bar belongs to the Today item, not to the frame.
    SHMENUBARINFO menuBar {};
    menuBar.cbSize = sizeof menuBar;
    menuBar.hwndParent = g_pModule->m_item.hwndItem;
    menuBar.dwFlags = SHCMBF_EMPTYBAR;
    menuBar.hInstRes = g_pModule->m_hInstance;
    SHCreateMenuBar(&menuBar);
    state.hwndMenuBar = menuBar.hwndMB;

    RECT window {};
    GetWindowRect(frame, &window);
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    state.hwndTab = CreateWindowExW(0, WC_TABCONTROLW, L"tabctrl", kTabStyle, 0, 0, kTabInitialSize, kTabInitialSize,
        frame, nullptr, nullptr, nullptr);
    SendMessageW(state.hwndTab, CCM_SETVERSION, COMCTL32_VERSION, 0);
    for (int i = 0; i < kOptionsPageCount; ++i) {
        TCITEMW tab {};
        tab.mask = TCIF_TEXT | TCIF_IMAGE;
        tab.iImage = -1;
        tab.pszText = const_cast<LPWSTR>(kPages[i].label);
        SendMessageW(state.hwndTab, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab));
    }
    SetWindowPos(state.hwndTab, nullptr, 0, 0, width, height, SWP_NOZORDER);

    state.pages[0] = CreatePage(0);
    ShowWindow(state.pages[0], SW_SHOWNORMAL);

    state.pageRect = RECT { 0, 0, width, height };
    SendMessageW(state.hwndTab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&state.pageRect));
    PlacePage(state.pages[0]);
}

int SelectedTab()
{
    return static_cast<int>(SendMessageW(Frame().hwndTab, TCM_GETCURSEL, 0, 0));
}

void Frame_OnSelChanging()
{
    int index = SelectedTab();
    if (index < 0 || index >= kOptionsPageCount)
        return;
    ShowWindow(Frame().pages[index], SW_HIDE);
}

void Frame_OnSelChange()
{
    OptionsFrameState& state = Frame();
    int index = SelectedTab();
    if (index < 0 || index >= kOptionsPageCount)
        return;
    if (index != 0 && state.pages[index] == nullptr) {
        state.pages[index] = CreatePage(index);
        PlacePage(state.pages[index]);
    }
    ShowWindow(state.pages[index], SW_SHOWNORMAL);
}

void Frame_OnNotify(const NMHDR* header)
{
    if (header == nullptr || header->hwndFrom != Frame().hwndTab)
        return;
    if (header->code == TCN_SELCHANGING)
        Frame_OnSelChanging();
    else if (header->code == TCN_SELCHANGE)
        Frame_OnSelChange();
}

// Every page that exists commits its controls, then the settings are written once.
void Frame_OnOk(HWND frame)
{
    OptionsFrameState& state = Frame();
    for (HWND page : state.pages)
        if (page != nullptr)
            SendMessageW(page, WM_COMMAND, IDOK, 0);
    g_pModule->m_settings.SaveSettings();
    for (HWND& page : state.pages) {
        if (page != nullptr)
            DestroyWindow(page);
        page = nullptr;
    }
    DestroyWindow(state.hwndMenuBar);
    state.hwndMenuBar = nullptr;
    EndDialog(frame, 1);
}

// Ended some other way than OK (the shell closing it): the pages go with the frame, and the
// menu bar must not outlive it.
void Frame_OnDestroy()
{
    OptionsFrameState& state = Frame();
    if (state.hwndMenuBar != nullptr)
        DestroyWindow(state.hwndMenuBar);
    state = OptionsFrameState {};
}

// The screen turned: the tab control and every page follow the frame's new size.
void Frame_OnScreenReset(HWND frame)
{
    OptionsFrameState& state = Frame();
    FitTabControl(frame);
    for (HWND page : state.pages)
        if (page != nullptr)
            PlacePage(page);
}

} // namespace

void ReloadOptionsPages(HWND keep)
{
    OptionsFrameState& state = Frame();
    for (int i = 0; i < kOptionsPageCount; ++i) {
        HWND old = state.pages[i];
        if (old == nullptr || old == keep)
            continue;
        bool shown = IsWindowVisible(old) != FALSE;
        DestroyWindow(old);
        state.pages[i] = CreatePage(i);
        PlacePage(state.pages[i]);
        ShowWindow(state.pages[i], shown ? SW_SHOWNORMAL : SW_HIDE);
    }
}

INT_PTR CustomItemOptionsDlgProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        Frame_OnInitDialog(frame);
        return TRUE;
    case WM_NOTIFY:
        Frame_OnNotify(reinterpret_cast<const NMHDR*>(lParam));
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK)
            return FALSE;
        Frame_OnOk(frame);
        return TRUE;
    case WM_DESTROY:
        Frame_OnDestroy();
        return FALSE;
    case WM_SETTINGCHANGE:
        if (wParam == SETTINGCHANGE_RESET)
            Frame_OnScreenReset(frame);
        return FALSE;
    default:
        return FALSE;
    }
}

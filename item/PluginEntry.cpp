#include "item/PluginEntry.h"

#include <iterator>

#include "item/ItemWindow.h"
#include "item/PluginModule.h"
#include "options/OptionsFrame.h"
#include "platform/ui/Resources.h"
#include "platform/ui/WinUser.h"
#include "resources/ModuleResources.h"
#include "resources/ResourceIds.h"
#include "usage/UsageReportPage.h"

namespace {

constexpr int kItemInitialWidth = 240;
constexpr int kItemInitialHeight = 0;

const DllExport kExports[] = {
    { ORDINAL_INITIALIZEITEM, L"InitializeCustomItem", reinterpret_cast<FARPROC>(&InitializeCustomItem) },
    { ORDINAL_OPTIONSDIALOGPROC, L"CustomItemOptionsDlgProc", reinterpret_cast<FARPROC>(&CustomItemOptionsDlgProc) },
};

BOOL AttachModule(HINSTANCE instance)
{
    // On the device the linker put the resources into the module; here they are handed over
    // before anything can look for them.
    platform::RegisterModuleResources(instance, BuildModuleResources());
    g_pModule = new PluginModule(instance);
    return TRUE;
}

void DetachModule(HINSTANCE instance)
{
    ReleaseUsageChartCanvas();
    delete g_pModule;
    g_pModule = nullptr;
    platform::UnregisterModuleResources(instance);
}

} // namespace

extern "C" BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        return AttachModule(instance);
    case DLL_PROCESS_DETACH:
        DetachModule(instance);
        return TRUE;
    default:
        return TRUE;
    }
}

extern "C" const DllExport* DllExportTable(DWORD* count)
{
    *count = static_cast<DWORD>(std::size(kExports));
    return kExports;
}

HWND InitializeCustomItem(TODAYLISTITEM*, HWND parent)
{
    if (g_pModule == nullptr)
        return nullptr;
    HINSTANCE instance = g_pModule->m_hInstance;
    WCHAR className[64] = {};
    LoadStringW(instance, IDS_ITEM_CLASS, className, 64);
    HWND item = CreateWindowExW(0, className, className, WS_CHILD | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
        kItemInitialWidth, kItemInitialHeight, parent, nullptr, instance, nullptr);
    g_pModule->m_item.hwndItem = item;
    if (item == nullptr)
        return nullptr;
    SetWindowLongW(item, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&ItemWindowProc));
    ShowWindow(item, SW_SHOWNORMAL);
    UpdateWindow(item);
    return item;
}

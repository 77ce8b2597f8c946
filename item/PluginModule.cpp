#include "item/PluginModule.h"

#include "item/ItemWindow.h"
#include "item/TaskbarIcon.h"
#include "platform/device/Device.h"
#include "platform/module/ModuleLoader.h"
#include "platform/shell/AygShell.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/Resources.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/WinUser.h"
#include "resources/ResourceIds.h"

PluginModule* g_pModule = nullptr;

namespace {

constexpr int kClassNameLength = 64;

using PFN_InitHTMLControl = BOOL (*)(HINSTANCE instance);

std::wstring ClassName(HINSTANCE instance, UINT stringId)
{
    WCHAR name[kClassNameLength] = {};
    LoadStringW(instance, stringId, name, kClassNameLength);
    return name;
}

} // namespace

PluginModule::PluginModule(HINSTANCE instance)
    : m_hInstance(instance)
{
    m_icons.Load(instance, GetSystemMetrics(SM_CXSCREEN));

    HDC screen = GetDC(nullptr);
    m_logPixelsX = GetDeviceCaps(screen, LOGPIXELSX);
    m_logPixelsY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);

    SHInitExtraControls();
    InitCommonControls();
    INITCOMMONCONTROLSEX controls { sizeof(INITCOMMONCONTROLSEX), ICC_DATE_CLASSES };
    InitCommonControlsEx(&controls);

    // The report views render into the HTML viewer; it stays loaded with the module.
    m_hHtmlView = LoadLibraryW(L"htmlview.dll");
    if (m_hHtmlView != nullptr) {
        auto initHtmlControl = reinterpret_cast<PFN_InitHTMLControl>(GetProcAddressW(m_hHtmlView, L"InitHTMLControl"));
        if (initHtmlControl != nullptr)
            initHtmlControl(instance);
    }

    RegisterWindowClasses();
    m_item.hwndItem = nullptr;
}

PluginModule::~PluginModule()
{
    // The shell destroys the item before it frees the module; one that did not would leave
    // windows whose procedure goes with the module.
    if (m_item.hwndTaskIcon != nullptr && IsWindow(m_item.hwndTaskIcon))
        DestroyWindow(m_item.hwndTaskIcon);
    if (m_item.hwndItem != nullptr && IsWindow(m_item.hwndItem))
        DestroyWindow(m_item.hwndItem);
    m_icons.Destroy();
    UnregisterWindowClasses();
    if (m_hHtmlView != nullptr)
        FreeLibrary(m_hHtmlView);
    m_hInstance = nullptr;

    // The objects go in reverse order, the usage logger first. An hour cut short by the
    // module's unload is written now; the next run adds the rest of the hour to it.
    if (m_settings.UsageEnabled != 0)
        m_usageLogger.WriteUnfinishedHour(m_settings.UsageLogPath, m_settings.UsageLogStorageCapEnabled,
            m_settings.UsageLogStorageCapLimit);
}

void PluginModule::RegisterWindowClasses()
{
    // A previous load of the module may have left its classes behind.
    UnregisterWindowClasses();

    std::wstring itemClass = ClassName(m_hInstance, IDS_ITEM_CLASS);
    WNDCLASSW item {};
    item.lpfnWndProc = ItemWindowProc;
    item.hInstance = m_hInstance;
    item.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    item.lpszClassName = itemClass.c_str();
    if (RegisterClassW(&item) == 0)
        return;

    std::wstring taskIconClass = ClassName(m_hInstance, IDS_TASKICON_CLASS);
    WNDCLASSW taskIcon {};
    taskIcon.lpfnWndProc = TaskIconWindowProc;
    taskIcon.hInstance = m_hInstance;
    taskIcon.lpszClassName = taskIconClass.c_str();
    RegisterClassW(&taskIcon);
}

void PluginModule::UnregisterWindowClasses()
{
    UnregisterClassW(ClassName(m_hInstance, IDS_ITEM_CLASS).c_str(), m_hInstance);
    UnregisterClassW(ClassName(m_hInstance, IDS_TASKICON_CLASS).c_str(), m_hInstance);
}

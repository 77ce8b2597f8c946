#include "support/TodayScreen.h"

#include <gtest/gtest.h>

#include "item/PluginModule.h"
#include "platform/files/FileSystem.h"
#include "platform/files/Files.h"
#include "platform/shell/ShellHost.h"
#include "platform/sim/Scenario.h"
#include "platform/ui/Display.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/WinUser.h"

namespace testing_support {

namespace {

// The shell's Today window: it paints the background under its items and gives them its text
// colour.
LRESULT TodayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case TODAYM_DRAWWATERMARK: {
        auto* watermark = reinterpret_cast<TODAYDRAWWATERMARKINFO*>(lParam);
        FillRect(watermark->hdc, &watermark->rc, GetStockObject(WHITE_BRUSH));
        return TRUE;
    }
    case TODAYM_GETCOLOR:
        return wParam == TODAYCOLOR_TEXT ? RGB(0, 0, 0x80) : RGB(0, 0, 0);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void RegisterClassOnce(const wchar_t* name, WNDPROC proc, HBRUSH background)
{
    WNDCLASSW existing {};
    if (GetClassInfoW(nullptr, name, &existing))
        return;
    WNDCLASSW windowClass {};
    windowClass.lpfnWndProc = proc;
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

} // namespace

DeviceScope::DeviceScope(const platform::DeviceProfile& device)
    : m_previous(platform::CurrentDevice())
{
    platform::ChangeDevice(device);
}

DeviceScope::~DeviceScope()
{
    platform::ChangeDevice(m_previous);
}

TodayScreen::TodayScreen(const platform::DeviceProfile& device)
    : m_device(device)
    , m_files(std::make_shared<platform::SimFileSystem>())
{
    platform::InstallFileSystem(m_files);
    CreateDirectoryW(L"\\Program Files", nullptr);
    CreateDirectoryW(L"\\My Documents", nullptr);
    Modem().SetTelephony(false);
    platform::DestroyAllWindows();
    platform::ResetShell();
    m_driver = std::make_unique<platform::VirtualDriver>(Clock());

    RegisterClassOnce(L"TodayTestScreen", TodayWindowProc, GetStockObject(WHITE_BRUSH));
    int bar = 26 * device.dpi / 96;
    m_today = CreateWindowExW(0, L"TodayTestScreen", L"Today", WS_POPUP | WS_VISIBLE, 0, bar, device.screenWidth,
        device.screenHeight - 2 * bar, nullptr, nullptr, nullptr, nullptr);
    platform::SetModuleSearchPath({ VELMORA_BINARY_DIR });
}

TodayScreen::~TodayScreen()
{
    platform::DestroyAllWindows();
    FreeModule();
    platform::ResetShell();
    m_driver.reset();
    platform::SetModuleSearchPath({});
    platform::UninstallFileSystem();
}

void TodayScreen::AddLoopbackAndLan(const std::wstring& lan, const char* address)
{
    platform::SimInterfaceSetup loopback;
    loopback.name = L"LOOPBACK";
    loopback.type = 24; // MIB_IF_TYPE_LOOPBACK
    Network().AddInterface(loopback);
    m_network.AddLan(lan, address, "192.168.1.1");
    Network().SetDnsServers(lan, { *platform::ParseIpv4("192.168.1.1") });
}

void TodayScreen::LoadModule()
{
    m_module = LoadLibraryW(L"velmora.dll");
    ASSERT_NE(m_module, nullptr) << "LoadLibraryW: " << GetLastError();
}

void TodayScreen::FreeModule()
{
    if (m_module != nullptr)
        FreeLibrary(m_module);
    m_module = nullptr;
}

PluginModule& TodayScreen::State()
{
    return *g_pModule;
}

HWND TodayScreen::CreateItem()
{
    auto initialize = reinterpret_cast<PFNCUSTOMINITIALIZEITEM>(
        GetProcAddressW(m_module, MAKEINTRESOURCEW(ORDINAL_INITIALIZEITEM)));
    if (initialize == nullptr) {
        ADD_FAILURE() << "export 240 missing";
        return nullptr;
    }
    m_record = TODAYLISTITEM {};
    m_record.tlit = tlitCustom;
    m_record.fEnabled = TRUE;
    m_record.fOptions = TRUE;
    m_record.hinstDLL = m_module;
    m_item = initialize(&m_record, m_today);
    m_record.hwndCustom = m_item;
    if (m_item == nullptr)
        return nullptr;
    // The shell places the item, then asks for its height.
    MoveWindow(m_item, 0, kItemTop, platform::CurrentDevice().screenWidth, 0, TRUE);
    Refresh();
    m_driver->Pump();
    return m_item;
}

LRESULT TodayScreen::Refresh()
{
    DWORD before = m_record.cyp;
    LRESULT result = SendMessageW(m_item, WM_TODAYCUSTOM_QUERYREFRESHCACHE, reinterpret_cast<WPARAM>(&m_record), 0);
    RECT client {};
    GetClientRect(m_item, &client);
    if (result != 0 || m_record.cyp != before || client.bottom != static_cast<LONG>(m_record.cyp))
        MoveWindow(m_item, 0, kItemTop, platform::CurrentDevice().screenWidth, static_cast<int>(m_record.cyp), TRUE);
    return result;
}

void TodayScreen::MakeTaskbar()
{
    RegisterClassOnce(L"HHTaskBar", DefWindowProcW, GetStockObject(BLACK_BRUSH));
    RegisterClassOnce(L"WisBarClass", DefWindowProcW, GetStockObject(GRAY_BRUSH));
    const platform::DeviceProfile& device = platform::CurrentDevice();
    int bar = 26 * device.dpi / 96;
    m_taskbar = CreateWindowExW(0, L"HHTaskBar", L"", WS_POPUP | WS_VISIBLE, 0, 0, device.screenWidth, bar, nullptr,
        nullptr, nullptr, nullptr);
    m_titleBar = CreateWindowExW(0, L"WisBarClass", L"Start", WS_CHILD | WS_VISIBLE, 0, 0, device.screenWidth - 40, bar,
        m_taskbar, nullptr, nullptr, nullptr);
    m_driver->Pump();
}

std::vector<std::wstring> TodayScreen::LastItemTexts() const
{
    std::vector<std::wstring> texts;
    for (const platform::PaintedText& text : LastItemPaint().texts)
        texts.push_back(text.text);
    return texts;
}

} // namespace testing_support

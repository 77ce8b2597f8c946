// A Today screen for the plug-in's tests: a memory registry, a simulated file system, network
// and modem, a virtual clock with the deterministic driver, and a shell window that hosts the
// item the way the Today screen does (watermark background, text colour, refresh queries).
// The module is loaded through the platform's module loader, as the shell loads it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/device/Device.h"
#include "platform/files/SimFileSystem.h"
#include "platform/module/ModuleLoader.h"
#include "platform/shell/TodayScreen.h"
#include "platform/ui/Observe.h"
#include "platform/ui/VirtualDriver.h"
#include "support/RegistryScope.h"
#include "support/SimModemScope.h"
#include "support/SimNetworkScope.h"

class PluginModule;

namespace testing_support {

// Sets the device profile for the object's lifetime.
class DeviceScope {
public:
    explicit DeviceScope(const platform::DeviceProfile& device);
    ~DeviceScope();

private:
    platform::DeviceProfile m_previous;
};

class TodayScreen {
public:
    // The clock stands at 7 March 2006 14:05:09 UTC; telephony is off.
    explicit TodayScreen(const platform::DeviceProfile& device = platform::DeviceProfile::Qvga());
    ~TodayScreen();
    TodayScreen(const TodayScreen&) = delete;
    TodayScreen& operator=(const TodayScreen&) = delete;

    platform::SimNetwork& Network() { return m_network.Network(); }
    platform::VirtualClock& Clock() { return m_network.Clock(); }
    platform::SimModem& Modem() { return m_modem.Modem(); }
    platform::SimFileSystem& Files() { return *m_files; }
    platform::VirtualDriver& Driver() { return *m_driver; }

    // The loopback (index 1) and a LAN adapter with a default route through 192.168.1.1.
    void AddLoopbackAndLan(const std::wstring& lan = L"NE20001", const char* address = "192.168.1.10");

    // Loads the module (velmora.dll) with the network, files and registry as they stand.
    void LoadModule();
    void FreeModule();
    HMODULE Module() const { return m_module; }
    PluginModule& State();

    // Export 240 with the Today window as parent, then the first refresh query and layout.
    HWND CreateItem();
    HWND Item() const { return m_item; }
    HWND Today() const { return m_today; }
    TODAYLISTITEM& Record() { return m_record; }
    // The shell's refresh query; when the item reports a new height the item is laid out
    // again at its place. The query's result.
    LRESULT Refresh();

    // The taskbar the top-bar icon finds: "HHTaskBar" with a "WisBarClass" child.
    void MakeTaskbar();
    HWND Taskbar() const { return m_taskbar; }
    HWND TitleBar() const { return m_titleBar; }

    void AdvanceSeconds(uint64_t seconds) { m_driver->AdvanceSeconds(seconds); }

    // What the item's last paint drew.
    platform::PaintRecord LastItemPaint() const { return platform::LastPaint(m_item); }
    std::vector<std::wstring> LastItemTexts() const;

    // Where the item sits in the Today window.
    static constexpr int kItemTop = 24;

private:
    DeviceScope m_device;
    MemoryRegistryScope m_registry;
    std::shared_ptr<platform::SimFileSystem> m_files;
    SimNetworkScope m_network;
    SimModemScope m_modem;
    std::unique_ptr<platform::VirtualDriver> m_driver;
    HMODULE m_module = nullptr;
    HWND m_today = nullptr;
    HWND m_item = nullptr;
    HWND m_taskbar = nullptr;
    HWND m_titleBar = nullptr;
    TODAYLISTITEM m_record {};
};

} // namespace testing_support

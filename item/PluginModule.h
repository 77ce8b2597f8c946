// The plug-in module's state: the module-lifetime objects, made in the order the system starts
// them, and what the module-load handling sets up (icons, screen resolution, the HTML viewer,
// the window classes). The module's attach creates the one instance behind g_pModule and its
// detach destroys it; nothing else in the module keeps state between calls.
#pragma once

#include "item/IconSet.h"
#include "item/ItemState.h"
#include "metering/Meter.h"
#include "metering/RateHistory.h"
#include "netinfo/InterfaceTable.h"
#include "netinfo/NetStatusInfo.h"
#include "options/OptionsFrame.h"
#include "phone/Phone.h"
#include "settings/Settings.h"
#include "usage/UsageLogger.h"

class PluginModule {
public:
    // The objects in start order, then the module-load handling.
    explicit PluginModule(HINSTANCE instance);
    // The load handling in reverse; then the objects in the reverse order of construction,
    // the usage logger first: it writes the unfinished hour. Nothing else is saved.
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    // ---- Module-lifetime objects, in the order they are made ----
    NetStatusInfo m_netStatusInfo;
    InterfaceTable m_interfaceTable;
    Settings m_settings;
    Phone m_phone;
    Meter m_meter;
    RateHistory m_rateHistory;
    UsageLogger m_usageLogger;

    // ---- Set up by the load handling ----
    HINSTANCE m_hInstance = nullptr;
    IconSet m_icons;
    int m_logPixelsX = 96;
    int m_logPixelsY = 96;
    HMODULE m_hHtmlView = nullptr;

    ItemState m_item;
    OptionsFrameState m_options;
    // Consecutive taps into the About page's hidden zone, from 0 when the page opens.
    DWORD m_aboutTaps = 0;
    // The usage logger keeps the machine's counters from the first tick that logs on.
    bool m_usageCountersKept = false;

private:
    void RegisterWindowClasses();
    void UnregisterWindowClasses();
};

// The attached module's state; null while the module is not attached.
extern PluginModule* g_pModule;

#include "item/ItemTick.h"

#include "item/ItemLayout.h"
#include "item/MeterAlert.h"
#include "item/PluginModule.h"
#include "item/TaskbarIcon.h"
#include "netinfo/AdapterTracking.h"
#include "platform/net/NetBackend.h"
#include "platform/ui/WinUser.h"

namespace {

// The usage logs follow interfaces 2 to 19 (1 is the loopback).
constexpr DWORD kFirstLoggedInterface = 2;
constexpr DWORD kLastLoggedInterface = 19;

void FeedUsageLogger(PluginModule& module)
{
    Settings& settings = module.m_settings;
    InterfaceTable& table = module.m_interfaceTable;
    UsageLogger& logger = module.m_usageLogger;
    // The traffic while the module was not running is counted from the machine's own 64-bit
    // counters, which start again only with the machine.
    if (!module.m_usageCountersKept) {
        logger.KeepCounters(UsageState::DefaultPath, platform::CurrentNetBackend().BootId());
        module.m_usageCountersKept = true;
    }
    for (DWORD index = kFirstLoggedInterface; index <= kLastLoggedInterface; ++index) {
        ULONG64 sent = 0;
        ULONG64 received = 0;
        int machineIndex = 0;
        if (table.GetOutOctets(index, sent) == IndexNotFound || table.GetInOctets(index, received) == IndexNotFound
            || table.GetMachineIndex(index, machineIndex) == IndexNotFound)
            break;
        std::wstring key = UsageInterfaceKey(index, table, module.m_netStatusInfo, settings,
            [&module] { return module.m_phone.CurrentRasEntryName(); });
        // The table's row is the machine's own record, whole counters and its index, read this tick.
        logger.NoteMachineCounters(key, sent, received, machineIndex);
        logger.LogTick(settings.UsageLogPath, key, sent, received, settings.UsageLogStorageCapEnabled,
            settings.UsageLogStorageCapLimit);
    }
}

// Steps 3 to 8 of the tick, for a device with a network: the activity state.
DWORD MeasureTrackedAdapter(PluginModule& module, HWND item)
{
    Settings& settings = module.m_settings;
    InterfaceTable& table = module.m_interfaceTable;
    ItemState& state = module.m_item;

    table.Refresh();
    module.m_netStatusInfo.Refresh();
    // An adapter that is not there gives an index no lookup finds, and so "no connection".
    DWORD index = TrackedAdapterIndex(settings, table, module.m_netStatusInfo);

    if (settings.UsageEnabled != 0)
        FeedUsageLogger(module);

    AdapterOctets octets;
    octets.present = table.GetOutOctets(index, octets.sent) != IndexNotFound
        && table.GetInOctets(index, octets.received) != IndexNotFound;
    if (octets.present)
        module.m_rateHistory.AddSample(octets.sent, octets.received);
    else
        module.m_rateHistory.AddSample(0, 0);

    if (!state.connected) {
        state.connectTime = platform::CalendarTime::Now();
        state.connected = true;
    }

    // The alert names the reset time the meter had before this check, which may reset it.
    std::wstring resetTimeBefore = module.m_meter.FormatResetTime();
    MeterOptions options { settings.MeterEnabled, settings.MeterNotify, settings.MeterNotifyThreshold,
        settings.MeterNotifyType, settings.MeterNotifyReset };
    if (module.m_meter.Tick(options, octets.present, octets.sent, octets.received))
        RaiseMeterAlert(item, resetTimeBefore);

    return CompareActivity(table, index);
}

void InvalidateForActivity(PluginModule& module, HWND item, DWORD activity)
{
    ItemState& state = module.m_item;
    if (activity == state.previousNetAct)
        return;
    if (activity == ActivityNoConnection || state.previousNetAct == ActivityNoConnection) {
        // The whole item changes, and with it the number of lines.
        InvalidateRect(item, nullptr, TRUE);
        state.remeasure = true;
    } else {
        RECT client {};
        GetClientRect(item, &client);
        RECT strip { 2, 0, 2 + module.m_settings.SmallIconWidth(), client.bottom };
        InvalidateRect(item, &strip, TRUE);
        if (state.hwndTaskIcon != nullptr)
            InvalidateRect(state.hwndTaskIcon, nullptr, TRUE);
    }
    state.previousNetAct = activity;
}

void InvalidateStatusText(PluginModule& module, HWND item)
{
    ItemState& state = module.m_item;
    if (state.lineCountdown != 0) {
        --state.lineCountdown;
        return;
    }
    ItemLayout layout = MakeItemLayout(module, item);
    RECT text { layout.leftMargin, layout.client.top, layout.client.right - layout.pitch * layout.icons,
        layout.client.bottom };
    InvalidateRect(item, &text, TRUE);
}

} // namespace

void ItemTick(HWND item)
{
    PluginModule& module = *g_pModule;
    ItemState& state = module.m_item;

    DWORD activity;
    if (module.m_interfaceTable.InterfaceCount() < 2) {
        module.m_rateHistory.AddSample(0, 0);
        state.connected = false;
        activity = ActivityNoConnection;
    } else {
        activity = MeasureTrackedAdapter(module, item);
    }
    state.uiNetAct = activity;

    InvalidateForActivity(module, item, activity);
    InvalidateStatusText(module, item);
    TaskbarUpkeep(item);
}

// The item window's module-level state: the activity state and what the tick, the height query,
// the paint and the taskbar upkeep keep between messages. One instance lives in the module state
// (item/PluginModule.h), so that a fresh attach starts from the initial values.
#pragma once

#include "metering/Activity.h"
#include "platform/time/CalendarTime.h"
#include "platform/ui/WinDef.h"

struct ItemState {
    HWND hwndItem = nullptr;

    // The activity state of the tracked adapter (g_uiNetAct of the device build), read by the
    // paint, the status lines, the taskbar icon and the diagnostic report.
    DWORD uiNetAct = ActivityIdle;
    // The state when the item was last repainted for a state change.
    DWORD previousNetAct = ActivityIdle;

    // The height must be worked out again at the shell's next refresh query (also set by the
    // View page).
    bool remeasure = false;
    // Set when the height query made the item smaller; the next paint asks for a new layout.
    int shrinkCountdown = 0;
    // Ticks before the status text is repainted again.
    DWORD lineCountdown = 0;

    bool connected = false;
    platform::CalendarTime connectTime;

    // The window's top edge as the move handling last accepted it.
    LONG lastTop = 0;

    // The phone object is initialised at the first refresh query after the module is attached.
    bool phoneInitialised = false;

    // ---- The taskbar icon ----
    HWND hwndTaskIcon = nullptr;
    bool notifyIconPresent = false;
    // The taskbar background under the top-bar icon, captured when it is first erased.
    HDC hdcCapture = nullptr;
    HBITMAP hbmCapture = nullptr;
    HGDIOBJ hbmReplaced = nullptr;
};

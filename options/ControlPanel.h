// Opening an applet of the device's Control Panel: its program is started with the applet
// (and tab) to show, and left to run on its own.
#pragma once

#include <string>

#include "platform/core/WinTypes.h"

struct ControlPanelTarget {
    DWORD hasTab;  // 1 when tab is meaningful
    DWORD applet;
    DWORD tab;
};

// The network adapters' applet on its adapters tab.
constexpr ControlPanelTarget kAdapterSettingsApplet = { 1, 17, 1 };

// "cplmain.cpl,17,1", or "cplmain.cpl,17" without a tab.
std::wstring ControlPanelCommandLine(const ControlPanelTarget& target);

// True when the Control Panel's program was started; its handles are closed at once.
bool OpenControlPanel(const ControlPanelTarget& target);

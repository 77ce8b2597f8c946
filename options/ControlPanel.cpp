#include "options/ControlPanel.h"

#include "platform/core/Handle.h"
#include "platform/core/Process.h"
#include "platform/text/Format.h"

std::wstring ControlPanelCommandLine(const ControlPanelTarget& target)
{
    if (target.hasTab == 1)
        return Fmt(L"cplmain.cpl,%d,%d", target.applet, target.tab);
    return Fmt(L"cplmain.cpl,%d", target.applet);
}

bool OpenControlPanel(const ControlPanelTarget& target)
{
    std::wstring commandLine = ControlPanelCommandLine(target);
    PROCESS_INFORMATION process {};
    if (!CreateProcessW(L"\\Windows\\ctlpnl.exe", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
            &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

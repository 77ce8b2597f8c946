// Shared set-up for the window manager's tests: a virtual clock, the deterministic driver, a
// message log that test window procedures write to, and an empty screen before and after.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/device/Device.h"
#include "platform/ui/Observe.h"
#include "platform/ui/VirtualDriver.h"
#include "platform/ui/WinUser.h"
#include "support/TestSupport.h"

namespace ui_test {

struct LoggedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD tick;
};

// Messages seen by LoggingProc, in order.
std::vector<LoggedMessage>& Log();
// The messages of the log only, optionally only those of one window and of a set of kinds.
std::vector<UINT> LoggedKinds(HWND window = nullptr, std::initializer_list<UINT> only = {});

// Logs every message, answers from Answers() when it has an entry for the message, and
// passes the rest to DefWindowProcW.
LRESULT LoggingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>& Answers();

inline HINSTANCE TestInstance()
{
    return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x7E570000));
}

class UiTest : public ::testing::Test {
protected:
    UiTest();
    ~UiTest() override;

    // Registers (once per test) a class "UiTestWindow" with LoggingProc and the given
    // background brush.
    void RegisterTestClass(HBRUSH background = nullptr, int windowExtraBytes = 0);
    HWND MakeTopLevel(DWORD style = WS_POPUP | WS_VISIBLE, RECT rect = RECT { 10, 20, 110, 80 });
    HWND MakeChild(HWND parent, int id, RECT rect, DWORD style = WS_CHILD | WS_VISIBLE);

    testing_support::VirtualClockScope m_clock;
    platform::VirtualDriver m_driver;
    bool m_classRegistered = false;
};

} // namespace ui_test

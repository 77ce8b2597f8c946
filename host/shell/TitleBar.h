// The taskbar's title child (class "WisBarClass"): the title of the window in front, the shell's
// OK button when that window asked for one (a dialog initialised with SHIDIF_DONEBUTTON), and
// the clock. Plug-ins place their own small windows on it.
#pragma once

#include <functional>
#include <string>

#include "platform/ui/WinDef.h"

namespace host {

class TitleBar {
public:
    HWND Create(HWND taskbar, const RECT& place);
    HWND Window() const { return m_window; }
    void Place(const RECT& place);

    // The window whose title shows; null for the Today screen.
    std::function<HWND()> frontWindow;

    // Takes the title, the OK button and the clock as they stand now; repaints what changed.
    void Update();
    const std::wstring& Title() const { return m_title; }
    bool ShowsOkButton() const { return m_okTarget != nullptr; }
    // Where the OK button is, client coordinates (empty without one).
    RECT OkButtonRect() const;
    // The OK button's tap: IDOK to the window in front.
    void PressOk();

    static constexpr UINT_PTR kClockTimerId = 1;
    static constexpr UINT kClockPeriodMs = 1000;

private:
    static LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();

    HWND m_window = nullptr;
    std::wstring m_title = L"Today";
    std::wstring m_clock;
    HWND m_okTarget = nullptr;
};

// "14:05" for the clock.
std::wstring ClockText(int hour, int minute);

} // namespace host

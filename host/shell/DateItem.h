// The shell's own first Today item: today's date beside a small calendar page.
#pragma once

#include <string>

#include "platform/time/CalendarTime.h"
#include "platform/ui/WinDef.h"

namespace host {

class DateItem {
public:
    // A child of the Today window; it asks the Today window for its background like any item.
    HWND Create(HWND today);
    HWND Window() const { return m_window; }
    int Height() const;
    // Repaints when the date has changed since the last paint.
    void CheckDate();

    // "Tuesday, March 7, 2006".
    static std::wstring DateText(const platform::CalendarTime& time);

private:
    static LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();

    HWND m_window = nullptr;
    int m_paintedDay = 0;
};

} // namespace host

#include "platform/ui/controls/DatePickerControl.h"

#include "platform/ui/CommCtrl.h"
#include "platform/ui/backend/RenderBackend.h"
#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

namespace {

int DayNumber(const SYSTEMTIME& date)
{
    return date.wYear * 10000 + date.wMonth * 100 + date.wDay;
}

SYSTEMTIME WithDate(SYSTEMTIME time, int year, int month, int day)
{
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    CalendarTime calendar;
    if (CalendarFromSystemTime(time, calendar))
        time.wDayOfWeek = static_cast<WORD>(calendar.DayOfWeek());
    return time;
}

// The date held within the range, keeping its time of day.
SYSTEMTIME Clamp(const DatePickerData& data, const SYSTEMTIME& date)
{
    if ((data.limits & GDTR_MIN) != 0 && DayNumber(date) < DayNumber(data.minimum))
        return WithDate(date, data.minimum.wYear, data.minimum.wMonth, data.minimum.wDay);
    if ((data.limits & GDTR_MAX) != 0 && DayNumber(date) > DayNumber(data.maximum))
        return WithDate(date, data.maximum.wYear, data.maximum.wMonth, data.maximum.wDay);
    return date;
}

void Show(Window& window)
{
    if (window.peer != nullptr)
        window.peer->SyncState();
}

} // namespace

bool DateWithinRange(const SYSTEMTIME& date, const SYSTEMTIME* minimum, const SYSTEMTIME* maximum)
{
    return (minimum == nullptr || DayNumber(date) >= DayNumber(*minimum))
        && (maximum == nullptr || DayNumber(date) <= DayNumber(*maximum));
}

void DatePickerUserDropDown(Window& window, bool dropped)
{
    DatePickerData& data = DataOf<DatePickerData>(window);
    if (data.dropped == dropped)
        return;
    data.dropped = dropped;
    NMHDR note {};
    NotifyParent(window, note, dropped ? DTN_DROPDOWN : DTN_CLOSEUP);
}

void DatePickerUserPick(Window& window, int year, int month, int day)
{
    DatePickerData& data = DataOf<DatePickerData>(window);
    SYSTEMTIME picked = WithDate(data.value, year, month, day);
    if (!IsValidSystemTime(picked))
        return;
    picked = Clamp(data, picked);
    bool changed = data.none || DayNumber(picked) != DayNumber(data.value);
    data.value = picked;
    data.none = false;
    Show(window);
    if (!changed)
        return;
    NMDATETIMECHANGE note {};
    note.dwFlags = GDT_VALID;
    note.st = picked;
    NotifyParent(window, note.nmhdr, DTN_DATETIMECHANGE);
}

LRESULT DatePickerProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = WindowManager::Get().Find(handle);
    if (window == nullptr)
        return 0;
    DatePickerData& data = DataOf<DatePickerData>(*window);
    auto* times = reinterpret_cast<SYSTEMTIME*>(lParam);
    switch (message) {
    case WM_CREATE:
        // A new picker shows the current date and time.
        GetLocalTime(&data.value);
        Show(*window);
        return 0;
    case DTM_GETSYSTEMTIME:
        if (times == nullptr)
            return GDT_ERROR;
        if (data.none)
            return GDT_NONE;
        *times = data.value;
        return GDT_VALID;
    case DTM_SETSYSTEMTIME:
        if (wParam == GDT_NONE) {
            if ((window->style & DTS_SHOWNONE) == 0)
                return FALSE;
            data.none = true;
            Show(*window);
            return TRUE;
        }
        if (wParam != GDT_VALID || times == nullptr || !IsValidSystemTime(*times))
            return FALSE;
        if (!DateWithinRange(*times, (data.limits & GDTR_MIN) != 0 ? &data.minimum : nullptr,
                (data.limits & GDTR_MAX) != 0 ? &data.maximum : nullptr))
            return FALSE;
        data.value = WithDate(*times, times->wYear, times->wMonth, times->wDay);
        data.none = false;
        Show(*window);
        return TRUE;
    case DTM_SETRANGE: {
        DWORD limits = static_cast<DWORD>(wParam) & (GDTR_MIN | GDTR_MAX);
        if (limits != 0 && times == nullptr)
            return FALSE;
        if (((limits & GDTR_MIN) != 0 && !IsValidSystemTime(times[0]))
            || ((limits & GDTR_MAX) != 0 && !IsValidSystemTime(times[1])))
            return FALSE;
        data.limits = limits;
        if ((limits & GDTR_MIN) != 0)
            data.minimum = times[0];
        if ((limits & GDTR_MAX) != 0)
            data.maximum = times[1];
        // A date outside the new range moves to its nearer end, without a notification.
        data.value = Clamp(data, data.value);
        Show(*window);
        return TRUE;
    }
    case DTM_GETRANGE:
        if (times != nullptr) {
            times[0] = (data.limits & GDTR_MIN) != 0 ? data.minimum : SYSTEMTIME {};
            times[1] = (data.limits & GDTR_MAX) != 0 ? data.maximum : SYSTEMTIME {};
        }
        return static_cast<LRESULT>(data.limits);
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcW(handle, message, wParam, lParam);
    }
}

bool DatePickerUserAction(Window& window, const UserAction& action)
{
    if (action.kind != UserActionKind::PickDate)
        return false;
    HWND handle = window.Handle();
    SetFocus(handle);
    auto& manager = WindowManager::Get();
    if (Window* live = manager.Find(handle))
        DatePickerUserDropDown(*live, true);
    if (Window* live = manager.Find(handle))
        DatePickerUserPick(*live, action.year, action.month, action.day);
    if (Window* live = manager.Find(handle))
        DatePickerUserDropDown(*live, false);
    return true;
}

} // namespace platform::ui

// The "SysDateTimePick32" class: a date (with its time of day kept) shown in the device's
// short date form, picked from a dropped calendar within an optional range.
#pragma once

#include "platform/time/SystemTime.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/wm/UserAction.h"
#include "platform/ui/controls/ControlSupport.h"

namespace platform::ui {

class Window;

// What the control keeps: its date, or none, and the range the user may pick from.
struct DatePickerData : ControlData {
    SYSTEMTIME value {};
    bool none = false;
    SYSTEMTIME minimum {};
    SYSTEMTIME maximum {};
    DWORD limits = 0; // GDTR_MIN, GDTR_MAX
    bool dropped = false;
};

LRESULT DatePickerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The user's actions: the calendar drops down (DTN_DROPDOWN) or closes (DTN_CLOSEUP); a date is
// picked (held within the range; DTN_DATETIMECHANGE when it differs).
void DatePickerUserDropDown(Window& window, bool dropped);
void DatePickerUserPick(Window& window, int year, int month, int day);

// Whether a date lies within the limits that are set; dates compare by day only.
bool DateWithinRange(const SYSTEMTIME& date, const SYSTEMTIME* minimum, const SYSTEMTIME* maximum);

// PickDate: the calendar drops down, the day is picked, the calendar closes.
bool DatePickerUserAction(Window& window, const UserAction& action);

} // namespace platform::ui

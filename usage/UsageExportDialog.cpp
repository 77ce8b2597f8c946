#include "usage/UsageExportDialog.h"

#include <array>

#include "item/PluginModule.h"
#include "netinfo/AdapterTracking.h"
#include "platform/shell/AygShell.h"
#include "platform/text/Format.h"
#include "platform/time/SystemTime.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/CommDlg.h"
#include "resources/ResourceIds.h"
#include "usage/MonthFileCache.h"
#include "usage/UsageStorage.h"

const wchar_t* const UsageExportDefaultPath = L"\\Program Files\\Velmora\\export.csv";

namespace {

constexpr int kPathCapacity = 256;
const wchar_t* const kIntervalNames[] = { L"Monthly", L"Daily", L"Hourly" };

// The range the pickers show; only one export dialog is ever open.
platform::CalendarTime g_exportStart;
platform::CalendarTime g_exportEnd;

int Stop(HWND dialog, const std::wstring& text)
{
    return MessageBoxW(dialog, text.c_str(), L"Velmora", MB_OK | MB_ICONSTOP);
}

std::wstring PathField(HWND dialog)
{
    std::array<wchar_t, kPathCapacity + 1> path {};
    GetDlgItemTextW(dialog, IDC_EXPORT_PATH, path.data(), static_cast<int>(path.size()));
    return path.data();
}

void LimitPicker(HWND dialog, int id, const platform::CalendarTime& oldest, const platform::CalendarTime& now)
{
    std::array<SYSTEMTIME, 2> range { platform::SystemTimeFromCalendar(oldest), platform::SystemTimeFromCalendar(now) };
    SendDlgItemMessageW(dialog, id, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range.data()));
    SYSTEMTIME shown = platform::SystemTimeFromCalendar(now);
    SendDlgItemMessageW(dialog, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&shown));
}

void Export_OnInitDialog(HWND dialog)
{
    SHINITDLGINFO shellInit { SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN };
    SHInitDialog(&shellInit);

    HWND intervals = GetDlgItem(dialog, IDC_EXPORT_INTERVAL);
    for (const wchar_t* name : kIntervalNames)
        SendMessageW(intervals, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageW(intervals, CB_SETCURSEL, 0, 0);

    const platform::CalendarTime now = platform::CalendarTime::Now();
    const platform::CalendarTime oldest = OldestLogMonth(g_pModule->m_settings.UsageLogPath);
    LimitPicker(dialog, IDC_EXPORT_START, oldest, now);
    LimitPicker(dialog, IDC_EXPORT_END, oldest, now);
    SendDlgItemMessageW(dialog, IDC_EXPORT_PATH, EM_LIMITTEXT, kPathCapacity, 0);
    SetDlgItemTextW(dialog, IDC_EXPORT_PATH, UsageExportDefaultPath);
    g_exportStart = now;
    g_exportEnd = now;
}

void Export_OnDateChange(const NMDATETIMECHANGE* change)
{
    platform::CalendarTime picked;
    if (change->dwFlags != GDT_VALID || !platform::CalendarFromSystemTime(change->st, picked))
        return;
    if (change->nmhdr.idFrom == IDC_EXPORT_START)
        g_exportStart = picked;
    else if (change->nmhdr.idFrom == IDC_EXPORT_END)
        g_exportEnd = picked;
}

void Export_OnBrowse(HWND dialog)
{
    std::array<wchar_t, kPathCapacity + 1> path {};
    PathField(dialog).copy(path.data(), kPathCapacity);
    OPENFILENAMEW choice {};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = dialog;
    choice.lpstrFilter = L"CSV Files (*.csv)\0*.csv\0";
    choice.nFilterIndex = 1;
    choice.lpstrFile = path.data();
    choice.nMaxFile = kPathCapacity;
    choice.lpstrTitle = L"Export Usage";
    choice.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    choice.lpstrDefExt = L"csv";
    if (GetSaveFileNameW(&choice))
        SetDlgItemTextW(dialog, IDC_EXPORT_PATH, path.data());
}

void Export_OnOk(HWND dialog)
{
    if (g_exportStart > g_exportEnd) {
        Stop(dialog, L"Invalid date range. The end date must be after the start date.");
        return;
    }
    const std::wstring path = PathField(dialog);
    const DWORD interval = ExportIntervalAt(SendDlgItemMessageW(dialog, IDC_EXPORT_INTERVAL, CB_GETCURSEL, 0, 0));
    if (ExportAsksForWholeMonth(interval, g_exportStart, g_exportEnd)
        && MessageBoxW(dialog,
               L"This will export the total bytes for the selected month, for ALL days within the month. Please choose "
               L"a smaller interval to obtain intra-month statistics. Continue?",
               L"Velmora", MB_YESNO | MB_ICONQUESTION)
            != IDYES)
        return;

    const Settings& settings = g_pModule->m_settings;
    UsageDisplayName displayName = [&settings](const std::wstring& key) { return UsageInterfaceDisplayName(settings, key); };
    MonthFileCache months;
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    ExportOutcome outcome = ExportUsageFile(g_pModule->m_usageLogger, g_exportStart, g_exportEnd, interval, path,
        settings.UsageLogPath, displayName, months);
    SetCursor(previous);
    // The dialog stays open after a failure, so that the user can mend the path or the range.
    if (std::wstring failure = ExportFailureText(outcome, path); !failure.empty()) {
        Stop(dialog, failure);
        return;
    }
    EndDialog(dialog, 1);
}

BOOL Export_OnCommand(HWND dialog, int id)
{
    switch (id) {
    case IDC_EXPORT_BROWSE:
        Export_OnBrowse(dialog);
        return TRUE;
    case IDOK:
        Export_OnOk(dialog);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 2);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

DWORD ExportIntervalAt(LRESULT listPosition)
{
    // Nothing chosen cannot happen (the list opens on "Monthly"); it reads as the first.
    if (listPosition < 0 || listPosition > 2)
        return ExportMonthly;
    return ExportMonthly + static_cast<DWORD>(listPosition);
}

bool ExportAsksForWholeMonth(DWORD exportInterval, const platform::CalendarTime& start, const platform::CalendarTime& end)
{
    return exportInterval == ExportMonthly && start.Year() == end.Year() && start.Month() == end.Month();
}

std::wstring ExportFailureText(ExportOutcome outcome, const std::wstring& path)
{
    switch (outcome) {
    case ExportOutcome::Written:
        return {};
    case ExportOutcome::NoInterfaces:
        return L"No usage was logged in this range.";
    default:
        return Fmt(L"Could not write the export file %s.", path);
    }
}

INT_PTR UsageExportProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        Export_OnInitDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        return Export_OnCommand(dialog, LOWORD(wParam));
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header != nullptr && header->code == DTN_DATETIMECHANGE)
            Export_OnDateChange(reinterpret_cast<const NMDATETIMECHANGE*>(header));
        return FALSE;
    }
    default:
        return FALSE;
    }
}

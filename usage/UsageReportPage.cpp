#include "usage/UsageReportPage.h"

#include <algorithm>
#include <string>
#include <vector>

#include "item/PluginModule.h"
#include "netinfo/AdapterTracking.h"
#include "platform/time/DateFormat.h"
#include "platform/time/SystemTime.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/HtmlCtrl.h"
#include "platform/ui/Resources.h"
#include "platform/ui/WinGdi.h"
#include "resources/ResourceIds.h"
#include "usage/UsageChartCanvas.h"
#include "usage/UsageExportDialog.h"
#include "usage/UsageReader.h"
#include "usage/UsageReportHtml.h"
#include "usage/UsageReportRows.h"
#include "usage/UsageSettingsDialog.h"
#include "usage/UsageStorage.h"

using platform::CalendarTime;

namespace {

constexpr DWORD kViewerStyle = WS_CHILD | WS_VISIBLE;
constexpr DWORD kHeadingStripStyle = kViewerStyle | 0x20;
constexpr int kLargeButtonScreen = 321;

struct UsagePageState {
    DWORD mode = IntervalHourly;
    DWORD modeIcon = IntervalHourly; // the mode the mode button shows
    bool tableView = false;
    CalendarTime selectedDate;
    CalendarTime shownDate; // the selected date when a pick last rendered
    RECT chartRect {};
    int width = 0;
    int height = 0;
    HWND viewer = nullptr;
};

UsagePageState g_usagePage;
UsageChartCanvas g_usageChart;

ChartScale Scale()
{
    return ChartScale { g_pModule->m_logPixelsX, g_pModule->m_logPixelsY };
}

// The mode after this one: hourly, daily, monthly and round again.
DWORD NextMode(DWORD mode)
{
    return mode == IntervalDaily ? IntervalMonthly : mode == IntervalHourly ? IntervalDaily : IntervalHourly;
}

void ReadPageSize(HWND page)
{
    RECT window {};
    GetWindowRect(page, &window);
    g_usagePage.width = window.right - window.left;
    g_usagePage.height = window.bottom - window.top;
}

// Every rendering makes a new viewer, so each is given the options (no scripts, the smaller
// zoom), not only the first: the heading then fits the strip above the chart on small screens.
HWND CreateViewer(HWND page, DWORD style, int height)
{
    ChartScale s = Scale();
    HWND viewer = CreateWindowExW(0, WC_HTML, nullptr, style, s.X(4), s.Y(33), g_usagePage.width, height, page, nullptr,
        g_pModule->m_hInstance, nullptr);
    SendMessageW(viewer, DTM_ENABLESCRIPTING, 0, 0);
    SendMessageW(viewer, DTM_ZOOMLEVEL, 0, 1);
    return viewer;
}

void SendHtml(HWND viewer, const std::vector<std::wstring>& fragments)
{
    for (const std::wstring& fragment : fragments)
        SendMessageW(viewer, DTM_ADDTEXTW, 0, reinterpret_cast<LPARAM>(fragment.c_str()));
    SendMessageW(viewer, DTM_ENDOFSOURCE, 0, 0);
}

void PaintChartAreaWhite(HWND page)
{
    HDC dc = GetDC(page);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(WHITE_PEN));
    const RECT& chart = g_usagePage.chartRect;
    Rectangle(dc, chart.left, chart.top, chart.right, chart.bottom);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    ReleaseDC(page, dc);
}

// The settings are copied: a settings dialog may change them while the logs are read.
UsageTable ReadTable()
{
    const std::wstring selector = g_pModule->m_settings.UsageInterface;
    const std::wstring folder = g_pModule->m_settings.UsageLogPath;
    return UsageTotals(g_pModule->m_usageLogger, g_usagePage.mode, g_usagePage.selectedDate, selector, folder);
}

UsageReportTitle Title()
{
    const Settings& settings = g_pModule->m_settings;
    const CalendarTime& date = g_usagePage.selectedDate;
    UsageReportTitle title;
    title.interval = g_usagePage.mode;
    title.monthName = platform::FormatDate(date, L"MMMM");
    title.day = date.Day();
    title.year = date.Year();
    title.adapterLabel = settings.UsageInterface.empty() ? std::wstring(L"All Network Adapters")
                                                         : UsageInterfaceDisplayName(settings, settings.UsageInterface);
    return title;
}

void RenderCurrentView(HWND page)
{
    SendMessageW(page, g_usagePage.tableView ? WM_USAGE_RENDER_TABLE : WM_USAGE_RENDER_CHART, 0, 0);
}

void UsagePage_OnInitDialog(HWND page)
{
    ChartScale s = Scale();
    ReadPageSize(page);
    g_usagePage.chartRect = RECT { s.X(4), s.Y(65), g_usagePage.width + s.X(4), g_usagePage.height };
    g_usagePage.viewer = CreateViewer(page, kViewerStyle, g_usagePage.height - s.Y(33));

    const CalendarTime now = CalendarTime::Now();
    g_usagePage.selectedDate = now;
    g_usagePage.shownDate = now;
    g_usagePage.mode = IntervalHourly;
    g_usagePage.modeIcon = IntervalHourly;

    SYSTEMTIME range[2] = {
        platform::SystemTimeFromCalendar(OldestLogMonth(g_pModule->m_settings.UsageLogPath)),
        platform::SystemTimeFromCalendar(now),
    };
    SendDlgItemMessageW(page, IDC_USAGE_DATE, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));

    g_usagePage.tableView = false;
    SendMessageW(page, WM_USAGE_RENDER_CHART, 0, 0);
}

void UsagePage_OnSize(HWND page)
{
    if (g_usagePage.viewer == nullptr)
        return; // not set up yet, or ended
    ChartScale s = Scale();
    ReadPageSize(page);
    RECT client {};
    GetClientRect(page, &client);
    g_usagePage.chartRect = RECT { s.X(4), s.Y(65), s.X(4) + client.right, client.bottom };
    RenderCurrentView(page);
}

void UsagePage_OnRenderChart(HWND page)
{
    HCURSOR normal = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    ChartScale s = Scale();
    const UsageTable table = ReadTable();
    const UsageReportTitle title = Title();

    SendMessageW(g_usagePage.viewer, DTM_CLEAR, 0, 0);
    PaintChartAreaWhite(page);
    DestroyWindow(g_usagePage.viewer);
    g_usagePage.viewer = CreateViewer(page, kHeadingStripStyle, s.Y(33));
    SendHtml(g_usagePage.viewer, UsageChartHeadingHtml(title));

    UsageChartData data;
    const int slots = UsageSlotCount(g_usagePage.mode, g_usagePage.selectedDate);
    data.base = g_usagePage.mode == IntervalHourly ? 0 : 1;
    for (int i = 0; i < slots; ++i) {
        data.sent.push_back(table[static_cast<size_t>(i) + 1]);
        data.received.push_back(table[UsageTableReceived + 1 + static_cast<size_t>(i)]);
    }
    const RECT& chart = g_usagePage.chartRect;
    HDC screen = GetDC(page);
    g_usageChart.Render(screen, chart.right - chart.left, chart.bottom - chart.top, data, s);
    ReleaseDC(page, screen);

    SetCursor(normal);
    InvalidateRect(page, nullptr, TRUE);
}

void UsagePage_OnRenderTable(HWND page)
{
    HCURSOR normal = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    ChartScale s = Scale();
    const UsageTable table = ReadTable();

    DestroyWindow(g_usagePage.viewer);
    g_usagePage.viewer = CreateViewer(page, kViewerStyle, g_usagePage.height - s.Y(33));
    SendMessageW(g_usagePage.viewer, DTM_CLEAR, 0, 0);
    PaintChartAreaWhite(page);

    UsageCalendarNames names;
    names.weekdayShort = [](const CalendarTime& t) { return platform::FormatDate(t, L"ddd"); };
    names.monthLong = [](const CalendarTime& t) { return platform::FormatDate(t, L"MMMM"); };
    const bool zeros = g_pModule->m_settings.UsageShowZeros != 0;
    SendHtml(g_usagePage.viewer,
        UsageTableHtml(Title(), UsageReportRows(table, g_usagePage.mode, g_usagePage.selectedDate, zeros, names)));
    SetCursor(normal);
}

void UsagePage_OnPaint(HWND page)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(page, &ps);
    const RECT& chart = g_usagePage.chartRect;
    if (!g_usagePage.tableView && g_usageChart.Dc() != nullptr)
        BitBlt(dc, chart.left, chart.top, chart.right - chart.left, chart.bottom - chart.top, g_usageChart.Dc(), 0, 0, SRCCOPY);
    EndPaint(page, &ps);
}

int ButtonBitmap(UINT id, bool large)
{
    switch (id) {
    case IDC_USAGE_SETTINGS:
        return large ? IDB_USAGE_SETTINGS_LARGE : IDB_USAGE_SETTINGS;
    case IDC_USAGE_EXPORT:
        return large ? IDB_USAGE_EXPORT_LARGE : IDB_USAGE_EXPORT;
    case IDC_USAGE_MODE:
        if (large)
            return IDB_USAGE_MODE_LARGE;
        return g_usagePage.modeIcon == IntervalHourly ? IDB_USAGE_MODE_HOURLY
            : g_usagePage.modeIcon == IntervalDaily   ? IDB_USAGE_MODE_DAILY
                                                      : IDB_USAGE_MODE_MONTHLY;
    case IDC_USAGE_TABLE:
        return large ? IDB_USAGE_TABLE_LARGE : IDB_USAGE_TABLE;
    case IDC_USAGE_CHART:
        return large ? IDB_USAGE_CHART_LARGE : IDB_USAGE_CHART;
    default:
        return 0;
    }
}

void UsagePage_OnDrawItem(HWND page, const DRAWITEMSTRUCT& item)
{
    const bool large = GetSystemMetrics(SM_CXSCREEN) >= kLargeButtonScreen;
    if (item.CtlID == IDC_USAGE_MODE && (item.itemState & ODS_SELECTED) != 0)
        g_usagePage.modeIcon = NextMode(g_usagePage.mode); // what the click will select
    int bitmapId = ButtonBitmap(item.CtlID, large);
    if (bitmapId == 0) {
        MessageBoxW(page, L"Unknown Control ID", L"UsageDlg", MB_OK);
        return;
    }
    ChartScale s = Scale();
    HBITMAP bitmap = LoadBitmapW(g_pModule->m_hInstance, MAKEINTRESOURCEW(bitmapId));
    HDC memory = CreateCompatibleDC(item.hDC);
    HGDIOBJ displaced = SelectObject(memory, bitmap);
    if (large)
        BitBlt(item.hDC, 4, 4, 32, 32, memory, 0, 0, SRCCOPY);
    else
        StretchBlt(item.hDC, 0, 0, s.X(20), s.Y(20), memory, 0, 0, 20, 20, SRCCOPY);
    SelectObject(memory, displaced);
    DeleteDC(memory);
    DeleteObject(bitmap);

    HGDIOBJ oldPen = SelectObject(item.hDC, GetStockObject(BLACK_PEN));
    HGDIOBJ oldBrush = SelectObject(item.hDC, GetStockObject(NULL_BRUSH));
    // Held to the button: 12 dialog units come out a pixel or two short of 40 on large screens.
    Rectangle(item.hDC, 0, 0, std::min<int>(s.X(20), item.rcItem.right), std::min<int>(s.Y(20), item.rcItem.bottom));
    SelectObject(item.hDC, oldBrush);
    SelectObject(item.hDC, oldPen);
}

void UsagePage_OnDateNotify(HWND page, const NMHDR& header)
{
    if (header.code == DTN_DATETIMECHANGE) {
        const auto& change = reinterpret_cast<const NMDATETIMECHANGE&>(header);
        CalendarTime picked;
        if (change.dwFlags == GDT_VALID && platform::CalendarFromSystemTime(change.st, picked))
            g_usagePage.selectedDate = picked;
    } else if (header.code == DTN_CLOSEUP && g_usagePage.selectedDate != g_usagePage.shownDate) {
        g_usagePage.shownDate = g_usagePage.selectedDate;
        RenderCurrentView(page);
    }
}

void UsagePage_OnSettings(HWND page)
{
    DialogBoxParamW(g_pModule->m_hInstance, MAKEINTRESOURCEW(IDD_USAGE_SETTINGS), page, UsageSettingsProc, 0);
    // The settings may have moved the logs or chosen another interface.
    SetTimer(page, kUsageRerenderTimer, kUsageRerenderDelay, nullptr);
}

void UsagePage_OnCommand(HWND page, int id)
{
    switch (id) {
    case IDC_USAGE_MODE:
        g_usagePage.mode = NextMode(g_usagePage.mode);
        RenderCurrentView(page);
        break;
    case IDC_USAGE_CHART:
        if (g_usagePage.tableView) {
            g_usagePage.tableView = false;
            SendMessageW(page, WM_USAGE_RENDER_CHART, 0, 0);
        }
        break;
    case IDC_USAGE_TABLE:
        if (!g_usagePage.tableView) {
            g_usagePage.tableView = true;
            SendMessageW(page, WM_USAGE_RENDER_TABLE, 0, 0);
        }
        break;
    case IDC_USAGE_SETTINGS:
        UsagePage_OnSettings(page);
        break;
    case IDC_USAGE_EXPORT:
        DialogBoxParamW(g_pModule->m_hInstance, MAKEINTRESOURCEW(IDD_USAGE_EXPORT), page, UsageExportProc, 0);
        break;
    case IDOK:
        DestroyWindow(g_usagePage.viewer);
        g_usagePage.viewer = nullptr;
        EndDialog(page, 1);
        break;
    }
}

} // namespace

INT_PTR UsageReportPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        UsagePage_OnInitDialog(page);
        return FALSE;
    case WM_SIZE:
        UsagePage_OnSize(page);
        return TRUE;
    case WM_PAINT:
        UsagePage_OnPaint(page);
        return TRUE;
    case WM_DRAWITEM:
        UsagePage_OnDrawItem(page, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_NOTIFY: {
        auto header = reinterpret_cast<const NMHDR*>(lParam);
        if (header != nullptr && header->idFrom == IDC_USAGE_DATE)
            UsagePage_OnDateNotify(page, *header);
        return FALSE;
    }
    case WM_COMMAND:
        UsagePage_OnCommand(page, LOWORD(wParam));
        return TRUE;
    case WM_TIMER:
        if (wParam != kUsageRerenderTimer)
            return FALSE;
        KillTimer(page, kUsageRerenderTimer);
        RenderCurrentView(page);
        return TRUE;
    case WM_USAGE_RENDER_TABLE:
        UsagePage_OnRenderTable(page);
        return TRUE;
    case WM_USAGE_RENDER_CHART:
        UsagePage_OnRenderChart(page);
        return TRUE;
    case WM_DESTROY:
        KillTimer(page, kUsageRerenderTimer);
        g_usagePage.viewer = nullptr; // a child: it goes with the page
        return FALSE;
    }
    return FALSE;
}

void ReleaseUsageChartCanvas()
{
    g_usageChart.Release();
}

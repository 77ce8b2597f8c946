// The HTML the usage report page gives its viewer, fragment by fragment as they are sent: the
// chart view's heading strip and the table view. Every text that comes from data (the adapter's
// label, month and weekday names) is escaped, so that an adapter named "<b>" stays text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/WinTypes.h"
#include "usage/UsageReportRows.h"

// What the headings say: the period and whose traffic it is.
struct UsageReportTitle {
    DWORD interval = 3; // IntervalHourly, IntervalDaily or IntervalMonthly
    std::wstring monthName; // "MMMM" of the selected date
    int day = 1;
    int year = 1970;
    std::wstring adapterLabel;
};

// &, <, >, " and ' as entities.
std::wstring HtmlEscape(std::wstring_view text);

std::vector<std::wstring> UsageChartHeadingHtml(const UsageReportTitle& title);
// The heading, the column titles and one row per slot given, grey and white by turns.
std::vector<std::wstring> UsageTableHtml(const UsageReportTitle& title, const std::vector<UsageReportRow>& rows);

// A standalone page of the fragments: UTF-8, with the chart's image above them when named.
std::string UsageReportDocument(const std::vector<std::wstring>& fragments, const std::string& chartImage);

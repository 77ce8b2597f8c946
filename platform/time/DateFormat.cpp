#include "platform/time/DateFormat.h"

#include "platform/core/LastError.h"

#include <string>

namespace {

const wchar_t* const kMonthNames[] = { L"January", L"February", L"March", L"April", L"May", L"June", L"July",
    L"August", L"September", L"October", L"November", L"December" };
const wchar_t* const kMonthAbbreviations[]
    = { L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun", L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec" };
const wchar_t* const kDayNames[]
    = { L"Sunday", L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday", L"Saturday" };
const wchar_t* const kDayAbbreviations[] = { L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat" };

constexpr const wchar_t* kShortDate = L"M/d/yyyy";
constexpr const wchar_t* kLongDate = L"dddd, MMMM dd, yyyy";

bool IsKnownLocale(LCID locale)
{
    return locale == 0 || locale == LOCALE_USER_DEFAULT || locale == LOCALE_SYSTEM_DEFAULT
        || locale == GetSystemDefaultLCID();
}

// The caller's day of the week is not trusted: the platform works it out from the date.
int DayOfWeek(int year, int month, int day)
{
    static const int kMonthOffsets[] = { 0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4 };
    if (month < 3)
        --year;
    return (year + year / 4 - year / 100 + year / 400 + kMonthOffsets[month - 1] + day) % 7;
}

std::wstring Number(int value, int width)
{
    std::wstring text = std::to_wstring(value);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, width - text.size(), L'0');
    return text;
}

std::wstring Expand(std::wstring_view picture, const SYSTEMTIME& date)
{
    std::wstring out;
    size_t i = 0;
    while (i < picture.size()) {
        wchar_t ch = picture[i];
        if (ch == L'\'') {
            for (++i; i < picture.size(); ++i) {
                if (picture[i] != L'\'') {
                    out += picture[i];
                } else if (i + 1 < picture.size() && picture[i + 1] == L'\'') {
                    out += L'\'';
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
            continue;
        }
        size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == ch)
            ++run;
        switch (ch) {
        case L'd':
            if (run <= 2)
                out += Number(date.wDay, static_cast<int>(run));
            else
                out += (run == 3 ? kDayAbbreviations : kDayNames)[DayOfWeek(date.wYear, date.wMonth, date.wDay)];
            break;
        case L'M':
            if (run <= 2)
                out += Number(date.wMonth, static_cast<int>(run));
            else
                out += (run == 3 ? kMonthAbbreviations : kMonthNames)[date.wMonth - 1];
            break;
        case L'y':
            if (run <= 2)
                out += Number(date.wYear % 100, static_cast<int>(run));
            else
                out += Number(date.wYear, 4);
            break;
        case L'g':
            out += L"A.D.";
            break;
        default:
            out.append(run, ch);
            break;
        }
        i += run;
    }
    return out;
}

} // namespace

int GetDateFormatW(LCID locale, DWORD flags, const SYSTEMTIME* date, LPCWSTR format, LPWSTR dateText, int cchDate)
{
    if (!IsKnownLocale(locale) || cchDate < 0 || (cchDate > 0 && dateText == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if ((format != nullptr && flags != 0) || (flags & ~(DATE_SHORTDATE | DATE_LONGDATE)) != 0
        || (flags & (DATE_SHORTDATE | DATE_LONGDATE)) == (DATE_SHORTDATE | DATE_LONGDATE)) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    SYSTEMTIME day {};
    if (date == nullptr) {
        GetLocalTime(&day);
    } else {
        // Only the date counts; the time of day is not looked at.
        day = SYSTEMTIME { date->wYear, date->wMonth, 0, date->wDay, 0, 0, 0, 0 };
        if (!platform::IsValidSystemTime(day)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
    }
    const wchar_t* picture = format != nullptr ? format : (flags & DATE_LONGDATE) != 0 ? kLongDate : kShortDate;
    std::wstring text = Expand(picture, day);
    int needed = static_cast<int>(text.size()) + 1;
    if (cchDate == 0)
        return needed;
    if (cchDate < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    text.copy(dateText, text.size());
    dateText[text.size()] = L'\0';
    return needed;
}

namespace platform {

std::wstring FormatDate(const CalendarTime& time, const wchar_t* picture)
{
    SYSTEMTIME date = SystemTimeFromCalendar(time);
    wchar_t text[64] = {};
    if (GetDateFormatW(0, 0, &date, picture, text, 64) == 0)
        return {};
    return text;
}

} // namespace platform

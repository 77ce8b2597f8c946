// GetDateFormatW: a date as text by a format picture or the locale's short or long date, as
// the report pages name months and weekdays. The device's locales all get the English names
// and the United States date orders.
#pragma once

#include "platform/device/Device.h"
#include "platform/time/SystemTime.h"

#include <string>

constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;

constexpr DWORD DATE_SHORTDATE = 0x00000001;
constexpr DWORD DATE_LONGDATE = 0x00000002;

// Picture elements: d dd ddd dddd, M MM MMM MMMM, y yy yyyy, g gg; text in single quotes is
// copied ('' is a quote); other characters are copied. Returns the characters written with the
// terminating NUL, or with cchDate 0 the size needed; 0 on failure with the last error set
// (ERROR_INVALID_PARAMETER: a bad date, locale or buffer; ERROR_INVALID_FLAGS: flags with a
// picture, or both date lengths; ERROR_INSUFFICIENT_BUFFER: the text does not fit). A null
// date is today's local date.
int GetDateFormatW(LCID locale, DWORD flags, const SYSTEMTIME* date, LPCWSTR format, LPWSTR dateText, int cchDate);

namespace platform {

// The date of a calendar time by a picture, for the system's own texts.
std::wstring FormatDate(const CalendarTime& time, const wchar_t* picture);

} // namespace platform

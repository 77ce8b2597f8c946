// Usage totals per bucket as the reader hands them to the report and the export.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/core/WinTypes.h"

// Interval codes of the reader: which buckets a table's entries stand for.
enum : DWORD {
    IntervalMonthly = 1, // bucket = month 1 to 12
    IntervalDaily = 2,   // bucket = day of month 1 to 31
    IntervalHourly = 3,  // bucket = hour + 1, 1 to 24
};

// Entry k: bytes sent in bucket k; entry UsageTableReceived + k: bytes received. Bucket 32 is
// never filled; bucket 0 only by malformed daily lines whose day reads 0. Sums are 64-bit.
constexpr size_t UsageTableSize = 65;
constexpr size_t UsageTableReceived = 32;
using UsageTable = std::array<ULONG64, UsageTableSize>;

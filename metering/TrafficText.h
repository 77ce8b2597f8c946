// Byte counts and bit rates as the short texts the item, the meter and the reports show.
// Binary units throughout: 1 KB is 1024 bytes, 1 kbps 1024 bits per second.
#pragma once

#include <string>

#include "platform/core/WinTypes.h"

// Decimal mode ("1.5 KB") converts to single precision and scales by a power of two in single
// precision before printing one decimal; integer mode ("1 KB") truncates.
enum class ByteTextMode { Decimal, Integer };

// Past 1 GB the unit stays GB: "5.0 GB", "4096.0 GB".
std::wstring FormatBytes(ULONG64 bytes, ByteTextMode mode);
std::wstring FormatRate(ULONG64 bitsPerSecond);

// The system's message texts for its error codes, as the device's FormatMessageW gives them:
// one language, each text ended by a line break, no inserts.
#pragma once

#include <cstdarg>

#include "platform/core/WinTypes.h"

enum : DWORD {
    FORMAT_MESSAGE_IGNORE_INSERTS = 0x00000200,
    FORMAT_MESSAGE_FROM_STRING = 0x00000400,
    FORMAT_MESSAGE_FROM_HMODULE = 0x00000800,
    FORMAT_MESSAGE_FROM_SYSTEM = 0x00001000,
    FORMAT_MESSAGE_ARGUMENT_ARRAY = 0x00002000,
    FORMAT_MESSAGE_MAX_WIDTH_MASK = 0x000000FF,
};

constexpr DWORD ERROR_MR_MID_NOT_FOUND = 317;

// The text of an error code the platform reports (those its errno mapping gives and those its
// calls set), without the line break; null for a code it has no text for.
const wchar_t* SystemMessageText(DWORD messageId);

// FORMAT_MESSAGE_FROM_SYSTEM only, into the caller's buffer (the device's callers never let the
// system allocate). The count of characters written without the terminator; 0 with the last
// error ERROR_MR_MID_NOT_FOUND for an unknown code, ERROR_INSUFFICIENT_BUFFER when the text
// and its terminator do not fit in nSize characters, ERROR_INVALID_PARAMETER for other sources.
DWORD FormatMessageW(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPWSTR lpBuffer,
    DWORD nSize, va_list* Arguments);

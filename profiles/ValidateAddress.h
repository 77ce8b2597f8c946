// The address check of the profile editor: dotted-decimal IPv4 text as the platform's address
// parser reads it, with at least three dots so that the short forms ("10.1.1") are refused.
#pragma once

#include <string>

#include "platform/core/WinTypes.h"

// 1 valid, 0 invalid. Empty text is valid only when empty is allowed.
DWORD ValidateAddress(const std::wstring& text, bool allowEmpty);

// The address the platform's parser makes of the text, in host order: one to four parts
// separated by ".", each decimal, octal (leading 0) or hexadecimal (0x), the last part filling
// the remaining bytes; the parse ends at the first blank. INADDR_NONE (0xFFFFFFFF) for text it
// refuses, and so also for 255.255.255.255.
DWORD ParseInetAddress(const std::string& text);

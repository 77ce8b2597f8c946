// The address check of the profile editor: dotted-decimal IPv4 text as the platform's inet_addr
// reads it, with at least three dots so that the short forms ("10.1.1") are refused.
#pragma once

#include <string>

#include "platform/core/WinTypes.h"

// 1 valid, 0 invalid. Empty text is valid only when empty is allowed.
DWORD ValidateAddress(const std::wstring& text, bool allowEmpty);

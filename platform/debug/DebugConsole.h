// The platform's debug console. On the device its texts reach an attached debugger; here they
// go to standard error when VELMORA_DEBUG is set, and to a capture that tests install.
#pragma once

#include <string>

#include "platform/core/WinTypes.h"

void OutputDebugStringW(LPCWSTR text);
// The system also writes a few narrow texts; they are widened byte by byte.
void OutputDebugStringA(LPCSTR text);

namespace platform {

// While a capture is installed every debug text is appended to it (UTF-8). Null removes it.
void CaptureDebugOutput(std::string* capture);
// Every debug text to standard error as well, as VELMORA_DEBUG does: a host without a window
// has no other place to show what the module reports.
void SendDebugOutputToStandardError(bool send);

} // namespace platform

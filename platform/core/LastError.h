// The calling thread's last-error code, as GetLastError and SetLastError keep it.
#pragma once

#include "platform/core/WinTypes.h"

DWORD GetLastError();
void SetLastError(DWORD error);

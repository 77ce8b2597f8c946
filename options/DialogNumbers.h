// Numbers the user types into the options pages' edit fields, and the steps of the up-down
// controls beside them, which the pages write into the field themselves.
#pragma once

#include <string>

#include "platform/ui/WinUser.h"

// The field's number: at most its first 10 characters read as a decimal number (text that
// is not one reads 0), held within low and high.
DWORD BoundedNumberFromText(const std::wstring& text, DWORD low, DWORD high);
DWORD ReadBoundedNumber(HWND dialog, int id, DWORD low, DWORD high);

// One press on the field's up-down control: the up-down's own range runs backwards, so a
// delta below 1 is a step up. 0 becomes 1, and the value stays at most high.
DWORD StepBoundedNumber(DWORD value, int delta, DWORD high);

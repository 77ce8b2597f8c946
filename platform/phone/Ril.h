// The radio interface library "ril.dll", which the system loads at run time and whose
// functions it looks up by name. Results arrive later, on the library's own thread, through
// the result callback.
#pragma once

#include "platform/core/WinTypes.h"

struct HRIL__;
using HRIL = HRIL__*;
using HRESULT = LONG;

using RILRESULTCALLBACK = void (*)(DWORD dwCode, HRESULT hrCmdID, const void* lpData, DWORD cbData, DWORD dwParam);
using RILNOTIFYCALLBACK = void (*)(DWORD dwCode, const void* lpData, DWORD cbData, DWORD dwParam);

using PFN_RIL_Initialize = HRESULT (*)(DWORD dwIndex, RILRESULTCALLBACK pfnResult, RILNOTIFYCALLBACK pfnNotify,
    DWORD dwNotificationClasses, DWORD dwParam, HRIL* lphRil);
using PFN_RIL_Deinitialize = HRESULT (*)(HRIL hRil);
// A positive command identifier, or a negative error.
using PFN_RIL_GetSignalQuality = HRESULT (*)(HRIL hRil);

enum : DWORD {
    RIL_RESULT_OK = 0x00000001,
    RIL_RESULT_ERROR = 0x00000003,
};

#define RIL_NCLASS_ALL 0x00FF0000u
#define RIL_E_FAIL static_cast<HRESULT>(0x80004005)

struct RILSIGNALQUALITY {
    DWORD cbSize;
    DWORD dwParams;
    INT iSignalStrength; // dBm
    INT iMinSignalStrength;
    INT iMaxSignalStrength;
    DWORD dwBitErrorRate;
    INT iLowSignalStrength;
    INT iHighSignalStrength;
};

inline constexpr wchar_t kRadioLibrary[] = L"ril.dll";

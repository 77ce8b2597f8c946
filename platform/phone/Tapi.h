// The platform's telephony API (TAPI) as far as the system uses it: initialise, negotiate
// versions, open and close a line, shut down; and three exports of the cellular TAPI
// extension, which the system imports by ordinal: 45 the current operator, 54 whether the
// line is the cellular radio's, 55 the registration status. Results are 0 on success and a
// negative LINEERR_* code on failure.
#pragma once

#include "platform/core/WinTypes.h"

using HLINEAPP = DWORD;
using LPHLINEAPP = HLINEAPP*;
using HLINE = DWORD;
using LPHLINE = HLINE*;

using LINECALLBACK = void (*)(DWORD hDevice, DWORD dwMessage, DWORD_PTR dwInstance, DWORD_PTR dwParam1,
    DWORD_PTR dwParam2, DWORD_PTR dwParam3);

struct LINEEXTENSIONID {
    DWORD dwExtensionID0;
    DWORD dwExtensionID1;
    DWORD dwExtensionID2;
    DWORD dwExtensionID3;
};
using LPLINEEXTENSIONID = LINEEXTENSIONID*;

struct LINECALLPARAMS;
using LPLINECALLPARAMS = LINECALLPARAMS*;

enum : DWORD {
    LINECALLPRIVILEGE_NONE = 0x00000001,
};

#define LINEERR_BADDEVICEID static_cast<LONG>(0x80000002)
#define LINEERR_INCOMPATIBLEAPIVERSION static_cast<LONG>(0x8000000C)
#define LINEERR_INVALAPPHANDLE static_cast<LONG>(0x80000015)
#define LINEERR_INVALLINEHANDLE static_cast<LONG>(0x8000002B)
#define LINEERR_INVALPOINTER static_cast<LONG>(0x80000035)
#define LINEERR_NODEVICE static_cast<LONG>(0x80000042)
#define LINEERR_NODRIVER static_cast<LONG>(0x80000043)
#define LINEERR_OPERATIONFAILED static_cast<LONG>(0x80000048)
#define LINEERR_OPERATIONUNAVAIL static_cast<LONG>(0x80000049)
#define LINEERR_RESOURCEUNAVAIL static_cast<LONG>(0x8000004B)

LONG lineInitialize(LPHLINEAPP lphLineApp, HINSTANCE hInstance, LINECALLBACK lpfnCallback, LPCWSTR lpszAppName,
    LPDWORD lpdwNumDevs);
LONG lineNegotiateAPIVersion(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPILowVersion, DWORD dwAPIHighVersion,
    LPDWORD lpdwAPIVersion, LPLINEEXTENSIONID lpExtensionID);
LONG lineNegotiateExtVersion(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPIVersion, DWORD dwExtLowVersion,
    DWORD dwExtHighVersion, LPDWORD lpdwExtVersion);
LONG lineOpen(HLINEAPP hLineApp, DWORD dwDeviceID, LPHLINE lphLine, DWORD dwAPIVersion, DWORD dwExtVersion,
    DWORD_PTR dwCallbackInstance, DWORD dwPrivileges, DWORD dwMediaModes, LPLINECALLPARAMS lpCallParams);
LONG lineClose(HLINE hLine);
LONG lineShutdown(HLINEAPP hLineApp);

// ---- The cellular TAPI extension ----------------------------------------------------------

#define LINEOPERATOR_LONGNAME_LENGTH 32
#define LINEOPERATOR_SHORTNAME_LENGTH 16
#define LINEOPERATOR_NUMNAME_LENGTH 16

// On the device (2-byte characters) the long name starts at byte 12 and the short one at 76.
struct LINEOPERATOR {
    DWORD dwIndex;
    DWORD dwValidFields;
    DWORD dwStatus;
    WCHAR lpszLongName[LINEOPERATOR_LONGNAME_LENGTH];
    WCHAR lpszShortName[LINEOPERATOR_SHORTNAME_LENGTH];
    WCHAR lpszNumName[LINEOPERATOR_NUMNAME_LENGTH];
};
using LPLINEOPERATOR = LINEOPERATOR*;

enum : DWORD {
    LINEREGSTATUS_UNKNOWN = 1,
    LINEREGSTATUS_DENIED = 2,
    LINEREGSTATUS_UNREGISTERED = 3,
    LINEREGSTATUS_ATTEMPTING = 4,
    LINEREGSTATUS_HOME = 5,
    LINEREGSTATUS_ROAM = 6,
    LINEREGSTATUS_DIGITAL = 7,
    LINEREGSTATUS_ANALOG = 8,
};

// Export 54's answer for the cellular radio's line.
enum : DWORD {
    LINECELLULAR_RADIO_LINE = 1,
};

// Export 45.
LONG lineGetCurrentOperator(HLINE hLine, LPLINEOPERATOR lpCurrentOperator);
// Export 54.
LONG lineGetCellularLineKind(HLINE hLine, LPDWORD lpdwKind);
// Export 55.
LONG lineGetRegisterStatus(HLINE hLine, LPDWORD lpdwRegStatus);

#include "platform/phone/Tapi.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "platform/phone/PhoneBackend.h"

namespace {

constexpr DWORD kHighestApiVersion = 0x00020000;  // TAPI 2.0, as the device offers
constexpr DWORD kHighestExtVersion = 0x00010000;

struct Line {
    HLINEAPP app;
    DWORD device;
};

struct TapiState {
    std::mutex mutex;
    std::map<HLINEAPP, DWORD> apps; // application handle -> device count
    std::map<HLINE, Line> lines;
    DWORD nextHandle = 0x100;
};

TapiState& State()
{
    static TapiState state;
    return state;
}

platform::PhoneBackend& Backend()
{
    return platform::CurrentPhoneBackend();
}

// The device of an open line, or -1.
int64_t DeviceOf(HLINE line)
{
    TapiState& state = State();
    std::lock_guard lock(state.mutex);
    auto it = state.lines.find(line);
    return it == state.lines.end() ? -1 : static_cast<int64_t>(it->second.device);
}

// 0 when the application handle is live and the device is one of its devices.
LONG CheckDevice(HLINEAPP app, DWORD device)
{
    TapiState& state = State();
    std::lock_guard lock(state.mutex);
    auto it = state.apps.find(app);
    if (it == state.apps.end())
        return LINEERR_INVALAPPHANDLE;
    return device < it->second ? 0 : LINEERR_BADDEVICEID;
}

} // namespace

LONG lineInitialize(LPHLINEAPP lphLineApp, HINSTANCE, LINECALLBACK, LPCWSTR, LPDWORD lpdwNumDevs)
{
    if (lphLineApp == nullptr || lpdwNumDevs == nullptr)
        return LINEERR_INVALPOINTER;
    DWORD devices = 0;
    if (LONG result = Backend().Initialize(devices); result != 0)
        return result;
    TapiState& state = State();
    std::lock_guard lock(state.mutex);
    HLINEAPP app = state.nextHandle++;
    state.apps[app] = devices;
    *lphLineApp = app;
    *lpdwNumDevs = devices;
    return 0;
}

LONG lineNegotiateAPIVersion(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPILowVersion, DWORD dwAPIHighVersion,
    LPDWORD lpdwAPIVersion, LPLINEEXTENSIONID lpExtensionID)
{
    if (lpdwAPIVersion == nullptr || lpExtensionID == nullptr)
        return LINEERR_INVALPOINTER;
    if (LONG result = CheckDevice(hLineApp, dwDeviceID); result != 0)
        return result;
    if (dwAPILowVersion > kHighestApiVersion || dwAPIHighVersion < dwAPILowVersion)
        return LINEERR_INCOMPATIBLEAPIVERSION;
    *lpdwAPIVersion = std::min(dwAPIHighVersion, kHighestApiVersion);
    *lpExtensionID = LINEEXTENSIONID {};
    return 0;
}

LONG lineNegotiateExtVersion(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD, DWORD dwExtLowVersion, DWORD dwExtHighVersion,
    LPDWORD lpdwExtVersion)
{
    if (lpdwExtVersion == nullptr)
        return LINEERR_INVALPOINTER;
    if (LONG result = CheckDevice(hLineApp, dwDeviceID); result != 0)
        return result;
    if (dwExtLowVersion > kHighestExtVersion || dwExtHighVersion < dwExtLowVersion)
        return LINEERR_INCOMPATIBLEAPIVERSION;
    *lpdwExtVersion = std::min(dwExtHighVersion, kHighestExtVersion);
    return 0;
}

LONG lineOpen(HLINEAPP hLineApp, DWORD dwDeviceID, LPHLINE lphLine, DWORD, DWORD, DWORD_PTR, DWORD, DWORD, LPLINECALLPARAMS)
{
    if (lphLine == nullptr)
        return LINEERR_INVALPOINTER;
    if (LONG result = CheckDevice(hLineApp, dwDeviceID); result != 0)
        return result;
    if (LONG result = Backend().OpenLine(dwDeviceID); result != 0)
        return result;
    TapiState& state = State();
    std::lock_guard lock(state.mutex);
    HLINE line = state.nextHandle++;
    state.lines[line] = Line { hLineApp, dwDeviceID };
    *lphLine = line;
    return 0;
}

LONG lineClose(HLINE hLine)
{
    TapiState& state = State();
    std::lock_guard lock(state.mutex);
    return state.lines.erase(hLine) == 1 ? 0 : LINEERR_INVALLINEHANDLE;
}

LONG lineShutdown(HLINEAPP hLineApp)
{
    TapiState& state = State();
    std::lock_guard lock(state.mutex);
    if (state.apps.erase(hLineApp) == 0)
        return LINEERR_INVALAPPHANDLE;
    std::erase_if(state.lines, [hLineApp](const auto& entry) { return entry.second.app == hLineApp; });
    return 0;
}

LONG lineGetCurrentOperator(HLINE hLine, LPLINEOPERATOR lpCurrentOperator)
{
    if (lpCurrentOperator == nullptr)
        return LINEERR_INVALPOINTER;
    int64_t device = DeviceOf(hLine);
    if (device < 0)
        return LINEERR_INVALLINEHANDLE;
    std::wstring longName;
    std::wstring shortName;
    if (LONG result = Backend().CurrentOperator(static_cast<DWORD>(device), longName, shortName); result != 0)
        return result;
    *lpCurrentOperator = LINEOPERATOR {};
    std::copy_n(longName.begin(), std::min<size_t>(longName.size(), LINEOPERATOR_LONGNAME_LENGTH - 1), lpCurrentOperator->lpszLongName);
    std::copy_n(shortName.begin(), std::min<size_t>(shortName.size(), LINEOPERATOR_SHORTNAME_LENGTH - 1), lpCurrentOperator->lpszShortName);
    return 0;
}

LONG lineGetCellularLineKind(HLINE hLine, LPDWORD lpdwKind)
{
    if (lpdwKind == nullptr)
        return LINEERR_INVALPOINTER;
    int64_t device = DeviceOf(hLine);
    if (device < 0)
        return LINEERR_INVALLINEHANDLE;
    return Backend().LineKind(static_cast<DWORD>(device), *lpdwKind);
}

LONG lineGetRegisterStatus(HLINE hLine, LPDWORD lpdwRegStatus)
{
    if (lpdwRegStatus == nullptr)
        return LINEERR_INVALPOINTER;
    int64_t device = DeviceOf(hLine);
    if (device < 0)
        return LINEERR_INVALLINEHANDLE;
    return Backend().RegisterStatus(static_cast<DWORD>(device), *lpdwRegStatus);
}

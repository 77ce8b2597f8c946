#include "item/MeterAlert.h"

#include "item/PluginModule.h"
#include "platform/shell/AygShell.h"
#include "platform/text/Format.h"

namespace {

constexpr DWORD kAlertId = 4711;
constexpr DWORD kAlertDurationSeconds = 20;
// The plug-in's own class of notifications, the same for every alert.
constexpr CLSID kAlertClass = { 0x5C3E91A4, 0x7B20, 0x4D6F, { 0x9A, 0x13, 0x2E, 0x48, 0xB1, 0x07, 0xC6, 0x5D } };

const wchar_t* DirectionText(DWORD notifyType)
{
    switch (notifyType) {
    case kMeterNotifyUpload:
        return L" MB has been transmitted since ";
    case kMeterNotifyDownload:
        return L" MB has been received since ";
    case kMeterNotifyBoth:
        return L" MB has been transferred (both directions) since ";
    default:
        return L"";
    }
}

} // namespace

std::wstring MeterAlertHtml(DWORD thresholdMb, DWORD notifyType, DWORD notifyReset, const std::wstring& resetTime)
{
    std::wstring head = Fmt(L"%s%d%s", L"<html><body><font color=\"#FF0000\"><b>Alert: </b></font><p>", thresholdMb,
        DirectionText(notifyType));
    return Fmt(L"%s%s.%s%s", head, resetTime, notifyReset != 0 ? L"<br>The meter has been reset. " : L"",
        L" <p><p align=center><form method=\"POST\" action=><input type=button name='cmd:10' value='Ok'></p></body></html>");
}

void RaiseMeterAlert(HWND item, const std::wstring& resetTimeBefore)
{
    const PluginModule& module = *g_pModule;
    const Settings& settings = module.m_settings;
    std::wstring html = MeterAlertHtml(settings.MeterNotifyThreshold, settings.MeterNotifyType, settings.MeterNotifyReset,
        resetTimeBefore);
    SHNOTIFICATIONDATA notification {};
    notification.cbStruct = sizeof notification;
    notification.dwID = kAlertId;
    notification.npPriority = SHNP_INFORM;
    notification.csDuration = kAlertDurationSeconds;
    notification.hicon = module.m_icons.ActivityIcon(ActivityIdle);
    notification.grfFlags = 0;
    notification.clsid = kAlertClass;
    notification.hwndSink = item;
    notification.pszHTML = html.c_str();
    notification.pszTitle = L"Velmora";
    SHNotificationAdd(&notification);
}

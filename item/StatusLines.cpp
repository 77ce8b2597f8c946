#include "item/StatusLines.h"

#include <algorithm>
#include <cstdint>

#include "item/PluginModule.h"
#include "netinfo/AdapterTracking.h"
#include "platform/device/Device.h"
#include "platform/text/Format.h"
#include "platform/ui/WinGdi.h"

namespace {

constexpr UINT kPlain = 0;
constexpr UINT kNoPrefix = DT_NOPREFIX;
constexpr UINT kWrapping = DT_NOPREFIX | DT_WORDBREAK;
constexpr UINT kCentred = DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;

constexpr int kLargeScreenMinWidth = 321;
constexpr DWORD kRateAverageSamples = 5;
constexpr int32_t kSecondsPerDay = 86400;

// Status lines draw one under the other: each moves the rectangle's top down by its height.
void DrawLine(HDC dc, const std::wstring& text, RECT& rect, UINT flags)
{
    rect.top += DrawTextW(dc, text.c_str(), -1, &rect, flags);
}

class StatusLinePainter {
public:
    StatusLinePainter(PluginModule& module, HDC dc, RECT rect, DWORD index)
        : m_module(module)
        , m_settings(module.m_settings)
        , m_dc(dc)
        , m_rect(rect)
        , m_index(index)
    {
        m_largeScreen = GetSystemMetrics(SM_CXSCREEN) >= kLargeScreenMinWidth;
        m_largeCompact = m_largeScreen && m_settings.FullViewEnabled == 0;
    }

    void DrawNotPresentBlock();
    void DrawItem(DWORD id);

private:
    UINT ValueFlags() const { return m_largeCompact ? kCentred : kPlain; }
    std::wstring TrackedAdapterName() const;
    void DrawAdapterName();
    void DrawMeterReading();
    void DrawDataRate();

    PluginModule& m_module;
    Settings& m_settings;
    HDC m_dc;
    RECT m_rect;
    DWORD m_index;
    bool m_largeScreen = false;
    bool m_largeCompact = false;
};

// The name the adapter's display name comes from: the user's choice, else what the snapshots
// call the tracked index.
std::wstring StatusLinePainter::TrackedAdapterName() const
{
    std::wstring name = m_settings.InterfaceIndex != kAutomaticInterface ? m_settings.InterfaceString : std::wstring();
    if (name.empty())
        name = m_module.m_interfaceTable.InterfaceNameOf(m_index);
    if (name.empty())
        name = m_module.m_netStatusInfo.AdapterNameOf(m_index);
    std::wstring text;
    GetInterfaceDName(m_settings.AdapterNames(), name, text);
    return text;
}

void StatusLinePainter::DrawAdapterName()
{
    std::wstring text = TrackedAdapterName();
    bool twoLines = false;
    Phone& phone = m_module.m_phone;
    bool dialUp = m_settings.InterfaceString == L"ppp1" || m_module.m_interfaceTable.InterfaceNameOf(m_index) == L"ppp1";
    if (dialUp && phone.PhoneEditionEnabled() != 0 && phone.IsUsbRasConnected() == 0) {
        text = phone.CurrentRasEntryName();
        if (m_settings.FullViewEnabled == 0) {
            std::wstring signal = phone.SignalText();
            if (!signal.empty()) {
                DrawLine(m_dc, text, m_rect, kNoPrefix);
                text = Fmt(L"Signal Strength: %s", signal);
                twoLines = true;
            }
        }
    }
    UINT flags;
    if (m_largeCompact && !twoLines)
        flags = kCentred;
    else
        flags = m_settings.FullViewEnabled != 0 ? kNoPrefix : kWrapping;
    DrawLine(m_dc, text, m_rect, flags);
}

void StatusLinePainter::DrawMeterReading()
{
    const Meter& meter = m_module.m_meter;
    if (m_settings.MeterShowsTotal == 0) {
        DrawLine(m_dc, Fmt(L"Meter Upload: %s\nMeter Download: %s", meter.FormatUpload(), meter.FormatDownload()), m_rect,
            kPlain);
    } else {
        DrawLine(m_dc, Fmt(L"Meter Total: %s", meter.FormatTotal()), m_rect, m_largeCompact ? kCentred : kPlain);
    }
}

void StatusLinePainter::DrawDataRate()
{
    RateAverage rate = m_module.m_rateHistory.AverageRecent(kRateAverageSamples);
    DrawLine(m_dc, Fmt(L"Data Upload: %s\nData Download: %s", rate.upText, rate.downText), m_rect, kPlain);
}

void StatusLinePainter::DrawItem(DWORD id)
{
    NetStatusInfo& adapters = m_module.m_netStatusInfo;
    std::wstring value;
    switch (id) {
    case ViewAdapterName:
        DrawAdapterName();
        break;
    case ViewIpAddress:
        adapters.GetAdapterCurrentIpAddress(m_index, value);
        DrawLine(m_dc, Fmt(L"IP Address: %s", value), m_rect, ValueFlags());
        break;
    case ViewSubnetMask:
        adapters.GetAdapterCurrentSubnetMask(m_index, value);
        DrawLine(m_dc, Fmt(L"Mask: %s", value), m_rect, ValueFlags());
        break;
    case ViewDefaultGateway:
        adapters.GetAdapterDefaultGateway(m_index, value);
        DrawLine(m_dc, Fmt(L"Gateway: %s", value), m_rect, ValueFlags());
        break;
    case ViewDhcpStatus:
        if (adapters.IsDhcpEnabled(m_index) == 1) {
            adapters.GetAdapterDHCPLeaseExpires(m_index, value, NetStatusInfo::LeaseSeconds::Hidden);
            DrawLine(m_dc, Fmt(L"Lease Expires: %s", value), m_rect, ValueFlags());
        } else {
            DrawLine(m_dc, L"DHCP Enabled: No", m_rect, ValueFlags());
        }
        break;
    case ViewMeterReading:
        DrawMeterReading();
        break;
    case ViewDnsServer:
        adapters.GetAdapterDNSServer(m_index, value);
        DrawLine(m_dc, Fmt(L"DNS Server: %s", value), m_rect, ValueFlags());
        break;
    case ViewWinsServer:
        adapters.GetAdapterWINSServer(m_index, value);
        DrawLine(m_dc, Fmt(L"WINS Server: %s", value), m_rect, ValueFlags());
        break;
    case ViewTimeConnected: {
        const ItemState& item = m_module.m_item;
        int32_t seconds = ConnectedSeconds(item.connected, item.connectTime, platform::CalendarTime::Now());
        DrawLine(m_dc, TimeConnectedText(seconds), m_rect, ValueFlags());
        break;
    }
    case ViewDataRate:
        DrawDataRate();
        break;
    default:
        // A stored id that names no line draws nothing.
        break;
    }
}

void StatusLinePainter::DrawNotPresentBlock()
{
    if (m_settings.InterfaceIndex != kAutomaticInterface) {
        DrawLine(m_dc, L"Not connected:", m_rect, kNoPrefix);
        DrawLine(m_dc, Fmt(L"%s", TrackedAdapterName()), m_rect, kNoPrefix);
        return;
    }
    std::wstring text = L"No connected interfaces";
    bool voiceConnected = false;
    Phone& phone = m_module.m_phone;
    if (phone.PhoneEditionEnabled() != 0) {
        switch (phone.QueryRegistration()) {
        case kRegistrationNone:
            text = L"Not connected to voice network";
            break;
        case kRegistrationAttempting:
            text = L"Attempting voice connection";
            break;
        case kRegistrationRegistered: {
            std::wstring name = phone.OperatorName();
            text = Fmt(L"%s", name.empty() ? std::wstring(L"Connected to voice network") : name);
            voiceConnected = true;
            break;
        }
        default:
            break;
        }
    }
    if (m_largeScreen && !voiceConnected) {
        DrawLine(m_dc, text, m_rect, kCentred);
        return;
    }
    DrawLine(m_dc, text, m_rect, kNoPrefix);
    if (voiceConnected) {
        std::wstring signal = phone.SignalText();
        if (!signal.empty())
            DrawLine(m_dc, Fmt(L"Signal Strength: %s", signal), m_rect, kNoPrefix);
    }
}

} // namespace

void DrawStatusLines(HWND, HDC dc, RECT rect, bool advance, DWORD index)
{
    PluginModule& module = *g_pModule;
    StatusLinePainter painter(module, dc, rect, index);
    if (module.m_item.uiNetAct == ActivityNoConnection) {
        painter.DrawNotPresentBlock();
        return;
    }
    for (ViewItem item = module.m_settings.NextStatusItem(advance); item.id != EndOfItems;
         item = module.m_settings.NextStatusItem(advance))
        painter.DrawItem(item.id);
}

int32_t ConnectedSeconds(bool connected, const platform::CalendarTime& since, const platform::CalendarTime& now)
{
    // Before the first connected tick there is no start time (it would count from 1970), and a
    // clock set back must not show a negative time.
    if (!connected)
        return 0;
    int64_t seconds = now - since;
    return static_cast<int32_t>(std::clamp<int64_t>(seconds, 0, INT32_MAX));
}

std::wstring TimeConnectedText(int32_t seconds)
{
    int32_t e = seconds;
    int32_t d = e / kSecondsPerDay;
    if (d == 0)
        return Fmt(L"Time Connected: %02d:%02d:%02d", e / 3600, (e / 60) - (e / 3600) * 60, e - (e / 60) * 60);
    int32_t hours = (e / 3600) - 24 * d;
    int32_t minutes = (e / 60) - (e / 3600) * 60;
    if (d == 1)
        return Fmt(L"Time Connected: %d day %02d:%02d", d, hours, minutes);
    return Fmt(L"Time Connected: %d days %02d:%02d", d, hours, minutes);
}

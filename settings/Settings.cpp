#include "settings/Settings.h"

#include <algorithm>

#include "platform/device/Device.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsText.h"

namespace {

enum class Kind { Flag, Number };

struct DwordSetting {
    const wchar_t* name;
    DWORD Settings::*member;
    DWORD missingDefault;
    Kind kind;
};

// The 32-bit values read in one run, in load and save order, with their missing-at-load defaults.
const DwordSetting kCoreDwordSettings[] = {
    { L"MeterEnabled", &Settings::MeterEnabled, 1, Kind::Flag },
    { L"MeterNotify", &Settings::MeterNotify, 0, Kind::Flag },
    { L"MeterNotifyThreshold", &Settings::MeterNotifyThreshold, 1, Kind::Number },
    { L"MeterNotifyType", &Settings::MeterNotifyType, kMeterNotifyBoth, Kind::Number },
    { L"MeterNotifyReset", &Settings::MeterNotifyReset, 0, Kind::Flag },
    { L"MeterIconEnabled", &Settings::MeterIconEnabled, 1, Kind::Flag },
    { L"DHCPIconEnabled", &Settings::DHCPIconEnabled, 1, Kind::Flag },
    { L"OptionsIconEnabled", &Settings::OptionsIconEnabled, 1, Kind::Flag },
    { L"BoldTextEnabled", &Settings::BoldTextEnabled, 0, Kind::Flag },
    // Missing at load reads 0 although a fresh object holds 1: keys saved before the value
    // existed keep the behaviour they had.
    { L"ClearTypeEnabled", &Settings::ClearTypeEnabled, 0, Kind::Flag },
    { L"ScrollRate", &Settings::ScrollRate, 5, Kind::Number },
    { L"TaskbarIconEnabled", &Settings::TaskbarIconEnabled, 0, Kind::Flag },
    { L"TaskbarIconUp", &Settings::TaskbarIconUp, 1, Kind::Flag },
    { L"TaskbarIconPlacement", &Settings::TaskbarIconPlacement, 127, Kind::Number },
    { L"MeterShowsTotal", &Settings::MeterShowsTotal, 1, Kind::Flag },
    { L"FontSize", &Settings::FontSize, kFontSizeDefault, Kind::Number },
    { L"PinEnabled", &Settings::PinEnabled, 0, Kind::Flag },
    { L"ViewSelectEnabled", &Settings::ViewSelectEnabled, 0, Kind::Flag },
    { L"UsageEnabled", &Settings::UsageEnabled, 1, Kind::Flag },
};

const DwordSetting kFullView = { L"FullViewEnabled", &Settings::FullViewEnabled, 0, Kind::Flag };
const DwordSetting kInterfaceIndex = { L"InterfaceIndex", &Settings::InterfaceIndex, kAutomaticInterface, Kind::Number };
// UsageShowZeros missing at load reads 1 although a fresh object holds 0.
const DwordSetting kUsageShowZeros = { L"UsageShowZeros", &Settings::UsageShowZeros, 1, Kind::Flag };
const DwordSetting kCapEnabled = { L"UsageLogStorageCapEnabled", &Settings::UsageLogStorageCapEnabled, 0, Kind::Flag };
const DwordSetting kCapLimit = { L"UsageLogStorageCapLimit", &Settings::UsageLogStorageCapLimit, 500, Kind::Number };

const wchar_t* const kDefaultUsageLogPath = L"\\Program Files\\Velmora";
constexpr DWORD kSetViewItemFailed = 0xFFFFFFFFu;

void Load(RegistryKey& key, Settings& settings, const DwordSetting& setting)
{
    settings.*setting.member = key.ReadDword(setting.name, setting.missingDefault);
}

void Save(RegistryKey& key, const Settings& settings, const DwordSetting& setting)
{
    DWORD value = settings.*setting.member;
    if (setting.kind == Kind::Flag)
        value = value != 0 ? 1 : 0;
    key.WriteDword(setting.name, value);
}

} // namespace

Settings::Settings()
{
    InitialViewItems();
    m_dialUpNames.AddRasName(L"USB");
    m_platformGeneration = QueryPlatformGeneration();
    m_usbCableAdapterName = FindUsbCableAdapterName(m_platformGeneration);
    m_adapterNames = BuildAdapterNameList(m_usbCableAdapterName);
    m_smallIconWidth = GetSystemMetrics(SM_CXSMICON);
    m_smallIconHeight = GetSystemMetrics(SM_CYSMICON);
    m_statusTextLeftMargin = GetSystemMetrics(SM_CXSCREEN) <= 320 ? 28 : 56;
    LoadSettings();
}

Settings::~Settings() = default;

void Settings::InitialViewItems()
{
    static constexpr DWORD kIds[kViewItemCount] = { ViewAdapterName, ViewIpAddress, ViewSubnetMask, ViewDefaultGateway,
        ViewDhcpStatus, ViewMeterReading, ViewDnsServer, ViewWinsServer, ViewTimeConnected, ViewDataRate };
    for (DWORD i = 0; i < kViewItemCount; ++i) {
        ViewItem& item = m_viewItems[i];
        item.id = kIds[i];
        item.name = ViewItemName(kIds[i]);
        item.nameLength = 1;
        item.visible = kIds[i] == ViewWinsServer || kIds[i] == ViewTimeConnected || kIds[i] == ViewDataRate ? 0 : 1;
        item.position = i;
        item.reserved = 0;
    }
    m_viewItemsSorted = true;
    m_viewItemCursor = 0;
    m_statusCursor = 0;
    m_statusShownOnce = false;
}

// ---- Load and save ----

void Settings::LoadSettings()
{
    RegistryKey todayKey(HKEY_LOCAL_MACHINE, kTodayItemKey, KeyDisposition::CreateIfMissing);
    RegistryKey userKey(HKEY_CURRENT_USER, kUserSettingsKey, KeyDisposition::CreateIfMissing);
    if (userKey.ReadDword(L"SettingsSaved", NoDefault) == 1)
        LoadFrom(userKey);
    else if (todayKey.ReadDword(L"SettingsSaved", NoDefault) == 1)
        LoadFrom(todayKey);
}

void Settings::LoadFrom(RegistryKey& source)
{
    Load(source, *this, kFullView);
    LoadViewItems(source.ReadString(L"ViewItems", nullptr));
    Load(source, *this, kInterfaceIndex);
    InterfaceString = source.ReadString(L"InterfaceString", nullptr);
    for (const DwordSetting& setting : kCoreDwordSettings)
        Load(source, *this, setting);
    UsageInterface = source.ReadString(L"UsageInterface", L"");
    Load(source, *this, kUsageShowZeros);
    Load(source, *this, kCapEnabled);
    Load(source, *this, kCapLimit);
    // An empty stored path means the default; the registry keeps what it has.
    UsageLogPath = source.ReadString(L"UsageLogPath", kDefaultUsageLogPath);
    if (UsageLogPath.empty())
        UsageLogPath = kDefaultUsageLogPath;
    // The lists are replaced, never merged into, so that loading again (a restore) gives what
    // the key holds: dial-up numbers are positions, with the cable always at 0.
    LoadPreviousPings(source.ReadString(L"PreviousPings", nullptr));
    m_dialUpNames = DialUpNames();
    m_dialUpNames.AddRasName(L"USB");
    m_dialUpNames.AddFromText(source.ReadString(L"RasAdapterNames", nullptr));
    m_profiles.Clear();
    m_profiles.LoadProfiles(source);
}

void Settings::SaveSettings()
{
    RegistryKey key(HKEY_CURRENT_USER, kUserSettingsKey, KeyDisposition::CreateIfMissing);
    Save(key, *this, kFullView);
    key.WriteString(L"ViewItems", ViewItemsText().c_str());
    Save(key, *this, kInterfaceIndex);
    key.WriteString(L"InterfaceString", InterfaceString.c_str());
    for (const DwordSetting& setting : kCoreDwordSettings)
        Save(key, *this, setting);
    key.WriteString(L"UsageInterface", UsageInterface.c_str());
    Save(key, *this, kUsageShowZeros);
    key.WriteString(L"UsageLogPath", UsageLogPath.c_str());
    Save(key, *this, kCapEnabled);
    Save(key, *this, kCapLimit);
    key.WriteDword(L"SettingsSaved", 1);
    key.WriteString(L"PreviousPings", PreviousPingsText().c_str());
    key.WriteString(L"RasAdapterNames", m_dialUpNames.ToText().c_str());
    m_profiles.SaveProfiles();
}

void Settings::LoadViewItems(const std::wstring& text)
{
    std::vector<ViewItem> stored = ParseViewItems(text);
    size_t count = std::min<size_t>(stored.size(), kViewItemCount);
    for (size_t i = 0; i < count; ++i)
        m_viewItems[i] = stored[i];
    if (count > 0)
        m_viewItemsSorted = false;
}

std::wstring Settings::ViewItemsText() const
{
    return FormatViewItems(m_viewItems.data(), m_viewItems.size());
}

void Settings::LoadPreviousPings(const std::wstring& text)
{
    m_previousPings.fill(std::wstring());
    size_t slot = 0;
    for (const std::wstring& piece : SplitStarTerminated(text)) {
        if (slot == kPreviousPingSlots)
            break;
        if (piece.empty() || std::find(m_previousPings.begin(), m_previousPings.end(), piece) != m_previousPings.end())
            continue;
        m_previousPings[slot++] = piece;
    }
}

std::wstring Settings::PreviousPingsText() const
{
    std::vector<std::wstring> filled;
    for (const std::wstring& ping : m_previousPings) {
        if (!ping.empty())
            filled.push_back(ping);
    }
    return JoinStarTerminated(filled);
}

DWORD Settings::AddPreviousPing(const std::wstring& name)
{
    if (std::find(m_previousPings.begin(), m_previousPings.end(), name) != m_previousPings.end())
        return 1;
    std::move_backward(m_previousPings.begin(), m_previousPings.end() - 1, m_previousPings.end());
    m_previousPings[0] = name;
    return 0;
}

// ---- The status-line table ----

DWORD Settings::SetViewItem(DWORD id, DWORD visible, DWORD position)
{
    for (DWORD i = 0; i < kViewItemCount; ++i) {
        if (m_viewItems[i].id == id) {
            m_viewItems[i].visible = visible;
            m_viewItems[i].position = position;
            m_viewItemsSorted = false;
            return i;
        }
    }
    return kSetViewItemFailed;
}

DWORD Settings::SortViewItems()
{
    if (!m_viewItemsSorted) {
        // Positions should be a permutation of 0 to 9. Anything else (a hand-edited or damaged
        // registry) is repaired the same way every time: valid positions are kept by the first
        // record that claims them, and the other records take the free ones in table order.
        std::array<bool, kViewItemCount> taken {};
        std::array<bool, kViewItemCount> keeps {};
        for (DWORD i = 0; i < kViewItemCount; ++i) {
            DWORD position = m_viewItems[i].position;
            if (position < kViewItemCount && !taken[position]) {
                taken[position] = true;
                keeps[i] = true;
            }
        }
        DWORD free = 0;
        for (DWORD i = 0; i < kViewItemCount; ++i) {
            if (keeps[i])
                continue;
            while (taken[free])
                ++free;
            taken[free] = true;
            m_viewItems[i].position = free;
        }
        std::array<ViewItem, kViewItemCount> sorted;
        for (const ViewItem& item : m_viewItems)
            sorted[item.position] = item;
        m_viewItems = sorted;
        m_viewItemsSorted = true;
    }
    m_viewItemCursor = 0;
    m_statusShownOnce = false;
    if (FullViewEnabled != 0)
        m_statusCursor = 0;
    return 1;
}

ViewItem Settings::NextViewItem()
{
    if (m_viewItemCursor < kViewItemCount && m_viewItemsSorted)
        return m_viewItems[m_viewItemCursor++];
    ViewItem end;
    end.id = EndOfItems;
    return end;
}

ViewItem Settings::NextStatusItem(bool advance)
{
    const bool full = FullViewEnabled != 0;
    if ((advance || full) && m_statusCursor < kViewItemCount && m_viewItems[m_statusCursor].visible == 0) {
        while (m_statusCursor < kViewItemCount && m_viewItems[m_statusCursor].visible == 0)
            ++m_statusCursor;
    }
    ViewItem end;
    end.id = EndOfItems;
    if (m_statusCursor < kViewItemCount) {
        if (!full && m_statusShownOnce)
            return end;
        ViewItem item = m_viewItems[m_statusCursor];
        if (advance || full)
            ++m_statusCursor;
        if (!full)
            m_statusShownOnce = true;
        return item;
    }
    m_statusCursor = 0;
    while (m_statusCursor < kViewItemCount && m_viewItems[m_statusCursor].visible == 0)
        ++m_statusCursor;
    if (m_statusCursor == kViewItemCount)
        m_statusCursor = 0;
    return end;
}

void Settings::PreviousStatusItem()
{
    const DWORD old = m_statusCursor;
    DWORD k = old == 0 ? kViewItemCount - 1 : old - 1;
    // A cursor past the end (10) steps back to the last item.
    if (k >= kViewItemCount)
        k = kViewItemCount - 1;
    while (m_viewItems[k].visible == 0 && k > 0)
        --k;
    if (m_viewItems[k].visible == 0) {
        k = kViewItemCount - 1;
        while (m_viewItems[k].visible == 0 && k > old)
            --k;
    }
    m_statusCursor = k;
}

void Settings::SetFullView(DWORD flag)
{
    FullViewEnabled = flag;
    if (flag != 0)
        m_pinPressed = false;
}

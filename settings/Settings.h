// Every user setting of the plug-in, the ten status-line records with their order, the recent
// ping targets and dial-up names, and the facts worked out once at start (screen metrics,
// platform generation, adapter names). One instance lives as long as the module.
#pragma once

#include <array>
#include <string>

#include "netinfo/AdapterNameList.h"
#include "netinfo/DialUpNames.h"
#include "platform/core/WinTypes.h"
#include "profiles/ProfileList.h"
#include "settings/RegistryKey.h"
#include "settings/ViewItem.h"

// Values of InterfaceIndex, FontSize and MeterNotifyType the code tests for.
constexpr DWORD kAutomaticInterface = 98;
constexpr DWORD kFontSizeDefault = 400;
constexpr DWORD kFontSizeLarge = 401;
constexpr DWORD kFontSizeSmall = 402;
constexpr DWORD kMeterNotifyUpload = 201;
constexpr DWORD kMeterNotifyDownload = 202;
constexpr DWORD kMeterNotifyBoth = 203;

constexpr size_t kPreviousPingSlots = 8;

class Settings {
public:
    // Initial values, then the platform generation, the USB cable adapter name, the friendly
    // adapter names and the screen metrics, then LoadSettings.
    Settings();
    ~Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    // From the user key once it has been saved, else from the Today item key when that one says
    // it was saved, else nothing. Values missing from the source key are written back into it.
    void LoadSettings();
    // Every persisted value, and the profiles, to the user key.
    void SaveSettings();

    // ---- The status-line table ----
    // Table index of the item, or all bits set when no item has that id.
    DWORD SetViewItem(DWORD id, DWORD visible, DWORD position);
    DWORD SortViewItems();
    ViewItem NextViewItem();
    const ViewItem& ViewItemAt(DWORD index) const { return m_viewItems[index]; }
    bool ViewItemsSorted() const { return m_viewItemsSorted; }
    // The status-line iteration of the item's paint.
    ViewItem NextStatusItem(bool advance);
    void PreviousStatusItem();
    DWORD StatusItemCursor() const { return m_statusCursor; }

    void SetFullView(DWORD flag);
    bool PinPressed() const { return m_pinPressed; }
    void SetPinPressed(bool pressed) { m_pinPressed = pressed; }

    // 1 when the name is already listed; else 0 after putting it first.
    DWORD AddPreviousPing(const std::wstring& name);
    const std::wstring& PreviousPing(size_t slot) const { return m_previousPings[slot]; }

    // ---- Adapter naming ----
    DWORD PlatformGeneration() const { return m_platformGeneration; }
    const std::wstring& UsbCableAdapterName() const { return m_usbCableAdapterName; }
    const AdapterNameList& AdapterNames() const { return m_adapterNames; }
    DWORD AddRasName(const std::wstring& name) { return m_dialUpNames.AddRasName(name); }
    DWORD FindRasName(const std::wstring& name) const { return m_dialUpNames.FindRasName(name); }
    std::wstring RasNameAt(DWORD index) const { return m_dialUpNames.RasNameAt(index); }
    DWORD RasNameCount() const { return m_dialUpNames.Count(); }

    ProfileList& Profiles() { return m_profiles; }
    const ProfileList& Profiles() const { return m_profiles; }

    // ---- Screen metrics, in pixels, taken at creation ----
    int SmallIconWidth() const { return m_smallIconWidth; }
    int SmallIconHeight() const { return m_smallIconHeight; }
    int IconGap() const { return m_smallIconWidth / 8; }
    int PinWidth() const { return m_smallIconWidth / 2; }
    int PinHeight() const { return m_smallIconWidth / 2; }
    int StatusTextLeftMargin() const { return m_statusTextLeftMargin; }

    // ---- Persisted settings, named by their registry value names ----
    DWORD FullViewEnabled = 0;
    DWORD InterfaceIndex = kAutomaticInterface;
    std::wstring InterfaceString;
    DWORD MeterEnabled = 1;
    DWORD MeterNotify = 0;
    DWORD MeterNotifyThreshold = 1; // MB
    DWORD MeterNotifyType = kMeterNotifyBoth;
    DWORD MeterNotifyReset = 0;
    DWORD MeterIconEnabled = 1;
    DWORD DHCPIconEnabled = 1;
    DWORD OptionsIconEnabled = 1;
    DWORD BoldTextEnabled = 0;
    DWORD ClearTypeEnabled = 1;
    DWORD ScrollRate = 5;
    DWORD TaskbarIconEnabled = 0;
    DWORD TaskbarIconUp = 1;
    DWORD TaskbarIconPlacement = 127; // pixels
    DWORD MeterShowsTotal = 1;
    DWORD FontSize = kFontSizeDefault;
    DWORD PinEnabled = 0;
    DWORD ViewSelectEnabled = 0;
    DWORD UsageEnabled = 1;
    std::wstring UsageInterface;
    DWORD UsageShowZeros = 0;
    std::wstring UsageLogPath = L"\\Program Files\\Velmora";
    DWORD UsageLogStorageCapEnabled = 0;
    DWORD UsageLogStorageCapLimit = 500; // KB

private:
    void InitialViewItems();
    void LoadFrom(RegistryKey& source);
    void LoadViewItems(const std::wstring& text);
    void LoadPreviousPings(const std::wstring& text);
    std::wstring PreviousPingsText() const;
    std::wstring ViewItemsText() const;

    std::array<ViewItem, kViewItemCount> m_viewItems {};
    bool m_viewItemsSorted = true;
    DWORD m_viewItemCursor = 0;
    DWORD m_statusCursor = 0;
    bool m_statusShownOnce = false;
    bool m_pinPressed = false;

    std::array<std::wstring, kPreviousPingSlots> m_previousPings;
    DialUpNames m_dialUpNames;
    ProfileList m_profiles;

    DWORD m_platformGeneration = 2005;
    std::wstring m_usbCableAdapterName;
    AdapterNameList m_adapterNames;

    int m_smallIconWidth = 16;
    int m_smallIconHeight = 16;
    int m_statusTextLeftMargin = 28;
};

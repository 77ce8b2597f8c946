// The twelve icons of the Today item, loaded once for the screen's size when the module is
// attached and destroyed when it is detached.
#pragma once

#include <array>

#include "platform/ui/WinDef.h"

enum class IconRole {
    ActivityIdle,
    ActivityReceiving,
    ActivitySending,
    ActivityBoth,
    ActivityNoConnection,
    Options,
    Meter,
    Dhcp,
    PinReleased,
    PinPressed,
    ViewCompact, // the view switch as compact view shows it
    ViewFull,    // the view switch as full view shows it
};
constexpr size_t kIconRoleCount = 12;

class IconSet {
public:
    IconSet() = default;
    ~IconSet();
    IconSet(const IconSet&) = delete;
    IconSet& operator=(const IconSet&) = delete;

    // Screens at most 320 pixels wide take the small set, others the large one.
    void Load(HINSTANCE instance, int screenWidth);
    void Destroy();

    HICON Icon(IconRole role) const { return m_icons[static_cast<size_t>(role)]; }
    // The icon for an activity state: 2 sending, 3 receiving, 4 both, 5 no connection, any
    // other value idle.
    HICON ActivityIcon(DWORD state) const;

private:
    std::array<HICON, kIconRoleCount> m_icons {};
};

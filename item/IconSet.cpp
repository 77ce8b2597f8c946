#include "item/IconSet.h"

#include "metering/Activity.h"
#include "platform/ui/Resources.h"
#include "platform/ui/WinGdi.h"
#include "resources/ResourceIds.h"

namespace {

struct IconSource {
    IconRole role;
    int smallId;
    int largeId;
    int largeSize; // the pin and the view switch stay 16 x 16 on large screens
};

constexpr IconSource kIconSources[kIconRoleCount] = {
    { IconRole::ActivityIdle, IDI_SMALL_IDLE, IDI_LARGE_IDLE, 32 },
    { IconRole::ActivityReceiving, IDI_SMALL_RECEIVING, IDI_LARGE_RECEIVING, 32 },
    { IconRole::ActivitySending, IDI_SMALL_SENDING, IDI_LARGE_SENDING, 32 },
    { IconRole::ActivityBoth, IDI_SMALL_BOTH, IDI_LARGE_BOTH, 32 },
    { IconRole::ActivityNoConnection, IDI_SMALL_NOCONNECTION, IDI_LARGE_NOCONNECTION, 32 },
    { IconRole::Options, IDI_SMALL_OPTIONS, IDI_LARGE_OPTIONS, 32 },
    { IconRole::Meter, IDI_SMALL_METER, IDI_LARGE_METER, 32 },
    { IconRole::Dhcp, IDI_SMALL_DHCP, IDI_LARGE_DHCP, 32 },
    { IconRole::PinReleased, IDI_SMALL_PIN_RELEASED, IDI_LARGE_PIN_RELEASED, 16 },
    { IconRole::PinPressed, IDI_SMALL_PIN_PRESSED, IDI_LARGE_PIN_PRESSED, 16 },
    { IconRole::ViewCompact, IDI_SMALL_VIEW_COMPACT, IDI_LARGE_VIEW_COMPACT, 16 },
    { IconRole::ViewFull, IDI_SMALL_VIEW_FULL, IDI_LARGE_VIEW_FULL, 16 },
};

constexpr int kSmallScreenMaxWidth = 320;
constexpr int kSmallIconSize = 16;

} // namespace

IconSet::~IconSet()
{
    Destroy();
}

void IconSet::Load(HINSTANCE instance, int screenWidth)
{
    bool smallScreen = screenWidth <= kSmallScreenMaxWidth;
    for (const IconSource& source : kIconSources) {
        int id = smallScreen ? source.smallId : source.largeId;
        int size = smallScreen ? kSmallIconSize : source.largeSize;
        m_icons[static_cast<size_t>(source.role)]
            = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    }
}

void IconSet::Destroy()
{
    for (HICON& icon : m_icons) {
        if (icon != nullptr)
            DestroyIcon(icon);
        icon = nullptr;
    }
}

HICON IconSet::ActivityIcon(DWORD state) const
{
    switch (state) {
    case ActivitySending:
        return Icon(IconRole::ActivitySending);
    case ActivityReceiving:
        return Icon(IconRole::ActivityReceiving);
    case ActivityBoth:
        return Icon(IconRole::ActivityBoth);
    case ActivityNoConnection:
        return Icon(IconRole::ActivityNoConnection);
    default:
        return Icon(IconRole::ActivityIdle);
    }
}

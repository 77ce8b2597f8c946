// Which picture each icon resource shows, and at which sizes: the module's resources and the
// build's icon drawer (tools/icongen) read the one table.
#pragma once

#include "resources/IconArt.h"
#include "resources/ResourceIds.h"

struct IconRole {
    IconArt art;
    int smallId;
    int largeId;
    int largeSize; // the pin and the view switch stay small on large screens
    // How much of the small icon the picture fills, from its top-left corner. On small screens
    // the pin and the view switch are buttons half an icon wide: the item repaints only that
    // much of the pin, and the switch sits under the icon row where a compact item ends.
    int smallExtent;
};

constexpr int kSmallIconSize = 16;
constexpr int kSmallButtonSize = kSmallIconSize / 2;

inline constexpr IconRole kIconRoles[] = {
    { IconArt::ActivityIdle, IDI_SMALL_IDLE, IDI_LARGE_IDLE, 32, kSmallIconSize },
    { IconArt::ActivityReceiving, IDI_SMALL_RECEIVING, IDI_LARGE_RECEIVING, 32, kSmallIconSize },
    { IconArt::ActivitySending, IDI_SMALL_SENDING, IDI_LARGE_SENDING, 32, kSmallIconSize },
    { IconArt::ActivityBoth, IDI_SMALL_BOTH, IDI_LARGE_BOTH, 32, kSmallIconSize },
    { IconArt::ActivityNoConnection, IDI_SMALL_NOCONNECTION, IDI_LARGE_NOCONNECTION, 32, kSmallIconSize },
    { IconArt::Options, IDI_SMALL_OPTIONS, IDI_LARGE_OPTIONS, 32, kSmallIconSize },
    { IconArt::Meter, IDI_SMALL_METER, IDI_LARGE_METER, 32, kSmallIconSize },
    { IconArt::Dhcp, IDI_SMALL_DHCP, IDI_LARGE_DHCP, 32, kSmallIconSize },
    { IconArt::PinReleased, IDI_SMALL_PIN_RELEASED, IDI_LARGE_PIN_RELEASED, 16, kSmallButtonSize },
    { IconArt::PinPressed, IDI_SMALL_PIN_PRESSED, IDI_LARGE_PIN_PRESSED, 16, kSmallButtonSize },
    { IconArt::ViewCompact, IDI_SMALL_VIEW_COMPACT, IDI_LARGE_VIEW_COMPACT, 16, kSmallButtonSize },
    { IconArt::ViewFull, IDI_SMALL_VIEW_FULL, IDI_LARGE_VIEW_FULL, 16, kSmallButtonSize },
};

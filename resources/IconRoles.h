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
};

constexpr int kSmallIconSize = 16;

inline constexpr IconRole kIconRoles[] = {
    { IconArt::ActivityIdle, IDI_SMALL_IDLE, IDI_LARGE_IDLE, 32 },
    { IconArt::ActivityReceiving, IDI_SMALL_RECEIVING, IDI_LARGE_RECEIVING, 32 },
    { IconArt::ActivitySending, IDI_SMALL_SENDING, IDI_LARGE_SENDING, 32 },
    { IconArt::ActivityBoth, IDI_SMALL_BOTH, IDI_LARGE_BOTH, 32 },
    { IconArt::ActivityNoConnection, IDI_SMALL_NOCONNECTION, IDI_LARGE_NOCONNECTION, 32 },
    { IconArt::Options, IDI_SMALL_OPTIONS, IDI_LARGE_OPTIONS, 32 },
    { IconArt::Meter, IDI_SMALL_METER, IDI_LARGE_METER, 32 },
    { IconArt::Dhcp, IDI_SMALL_DHCP, IDI_LARGE_DHCP, 32 },
    { IconArt::PinReleased, IDI_SMALL_PIN_RELEASED, IDI_LARGE_PIN_RELEASED, 16 },
    { IconArt::PinPressed, IDI_SMALL_PIN_PRESSED, IDI_LARGE_PIN_PRESSED, 16 },
    { IconArt::ViewCompact, IDI_SMALL_VIEW_COMPACT, IDI_LARGE_VIEW_COMPACT, 16 },
    { IconArt::ViewFull, IDI_SMALL_VIEW_FULL, IDI_LARGE_VIEW_FULL, 16 },
};

// The plug-in's icons, drawn from simple shapes at any size: the activity states, the tap
// icons, the pin and the view switch. Pixels are 0xAARRGGBB, row by row, top row first.
#pragma once

#include <cstdint>
#include <vector>

enum class IconArt {
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
    ViewCompact, // shown in compact view: switches to full view
    ViewFull,    // shown in full view: switches to compact view
};

// The icon at size x size pixels, anti-aliased, on a transparent background.
std::vector<uint32_t> DrawIconArt(IconArt art, int size);

// The picture drawn extent x extent pixels into the top-left corner of a transparent size x size
// icon, for a button whose tap area is smaller than the icon drawn for it.
std::vector<uint32_t> DrawIconArt(IconArt art, int size, int extent);

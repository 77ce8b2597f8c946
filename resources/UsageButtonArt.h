// The pictures on the usage report page's five buttons, drawn from rectangles, discs and lines
// on a 20 x 20 design grid at the size asked: 20 for small screens, 32 for large ones.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/ui/Resources.h"

enum class UsageButtonArt {
    ModeHourly,  // a clock: the report shows the hours of a day
    ModeDaily,   // a calendar page with one day marked
    ModeMonthly, // a calendar page full of days
    ModeAny,     // the large mode button's one picture: a clock before a calendar page
    Export,      // a page with an arrow out of it
    Settings,    // a cog
    Table,       // rows and columns under a yellow heading
    Chart,       // red and blue bars on an axis
};

// size x size pixels, 0xFFRRGGBB, row by row, on the buttons' light face.
std::vector<uint32_t> DrawUsageButtonArt(UsageButtonArt art, int size);

// The page's bitmaps by their resource ids, both sizes.
void AddUsageBitmaps(platform::ModuleResources& resources);

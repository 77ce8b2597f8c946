// The icons drawn at build time are IconArt's pictures, pixel for pixel, at every size a
// resource shows them.
#include <gtest/gtest.h>

#include <vector>

#include "resources/BuiltIcons.h"
#include "resources/IconRoles.h"

TEST(BuiltIcons, EveryResourcesPictureIsBuiltAndIsIconArtsOwn)
{
    size_t compared = 0;
    for (const IconRole& role : kIconRoles) {
        for (int size : { kSmallIconSize, role.largeSize }) {
            const uint32_t* built = FindBuiltIcon(role.art, size);
            ASSERT_NE(built, nullptr) << "art " << static_cast<int>(role.art) << " size " << size;
            std::vector<uint32_t> drawn = DrawIconArt(role.art, size);
            EXPECT_EQ(std::vector<uint32_t>(built, built + drawn.size()), drawn)
                << "art " << static_cast<int>(role.art) << " size " << size;
            ++compared;
        }
    }
    EXPECT_EQ(compared, 24u);
    // Sizes no resource shows are not built.
    EXPECT_EQ(FindBuiltIcon(IconArt::PinPressed, 32), nullptr);
    EXPECT_EQ(FindBuiltIcon(IconArt::Meter, 24), nullptr);
    EXPECT_EQ(kBuiltIconCount, 20u); // 12 small, 8 large; the pins' and view switches' large ones are their small ones
}

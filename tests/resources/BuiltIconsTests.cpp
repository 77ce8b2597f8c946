// The icons drawn at build time are IconArt's pictures, pixel for pixel, at every size a
// resource shows them.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "resources/BuiltIcons.h"
#include "resources/IconRoles.h"

TEST(BuiltIcons, EveryResourcesPictureIsBuiltAndIsIconArtsOwn)
{
    size_t compared = 0;
    for (const IconRole& role : kIconRoles) {
        for (auto [size, extent] : { std::pair { kSmallIconSize, role.smallExtent }, std::pair { role.largeSize, role.largeSize } }) {
            const uint32_t* built = FindBuiltIcon(role.art, size, extent);
            ASSERT_NE(built, nullptr) << "art " << static_cast<int>(role.art) << " size " << size;
            std::vector<uint32_t> drawn = DrawIconArt(role.art, size, extent);
            EXPECT_EQ(std::vector<uint32_t>(built, built + drawn.size()), drawn)
                << "art " << static_cast<int>(role.art) << " size " << size;
            ++compared;
        }
    }
    EXPECT_EQ(compared, 24u);
    // Sizes no resource shows are not built.
    EXPECT_EQ(FindBuiltIcon(IconArt::PinPressed, 32, 32), nullptr);
    EXPECT_EQ(FindBuiltIcon(IconArt::Meter, 24, 24), nullptr);
    EXPECT_EQ(FindBuiltIcon(IconArt::ViewFull, 16, 12), nullptr);
    EXPECT_EQ(kBuiltIconCount, 24u);
}

TEST(BuiltIcons, SmallButtonsDrawOnlyWithinTheirTapArea)
{
    // A pixel outside the pin's area is never repainted when the pin is tapped, so a picture
    // reaching past it would be left half old, half new.
    for (IconArt art : { IconArt::PinReleased, IconArt::PinPressed, IconArt::ViewCompact, IconArt::ViewFull }) {
        const uint32_t* pixels = FindBuiltIcon(art, kSmallIconSize, kSmallButtonSize);
        ASSERT_NE(pixels, nullptr);
        size_t inside = 0;
        for (int y = 0; y < kSmallIconSize; ++y) {
            for (int x = 0; x < kSmallIconSize; ++x) {
                uint32_t alpha = pixels[y * kSmallIconSize + x] >> 24;
                if (x < kSmallButtonSize && y < kSmallButtonSize)
                    inside += alpha != 0 ? 1 : 0;
                else
                    EXPECT_EQ(alpha, 0u) << "art " << static_cast<int>(art) << " at " << x << "," << y;
            }
        }
        EXPECT_GT(inside, 8u) << "art " << static_cast<int>(art);
    }
}

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "resources/IconArt.h"
#include "resources/ModuleResources.h"
#include "platform/ui/WinGdi.h"
#include "resources/ResourceIds.h"

TEST(IconArt, EveryRoleIsItsOwnPictureAtEverySize)
{
    for (int size : { 16, 32 }) {
        std::set<std::vector<uint32_t>> seen;
        for (int art = 0; art <= static_cast<int>(IconArt::ViewFull); ++art) {
            std::vector<uint32_t> pixels = DrawIconArt(static_cast<IconArt>(art), size);
            ASSERT_EQ(pixels.size(), static_cast<size_t>(size * size));
            size_t opaque = 0;
            for (uint32_t pixel : pixels)
                opaque += (pixel >> 24) == 0xFF ? 1 : 0;
            // Something is drawn, and the background shows through somewhere.
            EXPECT_GT(opaque, pixels.size() / 8) << "art " << art << " size " << size;
            EXPECT_LT(opaque, pixels.size()) << "art " << art << " size " << size;
            EXPECT_TRUE(seen.insert(pixels).second) << "art " << art << " repeats another at size " << size;
        }
    }
}

TEST(ModuleResources, IconsAndClassNamesAreFoundByNumber)
{
    HINSTANCE module = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x5EED0000));
    platform::RegisterModuleResources(module, BuildModuleResources());
    for (int id : { IDI_SMALL_IDLE, IDI_SMALL_NOCONNECTION, IDI_SMALL_VIEW_FULL, IDI_LARGE_METER, IDI_LARGE_PIN_PRESSED }) {
        HICON icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
        EXPECT_NE(icon, nullptr) << id;
        if (icon != nullptr)
            DestroyIcon(icon);
    }
    WCHAR name[32];
    EXPECT_EQ(LoadStringW(module, IDS_ITEM_CLASS, name, 32), 7);
    EXPECT_STREQ(name, L"Velmora");
    EXPECT_EQ(LoadStringW(module, IDS_TASKICON_CLASS, name, 32), 15);
    platform::UnregisterModuleResources(module);
}

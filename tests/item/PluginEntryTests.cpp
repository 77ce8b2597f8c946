// The module as the shell loads it: attach through the module loader, the exports by ordinal,
// what the load handling sets up for each screen, and a fresh module after detach.
#include <gtest/gtest.h>

#include "item/PluginEntry.h"
#include "item/PluginModule.h"
#include "options/OptionsFrame.h"
#include "platform/ui/Resources.h"
#include "platform/ui/WinUser.h"
#include "resources/ResourceIds.h"
#include "support/TodayScreen.h"

using testing_support::TodayScreen;

namespace {

bool ClassRegistered(HINSTANCE instance, const wchar_t* name)
{
    WNDCLASSW info {};
    return GetClassInfoW(instance, name, &info) != FALSE;
}

const platform::PaintedIcon* IconAt(const platform::PaintRecord& paint, int resourceId)
{
    for (const platform::PaintedIcon& icon : paint.icons)
        if (icon.resourceId == resourceId)
            return &icon;
    return nullptr;
}

} // namespace

TEST(PluginEntry, AttachSetsUpTheModuleAndDetachTakesItDown)
{
    TodayScreen screen;
    screen.AddLoopbackAndLan();
    ASSERT_EQ(g_pModule, nullptr);
    screen.LoadModule();
    HMODULE module = screen.Module();
    ASSERT_NE(g_pModule, nullptr);
    EXPECT_EQ(g_pModule->m_hInstance, module);
    EXPECT_EQ(g_pModule->m_logPixelsX, 96);
    EXPECT_EQ(g_pModule->m_logPixelsY, 96);
    // The snapshots were taken when the objects were made.
    EXPECT_EQ(g_pModule->m_interfaceTable.RowCount(), 2u);
    EXPECT_TRUE(ClassRegistered(module, L"Velmora"));
    EXPECT_TRUE(ClassRegistered(module, L"VelmoraTaskIcon"));
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(IDD_OPTIONS), RT_DIALOG), nullptr);

    EXPECT_EQ(GetProcAddressW(module, MAKEINTRESOURCEW(240)), reinterpret_cast<FARPROC>(&InitializeCustomItem));
    EXPECT_EQ(GetProcAddressW(module, MAKEINTRESOURCEW(241)), reinterpret_cast<FARPROC>(&CustomItemOptionsDlgProc));

    screen.FreeModule();
    EXPECT_EQ(g_pModule, nullptr);
    EXPECT_FALSE(ClassRegistered(module, L"Velmora"));
    EXPECT_FALSE(ClassRegistered(module, L"VelmoraTaskIcon"));
    EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(IDD_OPTIONS), RT_DIALOG), nullptr);
}

TEST(PluginEntry, ALaterLoadStartsFromAFreshModule)
{
    TodayScreen screen;
    screen.AddLoopbackAndLan();
    screen.LoadModule();
    HWND item = screen.CreateItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(GetParent(item), screen.Today());
    EXPECT_TRUE(IsWindowVisible(item));
    // The first query gave it the compact view's two lines of 13 pixels.
    EXPECT_EQ(screen.Record().cyp, 26u);
    screen.AdvanceSeconds(3);
    EXPECT_TRUE(g_pModule->m_item.connected);
    g_pModule->m_settings.SetFullView(1);
    HMODULE first = screen.Module();
    DestroyWindow(item);
    screen.FreeModule();

    screen.LoadModule();
    EXPECT_NE(screen.Module(), first);
    // Nothing was saved at unload, and the new module knows nothing of the old one's item.
    EXPECT_EQ(g_pModule->m_settings.FullViewEnabled, 0u);
    EXPECT_EQ(g_pModule->m_item.hwndItem, nullptr);
    EXPECT_FALSE(g_pModule->m_item.connected);
    item = screen.CreateItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(g_pModule->m_item.hwndItem, item);
}

TEST(PluginEntry, FreeingTheModuleWithTheItemStillUpTakesTheItemDown)
{
    TodayScreen screen;
    screen.AddLoopbackAndLan();
    screen.LoadModule();
    HWND item = screen.CreateItem();
    ASSERT_NE(item, nullptr);
    HMODULE module = screen.Module();
    screen.FreeModule();
    EXPECT_FALSE(IsWindow(item));
    EXPECT_FALSE(ClassRegistered(module, L"Velmora"));
}

TEST(PluginEntry, LargeScreensTakeTheLargeIcons)
{
    TodayScreen screen(platform::DeviceProfile::Vga());
    screen.AddLoopbackAndLan();
    screen.LoadModule();
    EXPECT_EQ(g_pModule->m_logPixelsX, 192);
    ASSERT_NE(screen.CreateItem(), nullptr);
    platform::PaintRecord paint = screen.LastItemPaint();
    const platform::PaintedIcon* idle = IconAt(paint, IDI_LARGE_IDLE);
    ASSERT_NE(idle, nullptr);
    EXPECT_EQ(idle->width, 32);
    const platform::PaintedIcon* options = IconAt(paint, IDI_LARGE_OPTIONS);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->width, 32);
    EXPECT_EQ(IconAt(paint, IDI_SMALL_IDLE), nullptr);
}

TEST(PluginEntry, TheHtmlViewerIsLoadedAndItsClassRegisteredForTheModule)
{
    TodayScreen screen;
    screen.AddLoopbackAndLan();
    screen.LoadModule();
    ASSERT_NE(g_pModule->m_hHtmlView, nullptr);
    EXPECT_EQ(platform::ModuleLoadCount(L"htmlview.dll"), 1);
    WNDCLASSW info {};
    EXPECT_TRUE(GetClassInfoW(screen.Module(), L"DISPLAYCLASS", &info));
    screen.FreeModule();
    EXPECT_EQ(platform::ModuleLoadCount(L"htmlview.dll"), 0);
}

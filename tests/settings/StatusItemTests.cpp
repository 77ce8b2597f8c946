#include <gtest/gtest.h>

#include <vector>

#include "settings/Settings.h"
#include "support/RegistryTestSupport.h"

using namespace testing_support;

namespace {

class StatusItemTest : public ::testing::Test {
protected:
    // One paint's worth of lines.
    std::vector<DWORD> Paint(bool advance)
    {
        m_settings.SortViewItems();
        std::vector<DWORD> ids;
        for (ViewItem item = m_settings.NextStatusItem(advance); item.id != EndOfItems;
             item = m_settings.NextStatusItem(advance))
            ids.push_back(item.id);
        return ids;
    }

    MemoryRegistryScope m_registry;
    Settings m_settings;
};

using Ids = std::vector<DWORD>;

} // namespace

TEST_F(StatusItemTest, FullViewReturnsEveryVisibleLineInOrder)
{
    m_settings.SetFullView(1);
    EXPECT_EQ(Paint(false), (Ids { 101, 102, 103, 104, 105, 107, 108 }));
    EXPECT_EQ(Paint(true), (Ids { 101, 102, 103, 104, 105, 107, 108 }));
}

TEST_F(StatusItemTest, CompactViewCyclesOneLinePerAdvancingPaint)
{
    Ids shown;
    for (int paint = 0; paint < 9; ++paint) {
        Ids ids = Paint(true);
        ASSERT_LE(ids.size(), 1u);
        shown.push_back(ids.empty() ? 0 : ids[0]);
    }
    // The paint that shows the last visible line also carries the cursor past the hidden ones
    // and back to the first visible line, so the cycle goes on without a blank paint.
    EXPECT_EQ(shown, (Ids { 101, 102, 103, 104, 105, 107, 108, 101, 102 }));
}

TEST_F(StatusItemTest, APaintWithoutAdvanceShowsTheLineAtTheCursor)
{
    EXPECT_EQ(Paint(true), (Ids { 101 }));
    EXPECT_EQ(Paint(false), (Ids { 102 }));
    EXPECT_EQ(Paint(false), (Ids { 102 }));
    EXPECT_EQ(Paint(true), (Ids { 102 }));
    EXPECT_EQ(Paint(true), (Ids { 103 }));
}

TEST_F(StatusItemTest, PinningKeepsTheLineThatWasShowing)
{
    Paint(true);
    Paint(true);
    EXPECT_EQ(Paint(true), (Ids { 103 }));
    m_settings.PreviousStatusItem();
    EXPECT_EQ(Paint(false), (Ids { 103 }));
    EXPECT_EQ(Paint(false), (Ids { 103 }));
}

TEST_F(StatusItemTest, PreviousSkipsHiddenLinesAndWrapsToTheLastVisible)
{
    m_settings.SetViewItem(102, 0, 1);
    EXPECT_EQ(Paint(true), (Ids { 101 }));
    EXPECT_EQ(Paint(true), (Ids { 103 })); // 102 hidden
    m_settings.PreviousStatusItem();      // back over hidden 102 to 103
    EXPECT_EQ(Paint(false), (Ids { 103 }));
    // From the first line, back wraps to the last visible one.
    while (m_settings.StatusItemCursor() != 0)
        Paint(true);
    m_settings.PreviousStatusItem();
    EXPECT_EQ(Paint(false), (Ids { 108 }));
}

TEST_F(StatusItemTest, NoVisibleLinesDrawNothing)
{
    for (DWORD id : { 101, 102, 103, 104, 105, 107, 108, 109, 110, 111 })
        m_settings.SetViewItem(id, 0, id == 111 ? 9 : (id < 106 ? id - 101 : id - 102));
    EXPECT_EQ(Paint(true), Ids {});
    EXPECT_EQ(Paint(true), Ids {});
    m_settings.SetFullView(1);
    EXPECT_EQ(Paint(false), Ids {});
    m_settings.PreviousStatusItem();
    EXPECT_LT(m_settings.StatusItemCursor(), kViewItemCount);
}

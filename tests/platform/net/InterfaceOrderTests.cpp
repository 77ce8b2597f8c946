// The order of the device's interface indexes on a Linux host, from the links and the routes.
#include <gtest/gtest.h>

#include <linux/rtnetlink.h>

#include "platform/net/linux/InterfaceOrder.h"

using namespace platform::linuxnet;

namespace {

KernelRoute Default(int link, uint32_t metric, uint32_t table = RT_TABLE_MAIN, uint8_t type = RTN_UNICAST)
{
    return { table, type, 0, 0, 0xC0000201, link, metric };
}

} // namespace

TEST(InterfaceOrder, TheDefaultRouteOfTheLowestMetricInTheMainTableNamesTheLink)
{
    EXPECT_EQ(DefaultRouteLink({}), 0);
    EXPECT_EQ(DefaultRouteLink({ Default(9, 600), Default(4, 100), Default(7, 0xFFFFFFFF) }), 4);
    // Equal metrics: the lower kernel index, in whichever order the kernel lists them.
    EXPECT_EQ(DefaultRouteLink({ Default(12, 50), Default(3, 50) }), 3);
    // Other tables, other route types and routes that are not the default do not count.
    KernelRoute subnet = Default(5, 0);
    subnet.prefixLength = 24;
    EXPECT_EQ(DefaultRouteLink({ Default(6, 0, RT_TABLE_LOCAL), Default(8, 0, RT_TABLE_MAIN, RTN_BLACKHOLE), subnet,
                  Default(11, 900) }),
        11);
}

TEST(InterfaceOrder, LoopbackThenDefaultRouteThenPhysicalThenVirtualEachInKernelOrder)
{
    // Given out of kernel order, as a dump may come.
    std::vector<LinkOrderInput> links = {
        { 30, false, false }, // virtual
        { 44, false, true },  // physical, the default route's
        { 2, false, false },  // virtual
        { 1, true, false },   // loopback
        { 41, false, true },  // physical
        { 9, true, false },   // a second loopback: virtual
    };
    EXPECT_EQ(AssignDeviceIndexes(links, 44), (std::vector<DWORD> { 6, 2, 4, 1, 3, 5 }));
    // A virtual link with the default route (a tunnel) comes first all the same.
    EXPECT_EQ(AssignDeviceIndexes(links, 30), (std::vector<DWORD> { 2, 4, 5, 1, 3, 6 }));
    // No default route, or one through a link that is gone: physical links lead.
    EXPECT_EQ(AssignDeviceIndexes(links, 0), (std::vector<DWORD> { 6, 3, 4, 1, 2, 5 }));
    EXPECT_EQ(AssignDeviceIndexes(links, 77), AssignDeviceIndexes(links, 0));
    // The default route through the loopback leaves the loopback at 1.
    EXPECT_EQ(AssignDeviceIndexes(links, 1), AssignDeviceIndexes(links, 0));
    // Without a loopback the indexes still start at 2.
    EXPECT_EQ(AssignDeviceIndexes({ { 8, false, false }, { 3, false, true } }, 8), (std::vector<DWORD> { 2, 3 }));
}

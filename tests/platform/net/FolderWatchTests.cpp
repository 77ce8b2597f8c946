// The lease folders' watch: what counts as a change, folders that come and go, and the
// fallback where nothing can be watched.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/net/linux/FolderWatch.h"
#include "support/TestSupport.h"

using platform::linuxnet::FolderWatch;

namespace {

void Write(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path) << text;
}

} // namespace

TEST(FolderWatch, FilesWrittenMadeRenamedOrRemovedInAFolderAreChanges)
{
    testing_support::ScratchFolder scratch;
    auto folder = scratch.Path() / "leases";
    std::filesystem::create_directories(folder);
    Write(folder / "2", "ADDRESS=192.0.2.2\n");
    FolderWatch watch({ folder });
    if (!watch.Watching())
        GTEST_SKIP() << "inotify is not available here";
    EXPECT_GE(watch.Handle(), 0);
    EXPECT_FALSE(watch.Changed());

    // Rewritten in place through a descriptor kept open, as dhclient appends to its file.
    {
        std::ofstream kept(folder / "2", std::ios::app);
        kept << "LIFETIME=600\n" << std::flush;
        EXPECT_TRUE(watch.Changed());
        EXPECT_FALSE(watch.Changed());
    }
    Write(folder / ".tmp", "ADDRESS=192.0.2.3\n");
    EXPECT_TRUE(watch.Changed());
    std::filesystem::rename(folder / ".tmp", folder / "3"); // networkd's way of writing a lease
    EXPECT_TRUE(watch.Changed());
    std::filesystem::remove(folder / "2");
    EXPECT_TRUE(watch.Changed());
    EXPECT_FALSE(watch.Changed());
    // Changes elsewhere are none of its business.
    Write(scratch.Path() / "other", "x");
    EXPECT_FALSE(watch.Changed());
}

TEST(FolderWatch, AMissingFolderIsAwaitedAndWatchedOnceItExists)
{
    testing_support::ScratchFolder scratch;
    // Two steps missing: the watch starts on the scratch folder.
    auto folder = scratch.Path() / "lib" / "dhcp";
    FolderWatch watch({ folder, scratch.Path() / "also-missing" });
    if (!watch.Watching())
        GTEST_SKIP() << "inotify is not available here";
    EXPECT_FALSE(watch.Changed());
    // Siblings of the awaited steps are not changes.
    std::filesystem::create_directories(scratch.Path() / "libx");
    Write(scratch.Path() / "lib.txt", "x");
    EXPECT_FALSE(watch.Changed());

    std::filesystem::create_directories(scratch.Path() / "lib");
    EXPECT_TRUE(watch.Changed());
    std::filesystem::create_directories(scratch.Path() / "lib" / "dhcpx");
    EXPECT_FALSE(watch.Changed());
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(watch.Changed());
    // Now the folder itself is watched, and its parent no more.
    Write(folder / "dhclient.eth0.leases", "lease {}\n");
    EXPECT_TRUE(watch.Changed());
    std::filesystem::create_directories(scratch.Path() / "lib" / "dhcpcd");
    EXPECT_FALSE(watch.Changed());

    // Removed again: a change, and the folder is awaited again.
    std::filesystem::remove_all(folder);
    EXPECT_TRUE(watch.Changed());
    EXPECT_FALSE(watch.Changed());
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(watch.Changed());
    Write(folder / "dhclient.eth1.leases", "lease {}\n");
    EXPECT_TRUE(watch.Changed());
    EXPECT_TRUE(watch.Watching());
}

TEST(FolderWatch, WhatCannotBeWatchedCountsAsChangedEveryTime)
{
    // A relative path has no parent to wait in.
    FolderWatch watch({ std::filesystem::path("no-such-relative-folder") });
    EXPECT_FALSE(watch.Watching());
    EXPECT_EQ(watch.Handle(), -1);
    EXPECT_TRUE(watch.Changed());
    EXPECT_TRUE(watch.Changed());
}

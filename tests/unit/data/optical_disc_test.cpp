#include "data/optical_disc.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

constexpr std::string_view kTable = "/dev/nvme0n1p2 / ext4 rw,relatime 0 0\n"
                                    "proc /proc proc rw,nosuid 0 0\n"
                                    "/dev/sr0 /media/cdrom iso9660 ro,nosuid 0 0\n"
                                    "tmpfs /media/cdrom/overlay tmpfs rw 0 0\n"
                                    "/dev/loop3 /mnt/image udf ro 0 0\n"
                                    "/dev/sr1 /media/My\\040Disc auto ro 0 0\n"
                                    "/dev/cdrom1 /media/second fuseblk ro 0 0\n";

TEST(OpticalDiscMounts, APathIsOnTheDiscItsLongestMountPointHolds) {
    EXPECT_TRUE(PathIsOnOpticalDisc(kTable, "/media/cdrom"));
    EXPECT_TRUE(PathIsOnOpticalDisc(kTable, "/media/cdrom/game/data"));
    EXPECT_FALSE(PathIsOnOpticalDisc(kTable, "/media/cdrom/overlay/game"));
    EXPECT_FALSE(PathIsOnOpticalDisc(kTable, "/home/player/game"));
}

TEST(OpticalDiscMounts, MountPointsMatchWholeComponentsOnly) {
    EXPECT_FALSE(PathIsOnOpticalDisc(kTable, "/media/cdrom2/game"));
    EXPECT_FALSE(PathIsOnOpticalDisc(kTable, "/media/cdro"));
}

TEST(OpticalDiscMounts, KnowsDiscsByFilesystemOrByDrive) {
    EXPECT_TRUE(PathIsOnOpticalDisc(kTable, "/mnt/image/x"));
    EXPECT_TRUE(PathIsOnOpticalDisc(kTable, "/media/second"));
    EXPECT_TRUE(PathIsOnOpticalDisc(kTable, "/media/My Disc/game"));
    EXPECT_FALSE(PathIsOnOpticalDisc(kTable, "/media/My\\040Disc/game"));
}

TEST(OpticalDiscMounts, ALaterMountOverTheSamePointHidesTheDisc) {
    std::string table(kTable);
    table += "/dev/sda1 /media/cdrom ext4 rw 0 0\n";
    EXPECT_FALSE(PathIsOnOpticalDisc(table, "/media/cdrom/game"));
}

TEST(OpticalDiscMounts, MalformedTablesFindNoDisc) {
    EXPECT_FALSE(PathIsOnOpticalDisc("", "/media/cdrom"));
    EXPECT_FALSE(PathIsOnOpticalDisc("/dev/sr0 /media/cdrom\n", "/media/cdrom"));
    EXPECT_FALSE(PathIsOnOpticalDisc("/dev/sr0 relative iso9660 ro 0 0", "relative"));
    EXPECT_TRUE(PathIsOnOpticalDisc("junk\n/dev/sr0 /media/cdrom/ iso9660", "/media/cdrom/a"));
    EXPECT_FALSE(PathIsOnOpticalDisc("/dev/sr0 /media/cd\\04 iso9660\n", "/media/cd"));
}

TEST(OpticalDiscMounts, AnOrdinaryOrMissingDirectoryIsNoDisc) {
    test::TempDir dir;
    EXPECT_FALSE(DirectoryIsOnOpticalDisc(dir.Path()));
    EXPECT_FALSE(DirectoryIsOnOpticalDisc(dir / "missing"));
}

} // namespace
} // namespace orv

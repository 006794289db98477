#include "recorder/card/removable_volumes.h"
#include "recorder/card/mount_info.h"

#include <gtest/gtest.h>

namespace veltrin::card {
namespace {

TEST(CardDriveEntries, OffersOnlyFat16AndFat32Volumes)
{
    const std::vector<RemovableVolume> volumes = {
        {"/media/pilot/VELTRIN", "VELTRIN", "FAT32"}, {"/media/pilot/STICK", "STICK", "exfat"},
        {"/media/pilot/BACKUP", "BACKUP", "ntfs"},    {"/media/pilot/OLD", "OLD", "FAT16"},
        {"/media/pilot/TINY", "TINY", "FAT12"},       {"/media/pilot/LOWER", "LOWER", "fat32"},
    };
    const std::vector<CardDriveEntry> entries = CardDriveEntries(volumes);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].root, "/media/pilot/VELTRIN");
    EXPECT_EQ(entries[0].text, "/media/pilot/VELTRIN - VELTRIN");
    EXPECT_EQ(entries[1].text, "/media/pilot/OLD - OLD");
}

TEST(FileSystemName, NamesFatVersionsAndKeepsOtherTypes)
{
    EXPECT_EQ(FileSystemName("vfat", "FAT32"), "FAT32");
    EXPECT_EQ(FileSystemName("vfat", "FAT16"), "FAT16");
    EXPECT_EQ(FileSystemName("vfat", "FAT12"), "vfat");
    EXPECT_EQ(FileSystemName("exfat", "1.0"), "exfat");
    EXPECT_EQ(FileSystemName("ntfs", ""), "ntfs");
}

TEST(ParseMountInfo, ReadsDeviceMountPointAndTypeWithOptionalFields)
{
    const char* text =
        "36 35 98:0 /mnt1 /mnt2 rw,noatime master:1 - ext3 /dev/root rw,errors=continue\n"
        "120 29 8:17 / /media/pilot/MY\\040CARD rw,nosuid shared:77 - vfat /dev/sdb1 rw,uid=1000\n"
        "121 29 0:52 / /proc rw - proc proc rw\n"
        "broken line\n"
        "122 29 8:33 / /mnt/x rw -\n"
        "123 29 8:49 / /mnt/a\\134b\\011c\\04 rw - vfat /dev/sdd1 rw\n";
    const std::vector<MountEntry> entries = ParseMountInfo(text);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].major, 98u);
    EXPECT_EQ(entries[0].root, "/mnt1");
    EXPECT_EQ(entries[0].fsType, "ext3");
    EXPECT_EQ(entries[1].major, 8u);
    EXPECT_EQ(entries[1].minor, 17u);
    EXPECT_EQ(entries[1].root, "/");
    EXPECT_EQ(entries[1].mountPoint, "/media/pilot/MY CARD");
    EXPECT_EQ(entries[1].fsType, "vfat");
    EXPECT_EQ(entries[1].source, "/dev/sdb1");
    EXPECT_EQ(entries[2].fsType, "proc");
    EXPECT_EQ(entries[3].mountPoint, "/mnt/a\\b\tc\\04");
}

}  // namespace
}  // namespace veltrin::card

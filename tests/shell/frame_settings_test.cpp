#include "shell/frame_settings.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace veltrin {
namespace {

namespace fs = std::filesystem;

TEST(MountPointsFromMountInfo, TakesTheFifthFieldAndDecodesBlanks)
{
    const std::string info =
        "22 1 8:1 / / rw,relatime - ext4 /dev/sda1 rw\n"
        "40 22 8:17 / /media/anna/MY\\040CARD rw,nosuid - vfat /dev/sdb1 rw\n";
    const std::vector<std::string> points = MountPointsFromMountInfo(info);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0], "/");
    EXPECT_EQ(points[1], "/media/anna/MY CARD");
}

class CardDirectoryTest : public ::testing::Test {
protected:
    std::string MakeVolume(const std::string& name, const std::string& folder)
    {
        const fs::path volume = root_ / name;
        fs::create_directories(volume / folder);
        return volume.string();
    }

    test::TempDir folder_{"veltrin-card"};
    const fs::path& root_ = folder_.path();
};

TEST_F(CardDirectoryTest, TakesTheFirstDataFolderUnderTheRootsInRootOrder)
{
    const std::string userRoot = (root_ / "media/anna").string();
    const std::string mediaRoot = (root_ / "media").string();
    const std::string mntRoot = (root_ / "mnt").string();
    const std::string disk = MakeVolume("data/disk", "VELT");  // not removable media
    const std::string stick = MakeVolume("mnt/usb", "VELT");
    const std::string photos = MakeVolume("media/anna/PHOTOS", "DCIM");  // no data folder
    const std::string card = MakeVolume("media/anna/CARD", "velt");      // name in any case
    const std::vector<std::string> roots{userRoot, mediaRoot, mntRoot};

    EXPECT_EQ(FindCardDataDirectory({disk, stick, photos, card}, roots),
              (root_ / "media/anna/CARD/velt").string());
    EXPECT_EQ(FindCardDataDirectory({disk, stick}, roots), (root_ / "mnt/usb/VELT").string());
    EXPECT_EQ(FindCardDataDirectory({disk, photos}, roots), "");
    // A mount point that merely starts with a root's name is not under it.
    const std::string lookalike = MakeVolume("mntx", "VELT");
    EXPECT_EQ(FindCardDataDirectory({lookalike}, roots), "");
}

TEST_F(CardDirectoryTest, DefaultIsTheCardFolderElseTheFolderAtTheTop)
{
    const std::vector<std::string> roots{(root_ / "media").string()};
    const std::string card = MakeVolume("media/CARD", "VELT");
    const std::string disk = MakeVolume("data/disk", "VELT");
    EXPECT_EQ(DefaultBaseDirectoryAmong({disk, card}, roots).toStdString(),
              (root_ / "media/CARD/VELT").string());
    EXPECT_EQ(DefaultBaseDirectoryAmong({disk}, roots).toStdString(), "/VELT");
    EXPECT_EQ(DefaultBaseDirectoryAmong({}, roots).toStdString(), "/VELT");
}

}  // namespace
}  // namespace veltrin

#include "pcbrowse/VolumeList.h"

#include <gtest/gtest.h>

#include <set>

using Volumes = std::vector<std::string>;

namespace {
const char* const kTable = "proc /proc proc rw 0 0\n"
                           "sysfs /sys sysfs rw 0 0\n"
                           "tmpfs /run tmpfs rw 0 0\n"
                           "/dev/sda2 /boot ext4 rw 0 0\n"
                           "/dev/sda3 /home ext4 rw 0 0\n"
                           "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
                           "/dev/sdb1 /media/u/USB\\040STICK vfat rw 0 0\n"
                           "server:/export /srv/share nfs4 rw 0 0\n"
                           "/dev/sda1 / ext4 rw 0 0\n"
                           "/dev/sdc1 /run/media/u/CARD exfat rw 0 0\n"
                           "/dev/sda1 /etc/hosts ext4 rw 0 0\n"
                           "tmpfs /tmp tmpfs rw 0 0\n"
                           "/dev/sda3 /home ext4 rw 0 0\n"
                           "broken line\n";

bool AnyFolder(const std::string& point) {
    return point != "/etc/hosts";
}
} // namespace

TEST(VolumeListTest, RootFirstThenRemovableThenOtherRealVolumes) {
    EXPECT_EQ(VolumeList::FromMountTable(kTable, AnyFolder),
              (Volumes{"/", "/media/u/USB STICK", "/run/media/u/CARD", "/home", "/srv/share"}));
}

TEST(VolumeListTest, VolumesTheUserCannotEnterAreLeftOutButRootStays) {
    const std::set<std::string> locked{"/", "/home", "/srv/share"};
    const auto open = [&locked](const std::string& point) { return !locked.contains(point); };
    EXPECT_EQ(VolumeList::FromMountTable(kTable, open),
              (Volumes{"/", "/media/u/USB STICK", "/run/media/u/CARD", "/etc/hosts"}));
    EXPECT_EQ(VolumeList::FromMountTable("", AnyFolder), (Volumes{"/"}));
}

TEST(VolumeListTest, ParsingUnescapesNamesAndSkipsShortLines) {
    const std::vector<MountEntry> entries =
        VolumeList::ParseMountTable("/dev/sdb1 /media/a\\040b\\134c\\011d vfat rw 0 0\n"
                                    "only two\n"
                                    "/dev/x /media/bad\\09 ext4 rw 0 0\n");
    ASSERT_EQ(entries.size(), 2U);
    EXPECT_EQ(entries[0].device, "/dev/sdb1");
    EXPECT_EQ(entries[0].mountPoint, "/media/a b\\c\td");
    EXPECT_EQ(entries[0].type, "vfat");
    EXPECT_EQ(entries[1].mountPoint, "/media/bad\\09");
}

TEST(VolumeListTest, TheSystemListStartsWithTheRootFileSystem) {
    const Volumes volumes = VolumeList::System();
    ASSERT_FALSE(volumes.empty());
    EXPECT_EQ(volumes.front(), "/");
    for (const std::string& point : volumes) {
        EXPECT_TRUE(VolumeList::CanBrowse(point)) << point;
    }
}

#include "pcbrowse/PcItemPath.h"

#include <gtest/gtest.h>

#include <vector>

using Kind = PathNode::Kind;
using Chain = std::vector<PathNode>;

namespace {
const PathNode kComputer{Kind::Computer, "My Computer"};
const PathNode kRootVolume{Kind::Volume, "/"};
const PathNode kUsb{Kind::Volume, "/media/u/USB STICK"};
const PathNode kDesktop{Kind::Desktop, "/home/u/Desktop"};

std::string Folder(const Chain& chain) {
    return PcItemPath::ItemFolderPath(chain);
}
std::string Full(const Chain& chain) {
    return PcItemPath::ItemFullPath(chain);
}
} // namespace

TEST(PcItemPathTest, VolumesGiveTheirMountPoint) {
    EXPECT_EQ(Folder({kRootVolume, kComputer}), "/");
    EXPECT_EQ(Full({kRootVolume, kComputer}), "/");
    EXPECT_EQ(Folder({kUsb, kComputer}), "/media/u/USB STICK/");
    EXPECT_EQ(Full({kUsb, kComputer}), "/media/u/USB STICK");
}

TEST(PcItemPathTest, FoldersAndFilesBelowAVolume) {
    const PathNode data{Kind::Folder, "data"};
    const PathNode sub{Kind::Folder, "sub"};
    const PathNode file{Kind::File, "x.gsi"};
    EXPECT_EQ(Folder({sub, data, kRootVolume, kComputer}), "/data/sub/");
    EXPECT_EQ(Full({sub, data, kRootVolume, kComputer}), "/data/sub");
    EXPECT_EQ(Folder({file, sub, data, kRootVolume, kComputer}), "/data/sub/");
    EXPECT_EQ(Full({file, sub, data, kRootVolume, kComputer}), "/data/sub/x.gsi");
    EXPECT_EQ(Full({file, kUsb, kComputer}), "/media/u/USB STICK/x.gsi");
}

TEST(PcItemPathTest, DesktopItems) {
    const PathNode folder{Kind::Folder, "jobs"};
    const PathNode file{Kind::File, "a.GSI"};
    EXPECT_EQ(Folder({kDesktop}), "/home/u/Desktop/");
    EXPECT_EQ(Full({kDesktop}), "/home/u/Desktop");
    EXPECT_EQ(Folder({folder, kDesktop}), "/home/u/Desktop/jobs/");
    EXPECT_EQ(Full({file, folder, kDesktop}), "/home/u/Desktop/jobs/a.GSI");
}

TEST(PcItemPathTest, MyComputerIsNoFolderAndPlaceholdersStandForTheirFolder) {
    EXPECT_EQ(Folder({kComputer}), "");
    EXPECT_EQ(Full({kComputer}), "My Computer");
    const PathNode placeholder{Kind::Placeholder, ""};
    EXPECT_EQ(Folder({placeholder, kComputer}), "");
    EXPECT_EQ(Folder({placeholder, PathNode{Kind::Folder, "empty"}, kRootVolume, kComputer}),
              "/empty/");
    EXPECT_EQ(Full({placeholder, PathNode{Kind::Folder, "empty"}, kRootVolume, kComputer}),
              "/empty/");
    EXPECT_EQ(Full({}), "");
}

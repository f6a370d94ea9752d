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
    // Below the root volume no "//" appears.
    const PathNode data{Kind::Folder, "data"};
    EXPECT_EQ(Folder({data, kRootVolume, kComputer}), "/data/");
    EXPECT_EQ(Full({PathNode{Kind::File, "x.gsi"}, data, kRootVolume, kComputer}), "/data/x.gsi");
    EXPECT_EQ(Full({PathNode{Kind::File, "x.gsi"}, kUsb, kComputer}), "/media/u/USB STICK/x.gsi");
    EXPECT_EQ(Folder({PathNode{Kind::Folder, "jobs"}, kDesktop}), "/home/u/Desktop/jobs/");
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

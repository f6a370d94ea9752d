#include "GsiSamples.h"
#include "legacyxfer/PointFileExport.h"
#include "legacyxfer/RemovableVolumes.h"
#include "legacyxfer/VerifiedWrite.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class UsbMemoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("legacyxfer-usb-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        for (const char* disk : {"sda", "sdb", "sdc", "mmcblk0"}) {
            fs::create_directories(root_ / "sys" / disk);
        }
        std::ofstream(root_ / "sys/sda/removable") << "0\n";
        std::ofstream(root_ / "sys/sdb/removable") << "1\n";
        std::ofstream(root_ / "sys/mmcblk0/removable") << "1\n";
        stick_ = root_ / "media/SURVEY STICK";
        fs::create_directories(stick_ / "JOBS");
        GsiSamples::WriteFile(stick_ / "JOBS/BRIDGE.GSI", GsiSamples::Job(3));
        GsiSamples::WriteFile(stick_ / "notes.txt", "not a field file");
        GsiSamples::WriteFile(stick_ / "points.dat", "P1,1.000,2.000,3.000,\r\n");
        pc_ = root_ / "pc";
        fs::create_directories(pc_);
        places_.sysBlock = (root_ / "sys").string();
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path root_, stick_, pc_;
    VolumePlaces places_;
};

TEST_F(UsbMemoryTest, ListsOnlyRemovableVolumesAndTheirFieldFiles) {
    const std::string table = "/dev/sda1 / ext4 rw 0 0\n"
                              "proc /proc proc rw 0 0\n"
                              "/dev/sdb1 " +
                              root_.string() +
                              "/media/SURVEY\\040STICK vfat rw 0 0\n"
                              "/dev/mmcblk0p1 /media/card vfat rw 0 0\n";
    const auto volumes = RemovableVolumes::FromMountTable(table, places_);
    ASSERT_EQ(volumes.size(), 2U);
    EXPECT_EQ(volumes[0].device, "/dev/sdb1");
    EXPECT_EQ(volumes[0].mountPoint, stick_.string());
    EXPECT_EQ(volumes[1].device, "/dev/mmcblk0p1");
    EXPECT_EQ(RemovableVolumes::FieldFiles(volumes[0].mountPoint),
              (std::vector<std::string>{stick_ / "JOBS/BRIDGE.GSI", stick_ / "points.dat"}));
    for (const auto& [partition, disk] :
         std::vector<std::pair<const char*, const char*>>{{"sdb1", "sdb"},
                                                          {"sdb", "sdb"},
                                                          {"mmcblk0p1", "mmcblk0"},
                                                          {"mmcblk0", "mmcblk0"},
                                                          {"nvme0n1p2", "nvme0n1"},
                                                          {"nvme0n1", "nvme0n1"}}) {
        EXPECT_EQ(RemovableVolumes::DiskOf(partition), disk) << partition;
    }
}

TEST_F(UsbMemoryTest, CopiesAreCheckedAndNeverReplaceAFileUnasked) {
    const std::string source = stick_ / "JOBS/BRIDGE.GSI";
    const fs::path copy = pc_ / "BRIDGE.GSI";
    EXPECT_EQ(VerifiedWrite::Copy(source, copy, false).status, VerifiedWrite::Status::Written);
    EXPECT_EQ(Read(copy), Read(source));

    GsiSamples::WriteFile(copy, "older job");
    EXPECT_EQ(VerifiedWrite::Copy(source, copy, false).status, VerifiedWrite::Status::Refused);
    EXPECT_EQ(Read(copy), "older job");
    EXPECT_EQ(VerifiedWrite::Copy(source, copy, true).status, VerifiedWrite::Status::Written);
    EXPECT_EQ(Read(copy), Read(source));
    EXPECT_EQ(VerifiedWrite::Copy(stick_ / "missing.gsi", pc_ / "missing.gsi", false).status,
              VerifiedWrite::Status::Failed);
    EXPECT_FALSE(fs::exists(pc_ / "missing.gsi"));
    for (const auto& entry : fs::directory_iterator(pc_)) {
        EXPECT_EQ(entry.path().extension(), ".GSI") << "left behind: " << entry.path();
    }
}

TEST_F(UsbMemoryTest, PointFileSkipsUnreadableLinesAndKeepsTheRest) {
    const std::string job = GsiSamples::Job(2) + "*110003+garbage \r\n" + GsiSamples::Block(4);
    const std::string gsi = GsiSamples::WriteFile(pc_ / "job.gsi", job);
    const auto result = PointFileExport::Write(gsi, pc_ / "job.dat", false);
    ASSERT_TRUE(result.written) << result.message;
    EXPECT_EQ(result.points, 3U);
    ASSERT_EQ(result.skipped.size(), 1U);
    EXPECT_EQ(result.skipped[0].rfind("line 3:", 0), 0U) << result.skipped[0];
    EXPECT_NE(Read(pc_ / "job.dat").find("P4,"), std::string::npos);
    EXPECT_FALSE(PointFileExport::Write(gsi, pc_ / "job.dat", false).written);
}

} // namespace

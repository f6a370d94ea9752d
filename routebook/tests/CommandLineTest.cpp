// routebook's command line: exit status by case, nothing written (and an
// existing OUT kept) whenever a file fails, and conversions that come back
// byte for byte.

#include "routebook/CommandLine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

class RoutebookCommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ =
            fs::temp_directory_path() /
            ("routebook-cli-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        Put("main.hal", "START,0.000,1250.000,2480.000,52.3140\r\nSTRAIGHT,120.000\r\n"
                        "SPIRAL,60.000,350.000\r\nARC,85.500,350.000\r\nSPIRAL,60.000,350.000\r\n"
                        "STRAIGHT,210.250\r\n");
        Put("main.val", "PVI,0.000,312.500,0.000\r\nPVI,150.000,318.200,80.000\r\n"
                        "PVI,310.000,315.900,120.000\r\nPVI,535.750,322.400,0.000\r\n");
        Put("kinked.hal", "START,0,0,0,0\r\nSPIRAL,60,300\r\nSTRAIGHT,10\r\n");
        Put("overlap.val", "PVI,0,1,0\r\nPVI,100,2,300\r\nPVI,400,1,0\r\n");
        Put("kept.csv", "keep me");
    }
    void TearDown() override { fs::remove_all(dir_); }

    void Put(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }
    std::string Get(const std::string& name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    int Run(std::vector<std::string> args) {
        for (std::string& a : args) {
            if (a.find('.') != std::string::npos && a[0] != '-' &&
                a.find(',') == std::string::npos &&
                !std::isdigit(static_cast<unsigned char>(a[0]))) {
                a = (dir_ / a).string();
            }
        }
        out_.str({});
        err_.str({});
        return routebook::CommandLine().Run(args, out_, err_);
    }

    fs::path dir_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(RoutebookCommandLine, ExitStatusAndWhatIsLeftOnDisk) {
    struct Case {
        std::vector<std::string> args;
        int exit;
        const char* output; // a file that must exist afterwards, or nullptr
        const char* error;  // part of the message, or nullptr
    };
    const Case cases[] = {
        {{}, 2, nullptr, "nothing to do"},
        {{"--stations", "main.hal", "-o", "s.csv"}, 2, nullptr, "--interval"},
        {{"--stations", "main.hal", "--interval", "0", "-o", "s.csv"}, 2, nullptr, "above zero"},
        {{"--stations", "main.hal", "--interval", "20", "-o", "s.txt"},
         2,
         nullptr,
         ".csv or a .gsi"},
        {{"--stations", "main.hal", "--interval", "20", "--offsets", "5", "-o", "s.csv"},
         2,
         nullptr,
         "L,R"},
        {{"--convert", "main.hal"}, 2, nullptr, "IN and OUT"},
        {{"--convert", "main.hal", "x.val"}, 2, nullptr, "between"},
        {{"--frobnicate"}, 2, nullptr, "unknown option"},
        {{"--stations", "main.hal", "--interval", "0.00001", "-o", "s.csv"},
         1,
         nullptr,
         "more than"},
        {{"--stations", "none.hal", "--interval", "20", "-o", "s.csv"}, 1, nullptr, "no such file"},
        {{"--stations", "kinked.hal", "--interval", "20", "-o", "kept.csv", "--overwrite"},
         1,
         nullptr,
         "element 2 (SPIRAL, line 2): radius 300.000"},
        {{"--stations", "main.hal", "overlap.val", "--interval", "20", "-o", "kept.csv",
          "--overwrite"},
         1,
         nullptr,
         "point 2 (PVI, line 2): its curve begins"},
        {{"--stations", "main.hal", "--interval", "20", "-o", "kept.csv"},
         1,
         nullptr,
         "--overwrite"},
        {{"--convert", "kinked.hal", "k.xml"}, 1, nullptr, "element 2"},
        {{"--stations", "main.hal", "main.val", "--interval", "20", "--offsets", "3.5,3.5", "-o",
          "s.csv"},
         0,
         "s.csv",
         nullptr},
        {{"--stations", "main.hal", "--interval", "20", "-o", "s.gsi"}, 0, "s.gsi", nullptr},
        {{"--help"}, 0, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        const std::string what = c.args.empty() ? "(none)" : c.args[0] + " " + c.args.back();
        EXPECT_EQ(Run(c.args), c.exit) << what << ": " << err_.str();
        if (c.error) {
            EXPECT_NE(err_.str().find(c.error), std::string::npos) << what << ": " << err_.str();
        }
        if (c.output) {
            EXPECT_TRUE(fs::exists(dir_ / c.output)) << what;
        }
        EXPECT_EQ(Get("kept.csv"), "keep me") << what;
    }
    const std::string csv = Get("s.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 3 * (27 + 3));
}

TEST_F(RoutebookCommandLine, ConversionsComeBackByteForByte) {
    for (const char* name : {"main.hal", "main.val"}) {
        const std::string ext = fs::path(name).extension().string();
        ASSERT_EQ(Run({"--convert", name, "same" + ext}), 0) << err_.str();
        EXPECT_EQ(Get("same" + ext), Get(name));
        ASSERT_EQ(Run({"--convert", name, "road.xml", "--overwrite"}), 0) << err_.str();
        ASSERT_EQ(Run({"--convert", "road.xml", "back" + ext}), 0) << err_.str();
        EXPECT_EQ(Get("back" + ext), Get(name));
    }
    Put("lf.hal", "START,0.000,0.000,0.000,0.0000\nARC,10.000,50.000");
    ASSERT_EQ(Run({"--convert", "lf.hal", "lf2.hal"}), 0);
    EXPECT_EQ(Get("lf2.hal"), Get("lf.hal"));
}

} // namespace

#include "SimOptions.h"

#include <gtest/gtest.h>

TEST(SimOptions, ReadsEveryOptionInBothSpellings) {
    std::string error;
    const auto options =
        x4sim::SimOptions::Parse({"--data", "d", "--link=/tmp/l", "--baud", "115200", "--log", "f",
                                  "--received=r", "--silent", "2", "--warn", "3", "--chunk=1",
                                  "--hangup-after", "5", "--hangup-in-upload=4"},
                                 error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->dataDir, "d");
    EXPECT_EQ(options->linkPath, "/tmp/l");
    EXPECT_EQ(options->baud, 115200);
    EXPECT_EQ(options->logFile, "f");
    EXPECT_EQ(options->receivedDir, "r");
    EXPECT_EQ(options->silent, 2);
    EXPECT_EQ(options->warn, 3);
    EXPECT_EQ(options->chunk, 1);
    EXPECT_EQ(options->hangupAfter, 5);
    EXPECT_EQ(options->hangupInUpload, 4);
}

TEST(SimOptions, RefusesWhatItDoesNotKnow) {
    std::string error;
    EXPECT_FALSE(x4sim::SimOptions::Parse({"--bogus"}, error));
    EXPECT_EQ(error, "unknown option --bogus");
    EXPECT_FALSE(x4sim::SimOptions::Parse({"--baud", "0"}, error));
    EXPECT_FALSE(x4sim::SimOptions::Parse({"--warn", "x"}, error));
    EXPECT_FALSE(x4sim::SimOptions::Parse({"--silent", "-1"}, error));
    EXPECT_FALSE(x4sim::SimOptions::Parse({"--data"}, error));
    EXPECT_EQ(error, "bad or missing value for --data");
}

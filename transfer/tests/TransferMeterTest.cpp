#include "transfer/TransferMeter.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {
const TransferMeter::Clock::time_point kStart{};
}

// The speed follows the last few seconds, not the whole run: after a stall
// it drops, and the time left grows with it.
TEST(TransferMeter, SpeedAndTimeLeftFollowTheLastSeconds) {
    TransferMeter meter(100, kStart);
    EXPECT_EQ(meter.TimeLeft(), std::nullopt) << "no speed yet";
    for (int s = 1; s <= 4; ++s) {
        meter.Sample(kStart + s * 1s, static_cast<std::size_t>(10 * s), 1000u * s);
    }
    EXPECT_DOUBLE_EQ(meter.LinesPerSecond(), 10.0);
    EXPECT_DOUBLE_EQ(meter.BytesPerSecond(), 1000.0);
    EXPECT_EQ(meter.TimeLeft(), 6s);
    EXPECT_EQ(meter.Percent(), 40);
    EXPECT_EQ(meter.Summary(), "40 of 100 lines, 4.0 kB, 1.0 kB/s, 0:06 left");
    // Three seconds without a line: the window holds only the stall.
    for (int s = 5; s <= 8; ++s) {
        meter.Sample(kStart + s * 1s, 40, 4000);
    }
    EXPECT_DOUBLE_EQ(meter.LinesPerSecond(), 0.0);
    EXPECT_EQ(meter.TimeLeft(), std::nullopt);
    meter.Sample(kStart + 9s, 120, 12000);
    EXPECT_EQ(meter.Percent(), 100) << "more lines than the list said";
    EXPECT_EQ(meter.TimeLeft(), std::nullopt);
}

TEST(TransferMeter, FormatsBytesAndDurations) {
    EXPECT_EQ(TransferMeter::FormatBytes(999), "999 B");
    EXPECT_EQ(TransferMeter::FormatBytes(1500), "1.5 kB");
    EXPECT_EQ(TransferMeter::FormatBytes(2.25e6), "2.2 MB");
    EXPECT_EQ(TransferMeter::FormatDuration(5s), "0:05");
    EXPECT_EQ(TransferMeter::FormatDuration(125s), "2:05");
    EXPECT_EQ(TransferMeter::FormatDuration(3725s), "1:02:05");
    EXPECT_EQ(TransferMeter(0, kStart).Percent(), 0);
}

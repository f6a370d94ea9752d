#include "platform/ManualResetEvent.h"

#include <gtest/gtest.h>

#include <thread>

using namespace std::chrono_literals;

TEST(ManualResetEvent, StaysSetUntilReset) {
    ManualResetEvent event;
    EXPECT_FALSE(event.WaitFor(0ms));
    event.Set();
    EXPECT_TRUE(event.WaitFor(0ms));
    EXPECT_TRUE(event.WaitFor(0ms));
    event.Reset();
    EXPECT_FALSE(event.IsSet());
}

TEST(ManualResetEvent, ReleasesEveryWaiter) {
    ManualResetEvent event;
    std::thread a([&] { event.Wait(); });
    std::thread b([&] { event.Wait(); });
    event.Set();
    a.join();
    b.join();
    EXPECT_TRUE(event.IsSet());
}

// The soak's own instruments: a leak detector that cannot see a leak, or a
// plan whose hang-up comes after the last line, would let faults through.

#include "CyclePlan.h"
#include "ProcessCounters.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <future>
#include <unistd.h>

TEST(ProcessCounters, SeeADescriptorAndAThreadComeAndGo) {
    const int descriptors = ProcessCounters::Descriptors();
    const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(ProcessCounters::Descriptors(), descriptors + 1);
    ::close(fd);
    EXPECT_EQ(ProcessCounters::Descriptors(), descriptors);

    const int threads = ProcessCounters::Threads();
    std::promise<void> release;
    std::promise<int> seen;
    std::thread worker([&] {
        seen.set_value(ProcessCounters::Threads());
        release.get_future().wait();
    });
    EXPECT_EQ(seen.get_future().get(), threads + 1);
    release.set_value();
    worker.join();
    EXPECT_EQ(ProcessCounters::Threads(), threads);
}

TEST(ProcessCounters, ReadsResidentMemoryAndRefusesUnknownKeys) {
    const long rss = ProcessCounters::StatusKb("VmRSS");
    EXPECT_GT(rss, 0);
    EXPECT_GE(ProcessCounters::StatusKb("VmHWM"), rss);
    EXPECT_EQ(ProcessCounters::StatusKb("NoSuchKey"), -1);
    EXPECT_EQ(ProcessCounters::StatusKb("VmRS"), -1) << "a prefix is not the key";
}

TEST(CyclePlan, SameSeedSamePlansAndEveryHangUpFallsWithinTheDownload) {
    std::mt19937 first(7);
    std::mt19937 second(7);
    int hangUps = 0;
    int silent = 0;
    for (int i = 0; i < 400; ++i) {
        const CyclePlan plan = CyclePlan::Pick(first);
        EXPECT_EQ(plan.Describe(), CyclePlan::Pick(second).Describe());
        const auto lines = plan.SourceLines();
        ASSERT_GT(lines.size(), 1u) << plan.Describe();
        if (plan.hangupAfter > 0) {
            ++hangUps;
            EXPECT_GE(plan.hangupAfter, 1);
            EXPECT_LT(plan.hangupAfter, static_cast<int>(lines.size())) << plan.Describe();
        }
        if (plan.silentCommands > 0) {
            ++silent;
            EXPECT_LT(plan.ResendInterval(), std::chrono::seconds(1));
        }
    }
    EXPECT_GT(hangUps, 20);
    EXPECT_GT(silent, 40);
}

TEST(CyclePlan, OptionsNameOnlyTheFaultsSwitchedOn) {
    CyclePlan plan = CyclePlan::Clean();
    EXPECT_TRUE(plan.SimOptions().empty());
    plan.chunkBytes = 3;
    plan.hangupAfter = 5;
    EXPECT_EQ(plan.SimOptions(), (std::vector<std::string>{"--chunk", "3", "--hangup-after", "5"}));
    plan.job = 3;
    EXPECT_EQ(plan.JobLabel(), u"JobList:3 [IN:SITE03]");
}

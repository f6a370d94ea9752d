#include "platform/ManualResetEvent.h"
#include "platform/QelPtrFactory.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace std::chrono_literals;

namespace {

// Blocks its worker until released, so tests can hold a worker busy.
class GateTask : public TaskItem {
public:
    int RunLoop() override {
        threadId = std::this_thread::get_id();
        started.Set();
        release.Wait();
        ++runs;
        return 1;
    }
    ManualResetEvent started;
    ManualResetEvent release;
    std::atomic<int> runs{0};
    std::thread::id threadId;
};

} // namespace

TEST(QelTaskPool, OneWorkerRunsQueuedTasksOneAfterTheOther) {
    QelTaskPool pool;
    ASSERT_TRUE(pool.SetTaskCount(1));
    ASSERT_TRUE(pool.StartPool());
    GateTask first;
    GateTask second;
    ASSERT_TRUE(pool.AddTask(&first));
    ASSERT_TRUE(pool.AddTask(&second));
    ASSERT_TRUE(first.started.WaitFor(5s));
    EXPECT_FALSE(second.started.WaitFor(50ms));
    first.release.Set();
    ASSERT_TRUE(second.started.WaitFor(5s));
    EXPECT_EQ(first.threadId, second.threadId);
    EXPECT_NE(first.threadId, std::this_thread::get_id());
    second.release.Set();
    EXPECT_TRUE(pool.WaitIdle(5s));
    EXPECT_EQ(first.runs + second.runs, 2);
}

TEST(QelTaskPool, ClearTaskDropsQueuedTasksAndStopAddTaskRefusesNewOnes) {
    QelTaskPool pool;
    pool.SetTaskCount(1);
    pool.StartPool();
    GateTask busy;
    GateTask queued;
    pool.AddTask(&busy);
    ASSERT_TRUE(busy.started.WaitFor(5s));
    pool.AddTask(&queued);
    pool.ClearTask();
    pool.StopAddTask();
    GateTask late;
    EXPECT_FALSE(pool.AddTask(&late));
    // The running task is not disturbed by either call.
    EXPECT_EQ(pool.RunningCount(), 1);
    busy.release.Set();
    EXPECT_TRUE(pool.WaitIdle(5s));
    EXPECT_FALSE(queued.started.IsSet());
    EXPECT_EQ(busy.runs, 1);
}

TEST(QelTaskPool, CountCannotChangeOnceStarted) {
    QelTaskPool pool;
    EXPECT_FALSE(pool.SetTaskCount(0));
    EXPECT_TRUE(pool.StartPool());
    EXPECT_FALSE(pool.SetTaskCount(2));
    EXPECT_FALSE(pool.StartPool());
}

TEST(QelPtrFactory, OwnsOnePoolForItsLifetime) {
    QelPtrFactory factory;
    QelPtrObject* pool = factory.CreateQelPtrObject();
    EXPECT_NE(dynamic_cast<QelTaskPool*>(pool), nullptr);
    EXPECT_EQ(factory.CreateQelPtrObject(), pool);
}

#pragma once

#include "platform/QelPtrObject.h"
#include "platform/TaskItem.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

// A fixed set of worker threads that run queued tasks, each task once.
// The tasks are not owned by the pool.
class QelTaskPool : public QelPtrObject {
public:
    QelTaskPool() = default;
    ~QelTaskPool() override;
    QelTaskPool(const QelTaskPool&) = delete;
    QelTaskPool& operator=(const QelTaskPool&) = delete;

    // Number of workers StartPool() creates; only before the pool has started.
    bool SetTaskCount(int count);
    bool StartPool();
    // Queues a task; refused after StopAddTask() or once the pool stops.
    bool AddTask(TaskItem* task);
    // Drops the queued tasks that no worker has taken yet.
    void ClearTask();
    // No further tasks are taken; tasks already running go on.
    void StopAddTask();

    // Number of tasks a worker is running right now.
    int RunningCount() const;
    // Waits until no task is running; true when that happened in time.
    bool WaitIdle(std::chrono::milliseconds timeout);
    // Lets the workers end once their current task has returned, and joins
    // them. Callers make their running tasks return first.
    void StopPool();

private:
    void WorkerMain();

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<TaskItem*> queue_;
    std::vector<std::thread> workers_;
    int taskCount_ = 1;
    int running_ = 0;
    bool accepting_ = true;
    bool stopping_ = false;
};

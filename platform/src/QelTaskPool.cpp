#include "platform/QelTaskPool.h"

QelTaskPool::~QelTaskPool() {
    StopPool();
}

bool QelTaskPool::SetTaskCount(int count) {
    std::lock_guard lock(mutex_);
    if (count < 1 || !workers_.empty()) {
        return false;
    }
    taskCount_ = count;
    return true;
}

bool QelTaskPool::StartPool() {
    std::lock_guard lock(mutex_);
    if (!workers_.empty() || stopping_) {
        return false;
    }
    for (int i = 0; i < taskCount_; ++i) {
        workers_.emplace_back([this] { WorkerMain(); });
    }
    return true;
}

bool QelTaskPool::AddTask(TaskItem* task) {
    {
        std::lock_guard lock(mutex_);
        if (task == nullptr || !accepting_ || stopping_) {
            return false;
        }
        queue_.push_back(task);
    }
    changed_.notify_all();
    return true;
}

void QelTaskPool::ClearTask() {
    std::lock_guard lock(mutex_);
    queue_.clear();
}

void QelTaskPool::StopAddTask() {
    std::lock_guard lock(mutex_);
    accepting_ = false;
}

int QelTaskPool::RunningCount() const {
    std::lock_guard lock(mutex_);
    return running_;
}

bool QelTaskPool::WaitIdle(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return running_ == 0; });
}

void QelTaskPool::StopPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    changed_.notify_all();
    for (auto& worker : workers_) {
        if (worker.joinable()) {
            worker.join();
        }
    }
    workers_.clear();
}

void QelTaskPool::WorkerMain() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (stopping_) {
            return;
        }
        TaskItem* task = queue_.front();
        queue_.pop_front();
        ++running_;
        lock.unlock();
        task->RunLoop();
        lock.lock();
        --running_;
        changed_.notify_all();
    }
}

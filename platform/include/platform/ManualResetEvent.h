#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

// An event that stays signalled until it is reset, so every waiter released
// by one Set() sees it; waits may be bounded.
class ManualResetEvent {
public:
    explicit ManualResetEvent(bool initiallySet = false);
    ManualResetEvent(const ManualResetEvent&) = delete;
    ManualResetEvent& operator=(const ManualResetEvent&) = delete;

    bool Set();
    bool Reset();
    bool IsSet() const;
    void Wait();
    // True when the event was (or became) signalled within the time.
    bool WaitFor(std::chrono::milliseconds timeout);

private:
    mutable std::mutex mutex_;
    std::condition_variable signalled_;
    bool set_;
};

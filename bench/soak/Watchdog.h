#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// Ends the whole process with status 3 when an armed step outlives its time:
// a hang must fail the run, never stall it.
class Watchdog {
public:
    Watchdog();
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    void Arm(int cycle, std::chrono::seconds limit);
    void Disarm();

private:
    void Watch();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::chrono::steady_clock::time_point deadline_{};
    std::chrono::seconds limit_{};
    int cycle_ = 0;
    bool armed_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

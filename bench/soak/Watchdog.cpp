#include "Watchdog.h"

#include <cstdio>
#include <cstdlib>

Watchdog::Watchdog() : thread_([this] { Watch(); }) {}

Watchdog::~Watchdog() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void Watchdog::Arm(int cycle, std::chrono::seconds limit) {
    {
        std::lock_guard lock(mutex_);
        cycle_ = cycle;
        limit_ = limit;
        deadline_ = std::chrono::steady_clock::now() + limit;
        armed_ = true;
    }
    changed_.notify_all();
}

void Watchdog::Disarm() {
    std::lock_guard lock(mutex_);
    armed_ = false;
}

void Watchdog::Watch() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (!armed_) {
            changed_.wait(lock);
        } else if (changed_.wait_until(lock, deadline_) == std::cv_status::timeout && armed_ &&
                   std::chrono::steady_clock::now() >= deadline_) {
            std::fprintf(stderr, "fault soak: HANG: cycle %d did not end within %lld s\n", cycle_,
                         static_cast<long long>(limit_.count()));
            std::fflush(nullptr);
            std::_Exit(3);
        }
    }
}

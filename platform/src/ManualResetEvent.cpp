#include "platform/ManualResetEvent.h"

ManualResetEvent::ManualResetEvent(bool initiallySet) : set_(initiallySet) {}

bool ManualResetEvent::Set() {
    {
        std::lock_guard lock(mutex_);
        set_ = true;
    }
    signalled_.notify_all();
    return true;
}

bool ManualResetEvent::Reset() {
    std::lock_guard lock(mutex_);
    set_ = false;
    return true;
}

bool ManualResetEvent::IsSet() const {
    std::lock_guard lock(mutex_);
    return set_;
}

void ManualResetEvent::Wait() {
    std::unique_lock lock(mutex_);
    signalled_.wait(lock, [this] { return set_; });
}

bool ManualResetEvent::WaitFor(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return signalled_.wait_for(lock, timeout, [this] { return set_; });
}

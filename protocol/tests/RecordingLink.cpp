#include "RecordingLink.h"

#include <algorithm>
#include <memory>

RecordingLink::RecordingLink(std::chrono::milliseconds resendInterval)
    : CKestaCom([] { return std::make_unique<FakeInstrument>(); }, resendInterval),
      instrument_(dynamic_cast<FakeInstrument*>(SerialPort())) {}

RecordingLink::~RecordingLink() {
    ClosePort();
    ShutdownWorker();
}

int RecordingLink::OnDeviceReply(const char* tag, const char* data, int length) {
    Reply reply(tag, data != nullptr ? std::string(data, static_cast<std::size_t>(length)) : "");
    std::function<void(const Reply&)> hook;
    {
        std::lock_guard lock(mutex_);
        replies_.push_back(reply);
        hook = hook_;
    }
    changed_.notify_all();
    if (hook) {
        hook(reply);
    }
    return 1;
}

std::vector<RecordingLink::Reply> RecordingLink::Replies() const {
    std::lock_guard lock(mutex_);
    return replies_;
}

std::vector<std::string> RecordingLink::Messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

bool RecordingLink::WaitForTag(const std::string& tag, std::size_t count,
                               std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] {
        return static_cast<std::size_t>(
                   std::count_if(replies_.begin(), replies_.end(),
                                 [&](const Reply& r) { return r.first == tag; })) >= count;
    });
}

void RecordingLink::OnEachReply(std::function<void(const Reply&)> hook) {
    std::lock_guard lock(mutex_);
    hook_ = std::move(hook);
}

void RecordingLink::ShowLinkMessage(const std::string& text) {
    std::lock_guard lock(mutex_);
    messages_.push_back(text);
}

void RecordingLink::OnLinkLost(const std::string& reason) {
    {
        std::lock_guard lock(mutex_);
        messages_.push_back("lost: " + reason);
    }
    changed_.notify_all();
}

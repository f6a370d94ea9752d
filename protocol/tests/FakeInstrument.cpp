#include "FakeInstrument.h"

FakeInstrument::~FakeInstrument() {
    DisConnectSerial();
}

int FakeInstrument::ConnectSerial(const CMiniDCB* dcb) {
    std::lock_guard lock(mutex_);
    if (delivery_.joinable()) {
        return 0;
    }
    settings_ = *dcb;
    stop_ = false;
    delivery_ = std::thread([this] { DeliveryMain(); });
    return 1;
}

int FakeInstrument::DisConnectSerial() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    if (delivery_.joinable()) {
        delivery_.join();
    }
    return 1;
}

int FakeInstrument::OuterThreadSendMsg(const char* data, int count) {
    const std::string message(data, static_cast<std::size_t>(count));
    std::lock_guard lock(mutex_);
    sent_.push_back(message);
    changed_.notify_all();
    if (sent_.size() - 1 == failSend_) {
        return 0;
    }
    if (next_ < transcript_.size() && transcript_[next_].expect == message) {
        Queue(transcript_[next_++].chunks);
    } else {
        unexpected_.push_back(message);
    }
    return 1;
}

void FakeInstrument::Queue(const std::vector<std::string>& chunks) {
    for (const std::string& chunk : chunks) {
        if (!chunker_) {
            pending_.push_back(chunk);
            continue;
        }
        for (std::string& piece : chunker_(chunk)) {
            pending_.push_back(std::move(piece));
        }
    }
    changed_.notify_all();
}

void FakeInstrument::SetTranscript(std::vector<Exchange> transcript) {
    std::lock_guard lock(mutex_);
    transcript_ = std::move(transcript);
    next_ = 0;
}

void FakeInstrument::SetChunker(Chunker chunker) {
    std::lock_guard lock(mutex_);
    chunker_ = std::move(chunker);
}

void FakeInstrument::Inject(std::vector<std::string> chunks) {
    std::lock_guard lock(mutex_);
    Queue(chunks);
}

void FakeInstrument::FailSend(std::size_t index) {
    std::lock_guard lock(mutex_);
    failSend_ = index;
}

std::vector<std::string> FakeInstrument::Sent() const {
    std::lock_guard lock(mutex_);
    return sent_;
}

std::vector<std::string> FakeInstrument::Unexpected() const {
    std::lock_guard lock(mutex_);
    return unexpected_;
}

bool FakeInstrument::TranscriptDone() const {
    std::lock_guard lock(mutex_);
    return next_ == transcript_.size();
}

CMiniDCB FakeInstrument::LastSettings() const {
    std::lock_guard lock(mutex_);
    return settings_;
}

bool FakeInstrument::WaitForSends(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return sent_.size() >= count; });
}

bool FakeInstrument::WaitDelivered(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return pending_.empty() && !delivering_; });
}

void FakeInstrument::DeliveryMain() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return stop_ || !pending_.empty(); });
        if (stop_) {
            return;
        }
        std::string chunk = std::move(pending_.front());
        pending_.pop_front();
        delivering_ = true;
        lock.unlock();
        if (RcvInterface* receiver = Receiver()) {
            receiver->OnReceive(nullptr, chunk.data(), static_cast<int>(chunk.size()));
        }
        lock.lock();
        delivering_ = false;
        changed_.notify_all();
    }
}

#pragma once

#include "FakeInstrument.h"
#include "protocol/CKestaCom.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

// A link over a FakeInstrument that records every report of the engine.
class RecordingLink : public CKestaCom {
public:
    using Reply = std::pair<std::string, std::string>; // tag, line

    explicit RecordingLink(std::chrono::milliseconds resendInterval = std::chrono::seconds(30));
    ~RecordingLink() override;

    int OnDeviceReply(const char* tag, const char* data, int length) override;

    FakeInstrument& Instrument() { return *instrument_; }
    std::vector<Reply> Replies() const;
    std::vector<std::string> Messages() const;
    // Waits until `count` reports with this tag have arrived.
    bool WaitForTag(const std::string& tag, std::size_t count = 1,
                    std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
    // Runs on the worker inside each report, after it was recorded.
    void OnEachReply(std::function<void(const Reply&)> hook);

    bool Open() { return OpenPort("COM1", "19200", "8", "0", "0"); }

protected:
    void ShowLinkMessage(const std::string& text) override;
    void OnLinkLost(const std::string& reason) override;

private:
    FakeInstrument* instrument_ = nullptr;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<Reply> replies_;
    std::vector<std::string> messages_;
    std::function<void(const Reply&)> hook_;
};

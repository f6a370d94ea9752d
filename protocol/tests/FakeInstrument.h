#pragma once

#include "platform/CMiniDCB.h"
#include "platform/QelSerialPro.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// An instrument behind the serial interface that follows a transcript: each
// message the engine sends is checked against the next expected one, and the
// transcript's answer goes back from a receive thread of its own, one chunk
// per callback, as a real port delivers bursts.
class FakeInstrument : public QelSerialPro {
public:
    struct Exchange {
        std::string expect;
        std::vector<std::string> chunks; // answer, piece by piece; none: silence
    };
    using Chunker = std::function<std::vector<std::string>(const std::string&)>;

    FakeInstrument() = default;
    ~FakeInstrument() override;

    int ConnectSerial(const CMiniDCB* dcb) override;
    int DisConnectSerial() override;
    int OuterThreadSendMsg(const char* data, int count) override;
    std::string LastError() const override { return "fake"; }

    void SetTranscript(std::vector<Exchange> transcript);
    // Cuts every answer again before delivery (for chunking tests).
    void SetChunker(Chunker chunker);
    // Bytes the instrument sends without being asked, as separate chunks.
    void Inject(std::vector<std::string> chunks);
    // The send with this number (counting from 0) reports failure and is
    // not answered.
    void FailSend(std::size_t index);

    std::vector<std::string> Sent() const;
    std::vector<std::string> Unexpected() const;
    bool TranscriptDone() const;
    CMiniDCB LastSettings() const;
    bool WaitForSends(std::size_t count, std::chrono::milliseconds timeout) const;
    // Waits until every queued chunk has been handed over and its callback
    // has returned, that is, the engine has finished the cycle over it.
    bool WaitDelivered(std::chrono::milliseconds timeout) const;

private:
    void Queue(const std::vector<std::string>& chunks);
    void DeliveryMain();

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<Exchange> transcript_;
    std::size_t next_ = 0;
    Chunker chunker_;
    std::deque<std::string> pending_;
    bool delivering_ = false;
    bool stop_ = false;
    std::size_t failSend_ = static_cast<std::size_t>(-1);
    std::vector<std::string> sent_;
    std::vector<std::string> unexpected_;
    CMiniDCB settings_;
    std::thread delivery_;
};

#pragma once

#include "CountingPort.h"

#include "session/TransferSession.h"

#include <atomic>

// A transfer session, as the programs run it, over a termios port that
// counts the bytes both ways, for the benchmarks' share of the wire limit.
class CountingSession : public TransferSession {
public:
    CountingSession() : TransferSession([this] { return std::make_unique<CountingPort>(sent); }) {}
    int OnReceive(void* context, const char* data, int length) override {
        received += length;
        return TransferSession::OnReceive(context, data, length);
    }
    long Bytes() const { return sent + received; }
    void ResetCounts() {
        sent = 0;
        received = 0;
    }

    std::atomic<long> sent{0};
    std::atomic<long> received{0};
};

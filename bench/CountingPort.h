#pragma once

#include "platform/TermiosSerialPro.h"

#include <atomic>

// A termios port that counts the bytes the PC sends, for the benchmarks'
// share of the wire limit.
class CountingPort : public TermiosSerialPro {
public:
    explicit CountingPort(std::atomic<long>& sent) : sent_(sent) {}
    int OuterThreadSendMsg(const char* data, int count) override {
        const int result = TermiosSerialPro::OuterThreadSendMsg(data, count);
        sent_ += result != 0 ? count : 0;
        return result;
    }

private:
    std::atomic<long>& sent_;
};

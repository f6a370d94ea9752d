#include "LinePacer.h"

#include <algorithm>

using namespace std::chrono;

LinePacer::LinePacer(long baud) {
    if (baud > 0) {
        byteTime_ = nanoseconds(10'000'000'000LL / baud);
        sliceBytes_ = static_cast<std::size_t>(std::max<long>(1, baud / 10 / 1000));
    }
}

void LinePacer::StartBurst(Clock::time_point notBefore) {
    sendFree_ = std::max(sendFree_, notBefore);
}

LinePacer::Clock::time_point LinePacer::Send(std::size_t count) {
    sendFree_ += byteTime_ * static_cast<long long>(count);
    return sendFree_;
}

LinePacer::Clock::time_point LinePacer::Receive(std::size_t count) {
    receiveFree_ = std::max(receiveFree_, Clock::now()) + byteTime_ * static_cast<long long>(count);
    return receiveFree_;
}

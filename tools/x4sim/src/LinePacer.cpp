#include "LinePacer.h"

#include <algorithm>

using namespace std::chrono;

LinePacer::LinePacer(long baud) {
    if (baud > 0) {
        byteTime_ = nanoseconds(10'000'000'000LL / baud);
        sliceBytes_ = static_cast<std::size_t>(std::max<long>(1, baud / 10 / 1000));
    }
}

LinePacer::Clock::time_point LinePacer::Advance(Clock::time_point& freeAt, nanoseconds span) {
    freeAt = std::max(freeAt, Clock::now()) + span;
    return freeAt;
}

LinePacer::Clock::time_point LinePacer::Send(std::size_t count) {
    return Advance(sendFree_, byteTime_ * static_cast<long long>(count));
}

LinePacer::Clock::time_point LinePacer::Receive(std::size_t count) {
    return Advance(receiveFree_, byteTime_ * static_cast<long long>(count));
}

#include "protocol/ReceiveBuffer.h"

#include <algorithm>
#include <cstring>

ReceiveBuffer::ReceiveBuffer() : bytes_(kCapacity, '\0') {}

void ReceiveBuffer::Append(const char* data, int length) {
    while (length > 0) {
        if (skipping_) {
            const int taken = SkipThroughLineEnd(data, length);
            data += taken;
            length -= taken;
            continue;
        }
        if (overrun_) {
            return; // nothing more until the over-long line is dealt with
        }
        const int room = kCapacity - length_;
        const int copied = std::min(room, length);
        std::memcpy(bytes_.data() + length_, data, static_cast<std::size_t>(copied));
        length_ += copied;
        data += copied;
        length -= copied;
        if (length > 0) {
            overrun_ = true;
            SkipRestOfLine(bytes_[kCapacity - 1]);
        }
    }
}

int ReceiveBuffer::SkipThroughLineEnd(const char* data, int length) {
    for (int i = 0; i < length; ++i) {
        if (sawCR_ && data[i] == '\n') {
            skipping_ = false;
            sawCR_ = false;
            return i + 1;
        }
        sawCR_ = data[i] == '\r';
    }
    return length;
}

void ReceiveBuffer::Consume(int count) {
    count = std::clamp(count, 0, length_);
    std::memmove(bytes_.data(), bytes_.data() + count, static_cast<std::size_t>(length_ - count));
    std::memset(bytes_.data() + length_ - count, 0, static_cast<std::size_t>(count));
    length_ -= count;
    if (length_ == 0) {
        overrun_ = false;
    }
}

void ReceiveBuffer::Clear() {
    std::memset(bytes_.data(), 0, static_cast<std::size_t>(length_));
    length_ = 0;
    overrun_ = false;
}

void ReceiveBuffer::Reset() {
    Clear();
    skipping_ = false;
    sawCR_ = false;
}

void ReceiveBuffer::SkipRestOfLine(char lastByte) {
    if (skipping_) {
        return;
    }
    skipping_ = true;
    sawCR_ = lastByte == '\r';
}

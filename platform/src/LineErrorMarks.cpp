#include "platform/LineErrorMarks.h"

namespace {

constexpr char kEscape = '\xff';

} // namespace

void LineErrorMarks::Take(std::string_view burst, std::string& data, std::vector<Mark>& marks) {
    const std::size_t before = data.size();
    const auto emit = [&](char byte) { data.push_back(byte); };
    const auto position = [&] { return handedOut_ + (data.size() - before); };
    for (const char byte : burst) {
        switch (state_) {
        case State::Plain:
            if (byte == kEscape) {
                state_ = State::SawFF;
            } else {
                emit(byte);
            }
            break;
        case State::SawFF:
            if (byte == kEscape) {
                emit(kEscape);
                state_ = State::Plain;
            } else if (byte == '\0') {
                state_ = State::SawFF00;
            } else {
                // Not a mark the driver writes: keep both bytes as they came.
                emit(kEscape);
                emit(byte);
                state_ = State::Plain;
            }
            break;
        case State::SawFF00:
            if (byte == '\0') {
                // A break carries no data byte; it is noted where it fell.
                marks.push_back({position(), Kind::Break});
            } else {
                marks.push_back({position(), Kind::BadByte});
                emit(byte);
            }
            state_ = State::Plain;
            break;
        }
    }
    handedOut_ += data.size() - before;
}

void LineErrorMarks::Finish(std::string& data) {
    if (state_ == State::SawFF) {
        data.push_back(kEscape);
        ++handedOut_;
    } else if (state_ == State::SawFF00) {
        data.append({kEscape, '\0'});
        handedOut_ += 2;
    }
    state_ = State::Plain;
}

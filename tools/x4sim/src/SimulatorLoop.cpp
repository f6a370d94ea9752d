#include "SimulatorLoop.h"

#include "Instrument.h"
#include "PseudoTerminal.h"
#include "ReplayScript.h"
#include "SignalWatch.h"
#include "Transcript.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <unistd.h>

using namespace std::chrono;

namespace {

constexpr auto kChunkPause = milliseconds(2);

} // namespace

SimulatorLoop::SimulatorLoop(PseudoTerminal& line, Instrument& instrument,
                             const x4sim::SimOptions& options, SignalWatch& signals,
                             Transcript& transcript, ReplayScript* replay)
    : line_(line), instrument_(instrument), replay_(replay), options_(options), signals_(signals),
      transcript_(transcript), pacer_(options.baud) {}

SimulatorLoop::Outcome SimulatorLoop::Run() {
    for (;;) {
        const int events = signals_.Wait(line_.Master(), POLLIN, microseconds(-1));
        if (events < 0) {
            return Outcome::Stopped;
        }
        if (!ReadInput()) {
            return Outcome::Failed;
        }
        while (auto next = NextLine()) {
            if (options_.baud > 0 && !signals_.SleepUntil(inputArrived_)) {
                return Outcome::Stopped;
            }
            bool hungUp = false;
            if (!Answer(*next, hungUp)) {
                return signals_.Raised() ? Outcome::Stopped : Outcome::Failed;
            }
            if (hungUp) {
                return Outcome::HungUp;
            }
        }
    }
}

bool SimulatorLoop::ReadInput() {
    std::array<char, 4096> buffer{};
    const ssize_t got = ::read(line_.Master(), buffer.data(), buffer.size());
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) {
        return true;
    }
    if (got <= 0) {
        return Fail(std::string("the line failed: ") +
                    (got == 0 ? "closed" : std::strerror(errno)));
    }
    const std::string_view bytes(buffer.data(), static_cast<std::size_t>(got));
    transcript_.Received(bytes);
    input_.append(bytes);
    inputArrived_ = pacer_.Receive(bytes.size());
    return true;
}

std::optional<std::string> SimulatorLoop::NextLine() {
    std::size_t end = input_.find('\n');
    if (end == std::string::npos) {
        if (input_.size() < kMaxLine) {
            return std::nullopt;
        }
        end = input_.size() - 1;
    }
    std::string line = input_.substr(0, end + 1);
    input_.erase(0, end + 1);
    return line;
}

// Upload data lines are not commands: the fault options count and spoil
// only what the PC asks.
bool SimulatorLoop::Answer(const std::string& line, bool& hungUp) {
    if (hangUpDue_) {
        transcript_.Note("(line closed: --hangup-after)");
        line_.HangUp();
        hungUp = true;
        return true;
    }
    if (!instrument_.ReceivingUpload()) {
        ++commands_;
        if (commands_ <= options_.silent) {
            transcript_.Note("(ignored: --silent)");
            return true;
        }
        if (options_.warn > 0 && commands_ % options_.warn == 0) {
            return Write(kWarning);
        }
    }
    if (replay_ != nullptr) {
        const auto answer = replay_->Answer(line);
        if (!answer) {
            transcript_.Note("(not in the replayed log)");
            return true;
        }
        return Write(*answer);
    }
    const SimReply reply = instrument_.Handle(line);
    if (options_.hangupInUpload > 0 && reply.uploadIndex == options_.hangupInUpload) {
        // The line was taken; its acknowledgement never goes out.
        transcript_.Note("(line closed: --hangup-in-upload)");
        line_.HangUp();
        hungUp = true;
        return true;
    }
    if (!Write(reply.bytes)) {
        return false;
    }
    // The line goes down when the PC asks again, so the last data line has
    // surely arrived: closing at once could discard it in the terminal.
    hangUpDue_ = options_.hangupAfter > 0 && reply.dataIndex == options_.hangupAfter;
    return true;
}

bool SimulatorLoop::Write(const std::string& bytes) {
    const std::size_t piece = options_.chunk > 0 ? static_cast<std::size_t>(options_.chunk)
                                                 : std::max<std::size_t>(bytes.size(), 1);
    // The answer may begin as soon as its command has arrived; a piece after
    // a pause begins when the pause is over.
    auto begin = inputArrived_;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        if (at > 0) {
            if (!signals_.SleepUntil(steady_clock::now() + kChunkPause)) {
                return false;
            }
            begin = steady_clock::now();
        }
        if (!WritePiece(std::string_view(bytes).substr(at, piece), begin)) {
            return false;
        }
    }
    return true;
}

// Paced, a piece goes out in slices of about a millisecond, each when its
// last byte would have left a real line. The PC answers the last slice, so
// that one leaves on time; the others may leave a wake-up late unseen.
bool SimulatorLoop::WritePiece(std::string_view piece, LinePacer::Clock::time_point begin) {
    if (!pacer_.Paced()) {
        return WriteAll(piece);
    }
    pacer_.StartBurst(begin);
    for (std::size_t at = 0; at < piece.size(); at += pacer_.SliceBytes()) {
        const std::string_view slice = piece.substr(at, pacer_.SliceBytes());
        const auto due = pacer_.Send(slice.size());
        const bool last = at + slice.size() == piece.size();
        if (!(last ? signals_.SleepUntilSharp(due) : signals_.SleepUntil(due)) ||
            !WriteAll(slice)) {
            return false;
        }
    }
    return true;
}

bool SimulatorLoop::WriteAll(std::string_view bytes) {
    transcript_.Sent(bytes);
    while (!bytes.empty()) {
        const ssize_t done = ::write(line_.Master(), bytes.data(), bytes.size());
        if (done > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(done));
        } else if (done < 0 && errno == EAGAIN) {
            if (signals_.Wait(line_.Master(), POLLOUT, microseconds(-1)) < 0) {
                return false;
            }
        } else if (done < 0 && errno != EINTR) {
            return Fail(std::string("the line failed: ") + std::strerror(errno));
        }
    }
    return true;
}

bool SimulatorLoop::Fail(std::string why) {
    failure_ = std::move(why);
    return false;
}

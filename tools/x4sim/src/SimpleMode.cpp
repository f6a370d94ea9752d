#include "SimpleMode.h"

#include "PseudoTerminal.h"
#include "SignalWatch.h"
#include "Transcript.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace std::chrono;

namespace {

constexpr auto kChunkPause = milliseconds(2);
constexpr auto kReadCheck = milliseconds(5);
constexpr int kEmptyChecks = 20;

} // namespace

SimpleMode::SimpleMode(PseudoTerminal& line, const x4sim::SimOptions& options, SignalWatch& signals,
                       Transcript& transcript)
    : line_(line), options_(options), signals_(signals), transcript_(transcript),
      pacer_(options.baud),
      byteTime_(options.baud > 0 ? nanoseconds(10'000'000'000LL / options.baud) : nanoseconds(0)) {}

// Bytes of one burst follow each other on the wire without gaps, so a late
// wake-up of this thread does not slow down the rest of the stream; a burst
// starts when the line was idle (nothing to send, XOFF), and then a late
// burst does not run ahead either.
SimpleMode::Clock::time_point SimpleMode::Due(std::size_t count) {
    if (idle_) {
        due_ = std::max(due_, Clock::now());
        idle_ = false;
    }
    due_ += byteTime_ * static_cast<long long>(count);
    return due_;
}

SimpleMode::~SimpleMode() {
    for (int fd : {store_, probe_}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

bool SimpleMode::Prepare(std::string& error) {
    probe_ = ::open(line_.SlavePath().c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (!options_.legacySend.empty()) {
        std::ifstream in(options_.legacySend, std::ios::binary);
        job_.assign(std::istreambuf_iterator<char>(in), {});
        if (!in.good() && !in.eof()) {
            error = options_.legacySend + ": cannot be read";
            return false;
        }
        return true;
    }
    std::error_code ignored;
    std::filesystem::create_directories(options_.legacyReceive, ignored);
    const std::string path = options_.legacyReceive + "/" + kStoreName;
    store_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (store_ < 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

SimpleMode::Outcome SimpleMode::Run() {
    return options_.legacySend.empty() ? Receive() : Send();
}

// The surveyor presses "send" after the delay; the job goes out in slices
// (paced at the baud rate, in pieces with --chunk), each only while the PC
// has not stopped the flow.
SimpleMode::Outcome SimpleMode::Send() {
    if (!signals_.SleepUntil(steady_clock::now() +
                             duration_cast<nanoseconds>(duration<double>(options_.legacyDelay)))) {
        return Outcome::Stopped;
    }
    transcript_.Note("(send pressed)");
    const std::size_t piece = options_.chunk > 0 ? static_cast<std::size_t>(options_.chunk)
                                                 : std::max<std::size_t>(pacer_.SliceBytes(), 64);
    const std::size_t slice = pacer_.Paced() ? std::min(piece, pacer_.SliceBytes()) : piece;
    int lines = 0;
    for (std::size_t at = 0; at < job_.size();) {
        std::size_t end = std::min(job_.size(), at + slice);
        if (options_.hangupAfter > 0) {
            // A hang-up falls right after a line end.
            const std::size_t lineEnd = job_.find('\n', at);
            if (lineEnd != std::string::npos && lineEnd < end) {
                end = lineEnd + 1;
            }
        }
        if (!SendPiece(std::string_view(job_).substr(at, end - at))) {
            return signals_.Raised() ? Outcome::Stopped : Outcome::Failed;
        }
        if (options_.chunk > 0 && !signals_.SleepUntil(steady_clock::now() + kChunkPause)) {
            return Outcome::Stopped;
        }
        if (job_[end - 1] == '\n' && options_.hangupAfter > 0 && ++lines == options_.hangupAfter) {
            if (!WaitUntilRead()) {
                return Outcome::Stopped;
            }
            transcript_.Note("(line closed: --hangup-after)");
            line_.HangUp();
            return Outcome::HungUp;
        }
        at = end;
    }
    transcript_.Note("(job sent)");
    return KeepOpen();
}

bool SimpleMode::SendPiece(std::string_view piece) {
    if (!ReadFlowBytes() || !WaitWhileStopped()) {
        return false;
    }
    if (pacer_.Paced() && !signals_.SleepUntil(Due(piece.size()))) {
        return false;
    }
    return WriteAll(piece);
}

// Whatever the PC sends while the job goes out can only be flow control.
bool SimpleMode::ReadFlowBytes() {
    std::array<char, 256> buffer{};
    for (;;) {
        const ssize_t got = ::read(line_.Master(), buffer.data(), buffer.size());
        if (got <= 0) {
            return got == 0 || errno == EAGAIN || errno == EINTR || errno == EIO;
        }
        const std::string_view bytes(buffer.data(), static_cast<std::size_t>(got));
        transcript_.Received(bytes);
        for (const char byte : bytes) {
            if (byte == kXoff) {
                stopped_ = true;
            } else if (byte == kXon) {
                stopped_ = false;
            }
        }
    }
}

bool SimpleMode::WaitWhileStopped() {
    idle_ = idle_ || stopped_;
    while (stopped_) {
        if (signals_.Wait(line_.Master(), POLLIN, microseconds(-1)) < 0 || !ReadFlowBytes()) {
            return false;
        }
    }
    return true;
}

// Closing the line discards what the PC has not read yet; a real line would
// have delivered it before it went dead. Bytes on their way into the PC's
// queue are not counted there yet, so the queue must stay empty a while.
bool SimpleMode::WaitUntilRead() {
    int emptyChecks = 0;
    while (emptyChecks < kEmptyChecks) {
        int unread = 0;
        const bool empty = probe_ < 0 || (::ioctl(probe_, FIONREAD, &unread) == 0 && unread == 0);
        emptyChecks = empty ? emptyChecks + 1 : 0;
        if (!signals_.SleepUntil(steady_clock::now() + kReadCheck)) {
            return false;
        }
    }
    return true;
}

SimpleMode::Outcome SimpleMode::KeepOpen() {
    for (;;) {
        if (signals_.Wait(line_.Master(), POLLIN, microseconds(-1)) < 0) {
            return Outcome::Stopped;
        }
        if (!ReadFlowBytes()) {
            return Fail(std::string("the line failed: ") + std::strerror(errno));
        }
        // Nobody holds the PC's end: wait for the next open without spinning.
        if (!signals_.SleepUntil(steady_clock::now() + kReadCheck)) {
            return Outcome::Stopped;
        }
    }
}

SimpleMode::Outcome SimpleMode::Receive() {
    std::array<char, 4096> buffer{};
    for (;;) {
        if (signals_.Wait(line_.Master(), POLLIN, microseconds(-1)) < 0) {
            return Outcome::Stopped;
        }
        // Paced, it takes no more than a millisecond of line at a time: the
        // rest waits in the terminal as it would on the wire.
        const std::size_t room = pacer_.Paced() ? pacer_.SliceBytes() : buffer.size();
        const ssize_t got = ::read(line_.Master(), buffer.data(), room);
        if (got < 0 && (errno == EAGAIN || errno == EINTR || errno == EIO)) {
            idle_ = true;
            if (!signals_.SleepUntil(steady_clock::now() + kReadCheck)) {
                return Outcome::Stopped;
            }
            continue;
        }
        if (got <= 0) {
            return Fail(std::string("the line failed: ") + std::strerror(errno));
        }
        const std::string_view bytes(buffer.data(), static_cast<std::size_t>(got));
        if (pacer_.Paced() && !signals_.SleepUntil(Due(bytes.size()))) {
            return Outcome::Stopped;
        }
        // A short read drained the line: what comes next is a new burst.
        idle_ = static_cast<std::size_t>(got) < room;
        transcript_.Received(bytes);
        if (!WriteTo(store_, bytes)) {
            return Outcome::Failed;
        }
        if (options_.storePauseMs > 0 && bytes.find('\n') != std::string_view::npos) {
            const auto pause = milliseconds(options_.storePauseMs);
            if (!WriteAll(std::string_view(&kXoff, 1)) ||
                !signals_.SleepUntil(steady_clock::now() + pause) ||
                !WriteAll(std::string_view(&kXon, 1))) {
                return signals_.Raised() ? Outcome::Stopped : Outcome::Failed;
            }
            idle_ = true;
        }
    }
}

bool SimpleMode::WriteAll(std::string_view bytes) {
    transcript_.Sent(bytes);
    return WriteTo(line_.Master(), bytes);
}

bool SimpleMode::WriteTo(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t done = ::write(fd, bytes.data(), bytes.size());
        if (done > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(done));
        } else if (done < 0 && errno == EAGAIN) {
            if (signals_.Wait(fd, POLLOUT, microseconds(-1)) < 0) {
                return false;
            }
        } else if (done < 0 && errno != EINTR) {
            failure_ = std::string("cannot write: ") + std::strerror(errno);
            return false;
        }
    }
    return true;
}

SimpleMode::Outcome SimpleMode::Fail(std::string why) {
    failure_ = std::move(why);
    return Outcome::Failed;
}

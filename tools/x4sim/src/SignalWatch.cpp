#include "SignalWatch.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

using namespace std::chrono;

namespace {

// A timed sleep of a virtual machine ends some tens of microseconds late
// even without timer slack; a sharp sleep spins at most this long.
constexpr auto kSpinSpan = microseconds(100);

sigset_t StopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

} // namespace

SignalWatch::SignalWatch() {
    const sigset_t set = StopSignals();
    ::sigprocmask(SIG_BLOCK, &set, nullptr);
    fd_ = ::signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
}

SignalWatch::~SignalWatch() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool SignalWatch::Raised() {
    signalfd_siginfo info{};
    while (!raised_ && ::read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        raised_ = true;
    }
    return raised_;
}

// The signal descriptor is read only when the poll says a signal came, so a
// wait costs one system call.
int SignalWatch::Wait(int fd, short events, microseconds timeout) {
    for (;;) {
        if (raised_) {
            return -1;
        }
        std::array<pollfd, 2> watch{{{fd_, POLLIN, 0}, {fd, events, 0}}};
        const auto whole = duration_cast<seconds>(timeout);
        const timespec span{static_cast<time_t>(whole.count()),
                            static_cast<long>(duration_cast<nanoseconds>(timeout - whole).count())};
        const int ready =
            ::ppoll(watch.data(), fd >= 0 ? 2 : 1, timeout.count() < 0 ? nullptr : &span, nullptr);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (watch[0].revents != 0) {
            Raised();
            continue;
        }
        return ready <= 0 ? 0 : watch[1].revents;
    }
}

bool SignalWatch::SleepUntil(steady_clock::time_point when) {
    for (;;) {
        const auto left = duration_cast<microseconds>(when - steady_clock::now());
        if (left.count() <= 0) {
            return !Raised();
        }
        if (Wait(-1, 0, left) < 0) {
            return false;
        }
    }
}

bool SignalWatch::SleepUntilSharp(steady_clock::time_point when) {
    if (!SleepUntil(when - kSpinSpan)) {
        return false;
    }
    while (steady_clock::now() < when) {
    }
    return true;
}

#include "PtyPair.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        throw std::runtime_error("no pseudo-terminal");
    }
    slavePath_ = ::ptsname(master_);
    // Holding the slave open keeps the master readable between the opens of
    // the code under test, and raw mode keeps the line discipline out.
    heldSlave_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    ::tcgetattr(heldSlave_, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(heldSlave_, TCSANOW, &raw);
}

PtyPair::~PtyPair() {
    CloseMaster();
}

void PtyPair::Write(const std::string& bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR) {
            throw std::runtime_error("write to pseudo-terminal failed");
        }
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
}

std::string PtyPair::Read(std::size_t count, std::chrono::milliseconds timeout) const {
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (got.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd in{master_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&in, 1, static_cast<int>(left.count())) <= 0) {
            break;
        }
        char buffer[4096];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
}

void PtyPair::CloseMaster() {
    if (heldSlave_ >= 0) {
        ::close(heldSlave_);
        heldSlave_ = -1;
    }
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
}

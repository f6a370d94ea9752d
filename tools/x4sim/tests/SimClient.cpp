#include "SimClient.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace std::chrono;

SimClient::SimClient(const std::string& device) {
    fd_ = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios raw{};
    if (fd_ >= 0 && ::tcgetattr(fd_, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(fd_, TCSANOW, &raw);
        ::tcflush(fd_, TCIOFLUSH);
    }
}

SimClient::~SimClient() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void SimClient::Send(const std::string& bytes) {
    [[maybe_unused]] const auto written = ::write(fd_, bytes.data(), bytes.size());
}

std::string SimClient::ReadLine(milliseconds timeout) {
    const auto deadline = steady_clock::now() + timeout;
    for (;;) {
        if (const auto end = pending_.find("\r\n"); end != std::string::npos) {
            std::string line = pending_.substr(0, end + 2);
            pending_.erase(0, end + 2);
            return line;
        }
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now());
        pollfd in{fd_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&in, 1, static_cast<int>(left.count())) <= 0) {
            return {};
        }
        char buffer[4096];
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got <= 0) {
            return {};
        }
        pending_.append(buffer, static_cast<std::size_t>(got));
    }
}

std::string SimClient::Ask(const std::string& command) {
    Send(command + "\r\n");
    return ReadLine();
}

bool SimClient::HungUp(milliseconds timeout) {
    pollfd in{fd_, POLLIN, 0};
    if (::poll(&in, 1, static_cast<int>(timeout.count())) <= 0) {
        return false;
    }
    char byte = 0;
    return (in.revents & POLLHUP) != 0 || ::read(fd_, &byte, 1) <= 0;
}

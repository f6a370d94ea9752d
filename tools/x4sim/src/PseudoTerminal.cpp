#include "PseudoTerminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <termios.h>
#include <unistd.h>

namespace fs = std::filesystem;

PseudoTerminal::~PseudoTerminal() {
    HangUp();
}

bool PseudoTerminal::Open(std::string& error) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    slavePath_ = ::ptsname(master_);
    slave_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios raw{};
    if (slave_ < 0 || ::tcgetattr(slave_, &raw) != 0) {
        error = slavePath_ + ": " + std::strerror(errno);
        return false;
    }
    ::cfmakeraw(&raw);
    raw.c_cflag |= CLOCAL | CREAD;
    ::tcsetattr(slave_, TCSANOW, &raw);
    return true;
}

bool PseudoTerminal::Link(const std::string& path, std::string& error) {
    std::error_code failure;
    if (fs::is_symlink(fs::symlink_status(path, failure))) {
        fs::remove(path, failure);
    }
    fs::create_symlink(slavePath_, path, failure);
    if (failure) {
        error = path + ": " + failure.message();
        return false;
    }
    link_ = path;
    return true;
}

void PseudoTerminal::HangUp() {
    if (!link_.empty()) {
        std::error_code ignored;
        if (fs::read_symlink(link_, ignored) == slavePath_) {
            fs::remove(link_, ignored);
        }
        link_.clear();
    }
    for (int* fd : {&slave_, &master_}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    }
}

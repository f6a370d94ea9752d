#include "platform/TermiosSerialPro.h"

#include "platform/CMiniDCB.h"
#include "platform/ComPortMap.h"
#include "platform/TermiosSettings.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

using namespace std::chrono;

namespace {

std::string OpenFailure(int error) {
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return "no such device; is the cable or adapter plugged in?";
    case EACCES:
    case EPERM:
        return "permission denied; add your user to the dialout group "
               "(sudo usermod -aG dialout $USER) and log in again";
    case EBUSY:
    case EWOULDBLOCK:
        return "the port is busy: another program holds it";
    default:
        return std::strerror(error);
    }
}

timespec ToTimespec(microseconds span) {
    const auto whole = duration_cast<seconds>(span);
    return {static_cast<time_t>(whole.count()),
            static_cast<long>(duration_cast<nanoseconds>(span - whole).count())};
}

bool EndsWithLineEnd(const std::vector<char>& bytes) {
    return bytes.size() >= 2 && bytes[bytes.size() - 2] == '\r' && bytes.back() == '\n';
}

void CloseQuietly(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

} // namespace

TermiosSerialPro::~TermiosSerialPro() {
    DisConnectSerial();
}

int TermiosSerialPro::ConnectSerial(const CMiniDCB* dcb) {
    if (dcb == nullptr) {
        return Fail("no connection parameters");
    }
    if (fd_ >= 0) {
        return Fail(label_ + ": the port is already open");
    }
    std::string device = dcb->deviceFile.empty() ? dcb->portName : dcb->deviceFile;
    if (device.empty() || device.front() != '/') {
        const ComPortMap map = ComPortMap::System();
        const ComPort* port = map.Find(dcb->portName);
        if (port == nullptr) {
            return Fail(dcb->portName + ": no such port (no device is mapped to it; see " +
                        ComPortMap::kEnvironmentVariable + ")");
        }
        device = port->device;
    }
    label_ = dcb->portName + " (" + device + ")";
    const int fd = OpenDevice(device);
    if (fd < 0 || !Configure(fd, *dcb)) {
        if (fd >= 0) {
            ::ioctl(fd, TIOCNXCL);
            ::close(fd);
        }
        return 0;
    }
    std::array<int, 2> wake{};
    if (::pipe2(wake.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        ::close(fd);
        return Fail(label_ + ": " + std::strerror(errno));
    }
    const int bits = TermiosSettings::BitsPerCharacter(*dcb);
    characterTime_ = microseconds(bits * 1000000L / std::max(1L, std::stol(dcb->baudRate)));
    const microseconds quiet = dcb->readIntervalMs > 0
                                   ? milliseconds(dcb->readIntervalMs)
                                   : std::max<microseconds>(milliseconds(1), 2 * characterTime_);
    {
        std::lock_guard lock(sendMutex_);
        fd_ = fd;
        device_ = device;
    }
    wakeRead_ = wake[0];
    wakeWrite_ = wake[1];
    lost_ = false;
    receiver_ = std::thread([this, fd, quiet] { ReceiveMain(fd, wakeRead_, quiet); });
    return 1;
}

int TermiosSerialPro::OpenDevice(const std::string& device) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        Fail(label_ + ": " + OpenFailure(errno));
        return -1;
    }
    // flock also holds off root, which TIOCEXCL lets through.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        Fail(label_ + ": " + OpenFailure(errno == EWOULDBLOCK ? EBUSY : errno));
        ::close(fd);
        return -1;
    }
    ::ioctl(fd, TIOCEXCL);
    return fd;
}

bool TermiosSerialPro::Configure(int fd, const CMiniDCB& dcb) {
    termios state{};
    if (::tcgetattr(fd, &state) != 0) {
        Fail(label_ + ": not a serial port (" + std::strerror(errno) + ")");
        return false;
    }
    const std::string refused = TermiosSettings::Apply(dcb, state);
    if (!refused.empty()) {
        Fail(label_ + ": " + refused);
        return false;
    }
    if (::tcsetattr(fd, TCSANOW, &state) != 0) {
        Fail(label_ + ": the settings were refused (" + std::string(std::strerror(errno)) + ")");
        return false;
    }
    // Whatever the line carried before the port was ours is not an answer.
    ::tcflush(fd, TCIOFLUSH);
    return true;
}

int TermiosSerialPro::DisConnectSerial() {
    if (receiver_.joinable()) {
        if (receiver_.get_id() == std::this_thread::get_id()) {
            return Fail(label_ + ": cannot close the port from its own receive thread");
        }
        const char stop = 1;
        [[maybe_unused]] const auto ignored = ::write(wakeWrite_, &stop, 1);
        receiver_.join();
    }
    CloseQuietly(wakeRead_);
    CloseQuietly(wakeWrite_);
    std::lock_guard lock(sendMutex_);
    if (fd_ >= 0) {
        ::ioctl(fd_, TIOCNXCL); // the exclusive flag outlives us on a tty held open elsewhere
        CloseQuietly(fd_);
    }
    device_.clear();
    return 1;
}

std::optional<LineErrorCounts> TermiosSerialPro::ErrorCounts() const {
    std::lock_guard lock(sendMutex_);
    serial_icounter_struct counters{};
    if (fd_ < 0 || ::ioctl(fd_, TIOCGICOUNT, &counters) != 0) {
        return std::nullopt;
    }
    const auto count = [](int value) { return static_cast<std::uint64_t>(std::max(value, 0)); };
    return LineErrorCounts{count(counters.frame), count(counters.parity), count(counters.overrun),
                           count(counters.brk)};
}

bool TermiosSerialPro::WaitSent(steady_clock::time_point deadline, int& waiting) const {
    for (;;) {
        {
            std::lock_guard lock(sendMutex_);
            waiting = 0;
            if (fd_ < 0 || ::ioctl(fd_, TIOCOUTQ, &waiting) != 0 || waiting <= 0) {
                waiting = 0;
                return true;
            }
        }
        if (steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(milliseconds(5));
    }
}

int TermiosSerialPro::OuterThreadSendMsg(const char* data, int count) {
    if (data == nullptr || count < 0) {
        return 0;
    }
    std::lock_guard lock(sendMutex_);
    if (fd_ < 0 || lost_) {
        return Fail(fd_ < 0 ? "the port is not open" : LastError());
    }
    // A line that takes this long to drain is stuck (flow stopped, far end gone).
    const auto deadline = steady_clock::now() + seconds(2) + count * characterTime_;
    std::size_t sent = 0;
    while (sent < static_cast<std::size_t>(count)) {
        const ssize_t written = ::write(fd_, data + sent, static_cast<std::size_t>(count) - sent);
        if (written > 0) {
            sent += static_cast<std::size_t>(written);
        } else if (written < 0 && errno == EINTR) {
            continue;
        } else if (written < 0 && errno == EAGAIN) {
            if (!WaitWritable(deadline)) {
                return Fail(label_ + ": sending timed out");
            }
        } else {
            return Fail(label_ + ": sending failed (" + std::strerror(errno) + ")");
        }
    }
    return 1;
}

bool TermiosSerialPro::WaitWritable(steady_clock::time_point deadline) {
    const auto left = duration_cast<milliseconds>(deadline - steady_clock::now());
    if (left.count() <= 0) {
        return false;
    }
    pollfd out{fd_, POLLOUT, 0};
    return ::poll(&out, 1, static_cast<int>(left.count())) > 0 && (out.revents & POLLOUT) != 0;
}

std::string TermiosSerialPro::LastError() const {
    std::lock_guard lock(errorMutex_);
    return lastError_;
}

std::string TermiosSerialPro::DeviceFile() const {
    std::lock_guard lock(sendMutex_);
    return device_;
}

int TermiosSerialPro::Fail(const std::string& why) {
    std::lock_guard lock(errorMutex_);
    lastError_ = why;
    return 0;
}

void TermiosSerialPro::ReceiveMain(int fd, int wake, microseconds quiet) {
    std::vector<char> burst;
    burst.reserve(kMaxBurst);
    const timespec quietSpan = ToTimespec(quiet);
    for (;;) {
        std::array<pollfd, 2> watch{{{fd, POLLIN, 0}, {wake, POLLIN, 0}}};
        const int ready =
            ::ppoll(watch.data(), watch.size(), burst.empty() ? nullptr : &quietSpan, nullptr);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0 || watch[1].revents != 0) {
            return;
        }
        if (ready == 0) {
            Deliver(burst);
        } else if (!ReadInto(fd, watch[0].revents, burst)) {
            Deliver(burst);
            return;
        }
    }
}

// Reads what is there; false once the line is gone (end of file, hang-up,
// read error), so the thread never spins on a dead descriptor.
bool TermiosSerialPro::ReadInto(int fd, short events, std::vector<char>& burst) {
    std::array<char, kMaxBurst> chunk{};
    const ssize_t got = ::read(fd, chunk.data(), kMaxBurst - burst.size());
    if (got > 0) {
        burst.insert(burst.end(), chunk.begin(), chunk.begin() + got);
        if (EndsWithLineEnd(burst) || burst.size() >= kMaxBurst) {
            Deliver(burst);
        }
        return true;
    }
    const bool hungUp = (events & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    if (got < 0 && (errno == EAGAIN || errno == EINTR) && !hungUp) {
        return true;
    }
    MarkLost(got == 0 || hungUp ? "the line was closed or the device unplugged"
                                : std::string("read error: ") + std::strerror(errno));
    return false;
}

void TermiosSerialPro::Deliver(std::vector<char>& burst) {
    if (burst.empty()) {
        return;
    }
    if (RcvInterface* receiver = Receiver()) {
        receiver->OnReceive(this, burst.data(), static_cast<int>(burst.size()));
    }
    burst.clear();
}

void TermiosSerialPro::MarkLost(const std::string& why) {
    Fail(label_ + ": the port was lost: " + why);
    lost_ = true;
    if (RcvInterface* receiver = Receiver()) {
        receiver->OnPortLost(this);
    }
}

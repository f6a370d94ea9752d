#include "PtyPair.h"

#include "platform/CMiniDCB.h"
#include "platform/CQelComDll.h"
#include "platform/TermiosSerialPro.h"
#include "platform/TermiosSettings.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <fcntl.h>
#include <grp.h>
#include <mutex>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

// Collects what the port hands over, chunk by chunk.
class Collector : public RcvInterface {
public:
    int OnReceive(void* /*context*/, const char* data, int length) override {
        std::lock_guard lock(mutex_);
        chunks_.emplace_back(data, static_cast<std::size_t>(length));
        changed_.notify_all();
        return 1;
    }
    void OnPortLost(void* /*context*/) override {
        std::lock_guard lock(mutex_);
        ++lost_;
        changed_.notify_all();
    }
    std::string WaitForBytes(std::size_t count) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, 10s, [&] { return Joined().size() >= count; });
        return Joined();
    }
    bool WaitForLoss() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 10s, [&] { return lost_ > 0; });
    }
    std::vector<std::string> Chunks() {
        std::lock_guard lock(mutex_);
        return chunks_;
    }
    int LossCount() {
        std::lock_guard lock(mutex_);
        return lost_;
    }

private:
    std::string Joined() const {
        std::string all;
        for (const auto& chunk : chunks_) {
            all += chunk;
        }
        return all;
    }
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> chunks_;
    int lost_ = 0;
};

CMiniDCB Settings(const std::string& port, const std::string& baud = "19200",
                  const std::string& dataBits = "8", int stopBits = 0, int parity = 0) {
    CMiniDCB dcb;
    dcb.portName = port;
    dcb.baudRate = baud;
    dcb.dataBits = dataBits;
    dcb.stopBits = stopBits;
    dcb.parity = parity;
    return dcb;
}

termios StateOf(const std::string& device) {
    termios state{};
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ::tcgetattr(fd, &state);
    ::close(fd);
    return state;
}

class TermiosSerialProTest : public ::testing::Test {
protected:
    void SetUp() override { port.RegisterRcvInterface(&collector); }
    PtyPair pty;
    Collector collector;
    TermiosSerialPro port;
};

} // namespace

TEST_F(TermiosSerialProTest, DefaultSettingsGiveRawEightNoneOneAt19200) {
    const CMiniDCB dcb = Settings(pty.SlavePath());
    ASSERT_EQ(port.ConnectSerial(&dcb), 1) << port.LastError();
    const termios state = StateOf(pty.SlavePath());
    EXPECT_EQ(cfgetospeed(&state), B19200);
    EXPECT_EQ(cfgetispeed(&state), B19200);
    EXPECT_EQ(state.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(state.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(state.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(state.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(state.c_oflag & OPOST, 0u);
    EXPECT_EQ(state.c_iflag & (ICRNL | IXON), 0u);
}

TEST(TermiosSettings, MapsDataBitsParityAndStopBitCodes) {
    termios state{};
    ASSERT_EQ(TermiosSettings::Apply(Settings("x", "1200", "7", 1, 1), state), "");
    EXPECT_EQ(cfgetospeed(&state), B1200);
    EXPECT_EQ(state.c_cflag & CSIZE, static_cast<tcflag_t>(CS7));
    EXPECT_EQ(state.c_cflag & (PARENB | PARODD | CSTOPB),
              static_cast<tcflag_t>(PARENB | PARODD | CSTOPB));
    ASSERT_EQ(TermiosSettings::Apply(Settings("x", "9600", "8", 0, 2), state), "");
    EXPECT_EQ(state.c_cflag & (CSIZE | PARENB | PARODD | CSTOPB),
              static_cast<tcflag_t>(CS8 | PARENB));
    EXPECT_EQ(TermiosSettings::BitsPerCharacter(Settings("x", "9600", "8", 0, 2)), 11);
    EXPECT_EQ(TermiosSettings::BitsPerCharacter(Settings("x", "9600", "7", 1, 0)), 10);
}

TEST(TermiosSettings, FlowControlAndErrorMarksOnlyWhenAskedFor) {
    struct FlowCase {
        int flow;
        bool mark;
        tcflag_t iflag;
        tcflag_t cflag;
    };
    for (const FlowCase& c : std::vector<FlowCase>{{0, false, 0, 0},
                                                   {1, false, IXON | IXOFF, 0},
                                                   {2, false, 0, CRTSCTS},
                                                   {0, true, INPCK | PARMRK, 0}}) {
        SCOPED_TRACE(c.flow);
        CMiniDCB dcb = Settings("x", "9600");
        dcb.flowControl = c.flow;
        dcb.markLineErrors = c.mark;
        termios state{};
        state.c_iflag = IGNPAR | ISTRIP | IGNBRK;
        ASSERT_EQ(TermiosSettings::Apply(dcb, state), "");
        EXPECT_EQ(state.c_iflag & (IXON | IXOFF | INPCK | PARMRK | ISTRIP | IGNBRK), c.iflag);
        // Ignoring bad bytes would leave nothing to mark.
        if (c.mark) {
            EXPECT_EQ(state.c_iflag & IGNPAR, 0u);
        }
        EXPECT_EQ(state.c_cflag & CRTSCTS, c.cflag);
    }
    CMiniDCB bad = Settings("x", "9600");
    bad.flowControl = 3;
    termios state{};
    EXPECT_NE(TermiosSettings::Apply(bad, state), "");
}

// A pseudo-terminal keeps eight bits and no parity whatever it is told, so
// only the speed and the stop bits show there.
TEST_F(TermiosSerialProTest, ChosenSpeedAndStopBitsReachTheDevice) {
    const CMiniDCB dcb = Settings(pty.SlavePath(), "115200", "7", 1, 2);
    ASSERT_EQ(port.ConnectSerial(&dcb), 1) << port.LastError();
    const termios state = StateOf(pty.SlavePath());
    EXPECT_EQ(cfgetospeed(&state), B115200);
    EXPECT_NE(state.c_cflag & CSTOPB, 0u);
}

TEST_F(TermiosSerialProTest, RefusesSettingsItCannotUse) {
    for (const CMiniDCB& dcb :
         {Settings(pty.SlavePath(), "12345"), Settings(pty.SlavePath(), "19200", "6"),
          Settings(pty.SlavePath(), "19200", "8", 2), Settings(pty.SlavePath(), "", "8", 0, 3)}) {
        EXPECT_EQ(port.ConnectSerial(&dcb), 0);
        EXPECT_NE(port.LastError().find("unsupported"), std::string::npos) << port.LastError();
    }
}

TEST_F(TermiosSerialProTest, LinesArriveWholeAndQuietBytesAreHandedOverToo) {
    const CMiniDCB dcb = Settings(pty.SlavePath());
    ASSERT_EQ(port.ConnectSerial(&dcb), 1) << port.LastError();
    pty.Write("0182/0031\r\n");
    EXPECT_EQ(collector.WaitForBytes(11), "0182/0031\r\n");
    EXPECT_EQ(collector.Chunks().size(), 1u);
    pty.Write("no line end");
    EXPECT_EQ(collector.WaitForBytes(22), "0182/0031\r\nno line end");
}

TEST_F(TermiosSerialProTest, LongDataComesInBurstsOfBoundedSize) {
    const CMiniDCB dcb = Settings(pty.SlavePath(), "115200");
    ASSERT_EQ(port.ConnectSerial(&dcb), 1) << port.LastError();
    const std::string data(3000, 'x');
    pty.Write(data);
    EXPECT_EQ(collector.WaitForBytes(data.size()), data);
    for (const auto& chunk : collector.Chunks()) {
        EXPECT_LE(chunk.size(), static_cast<std::size_t>(TermiosSerialPro::kMaxBurst));
    }
}

TEST_F(TermiosSerialProTest, SendsFromManyThreadsStayWhole) {
    const CMiniDCB dcb = Settings(pty.SlavePath(), "115200");
    ASSERT_EQ(port.ConnectSerial(&dcb), 1) << port.LastError();
    constexpr int kPerThread = 200;
    const std::string a = std::string(60, 'a') + "\r\n";
    const std::string b = std::string(60, 'b') + "\r\n";
    std::string received;
    std::thread reader([&] { received = pty.Read(2 * kPerThread * a.size()); });
    auto sender = [&](const std::string& message) {
        for (int i = 0; i < kPerThread; ++i) {
            EXPECT_EQ(port.OuterThreadSendMsg(message.data(), static_cast<int>(message.size())), 1);
        }
    };
    std::thread first(sender, a);
    std::thread second(sender, b);
    first.join();
    second.join();
    reader.join();
    ASSERT_EQ(received.size(), 2 * kPerThread * a.size());
    for (std::size_t at = 0; at < received.size(); at += a.size()) {
        const std::string piece = received.substr(at, a.size());
        EXPECT_TRUE(piece == a || piece == b) << "interleaved at " << at;
    }
}

TEST_F(TermiosSerialProTest, HangUpEndsTheReceiveThreadAndIsReported) {
    const CMiniDCB dcb = Settings(pty.SlavePath());
    ASSERT_EQ(port.ConnectSerial(&dcb), 1) << port.LastError();
    pty.Write("last words\r\n");
    collector.WaitForBytes(12);
    pty.CloseMaster();
    ASSERT_TRUE(collector.WaitForLoss());
    EXPECT_TRUE(port.PortLost());
    EXPECT_NE(port.LastError().find("lost"), std::string::npos) << port.LastError();
    EXPECT_EQ(port.OuterThreadSendMsg("?\r\n", 3), 0);
    EXPECT_EQ(port.DisConnectSerial(), 1);
    EXPECT_EQ(collector.LossCount(), 1);
}

TEST_F(TermiosSerialProTest, ReconnectsAfterDisconnect) {
    const CMiniDCB dcb = Settings(pty.SlavePath());
    ASSERT_EQ(port.ConnectSerial(&dcb), 1) << port.LastError();
    EXPECT_EQ(port.ConnectSerial(&dcb), 0);
    EXPECT_NE(port.LastError().find("already open"), std::string::npos);
    EXPECT_EQ(port.DisConnectSerial(), 1);
    EXPECT_EQ(port.OuterThreadSendMsg("a\r\n", 3), 0);
    ASSERT_EQ(port.ConnectSerial(&dcb), 1) << port.LastError();
    EXPECT_EQ(port.DeviceFile(), pty.SlavePath());
    EXPECT_EQ(port.OuterThreadSendMsg("a\r\n", 3), 1);
    EXPECT_EQ(pty.Read(3), "a\r\n");
}

TEST_F(TermiosSerialProTest, FindsTheDeviceThroughTheComMap) {
    ::setenv("STATIONLINK_PORTS", ("COM3=/dev/none;com7=" + pty.SlavePath()).c_str(), 1);
    const CMiniDCB dcb = Settings("COM7");
    const int connected = port.ConnectSerial(&dcb);
    const CMiniDCB unknown = Settings("COM8");
    TermiosSerialPro other;
    const int unmapped = other.ConnectSerial(&unknown);
    ::unsetenv("STATIONLINK_PORTS");
    ASSERT_EQ(connected, 1) << port.LastError();
    EXPECT_EQ(port.DeviceFile(), pty.SlavePath());
    EXPECT_EQ(unmapped, 0);
    EXPECT_NE(other.LastError().find("COM8: no such port"), std::string::npos);
}

TEST_F(TermiosSerialProTest, MissingDeviceSaysSo) {
    const CMiniDCB dcb = Settings("/dev/ttyUSB-not-there");
    EXPECT_EQ(port.ConnectSerial(&dcb), 0);
    EXPECT_NE(port.LastError().find("no such device"), std::string::npos) << port.LastError();
    EXPECT_NE(port.LastError().find("/dev/ttyUSB-not-there"), std::string::npos);
}

TEST_F(TermiosSerialProTest, SecondUserIsToldThePortIsBusy) {
    const CMiniDCB dcb = Settings(pty.SlavePath());
    ASSERT_EQ(port.ConnectSerial(&dcb), 1) << port.LastError();
    TermiosSerialPro second;
    EXPECT_EQ(second.ConnectSerial(&dcb), 0);
    EXPECT_NE(second.LastError().find("busy"), std::string::npos) << second.LastError();
    port.DisConnectSerial();
    EXPECT_EQ(second.ConnectSerial(&dcb), 1) << second.LastError();
}

// Root opens any device, so the refusal is checked in a child that gives up
// its privileges; as an ordinary user the device is made unreadable instead.
TEST_F(TermiosSerialProTest, PermissionDeniedNamesTheDialoutGroup) {
    const bool root = ::geteuid() == 0;
    if (!root) {
        ::chmod(pty.SlavePath().c_str(), 0);
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (root &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(3);
        }
        TermiosSerialPro denied;
        const CMiniDCB dcb = Settings(pty.SlavePath());
        const bool refused = denied.ConnectSerial(&dcb) == 0 &&
                             denied.LastError().find("permission denied") != std::string::npos &&
                             denied.LastError().find("dialout") != std::string::npos;
        ::_exit(refused ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 3) {
        GTEST_SKIP() << "cannot drop privileges to check the refusal";
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(CQelComDll, MakesARealSerialPortByDefault) {
    CQelComDll library;
    EXPECT_NE(dynamic_cast<TermiosSerialPro*>(library.CreateQelPtrObject()), nullptr);
    EXPECT_EQ(library.CreateQelPtrObject(), library.CreateQelPtrObject());
}

#pragma once

#include "platform/LineErrorCounts.h"
#include "platform/QelSerialPro.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// A serial port over POSIX termios. Connecting resolves the COM name through
// the COM map (a name that begins with "/" is taken as the device file
// itself), opens the device for exclusive use in raw mode and starts a
// receive thread. That thread hands the bytes to the registered receiver in
// bursts: at once when the bytes gathered end with CR LF or fill a burst,
// otherwise once the line has been quiet for about two character times (at
// least a millisecond). Sends may come from any thread; they are serialised.
// Pseudo-terminals work like real ports: no modem-line ioctl is used.
class TermiosSerialPro : public QelSerialPro {
public:
    static constexpr int kMaxBurst = 1024;

    TermiosSerialPro() = default;
    ~TermiosSerialPro() override;
    TermiosSerialPro(const TermiosSerialPro&) = delete;
    TermiosSerialPro& operator=(const TermiosSerialPro&) = delete;

    int ConnectSerial(const CMiniDCB* dcb) override;
    // Stops the receive thread (it must not be called from inside the
    // receiver's OnReceive) and closes the device.
    int DisConnectSerial() override;
    int OuterThreadSendMsg(const char* data, int count) override;
    std::string LastError() const override;
    bool PortLost() const override { return lost_; }

    // The device file of the open port; empty while closed.
    std::string DeviceFile() const;
    // The driver's error counters; none where the device keeps none
    // (pseudo-terminals, some adapters).
    std::optional<LineErrorCounts> ErrorCounts() const;
    // Waits until everything written has left the port, at most until the
    // deadline (a far end holding XOFF may never let it go). False when
    // bytes are still waiting then; their count in `waiting`.
    bool WaitSent(std::chrono::steady_clock::time_point deadline, int& waiting) const;

private:
    int OpenDevice(const std::string& device);
    bool Configure(int fd, const CMiniDCB& dcb);
    void ReceiveMain(int fd, int wake, std::chrono::microseconds quiet);
    bool ReadInto(int fd, short events, std::vector<char>& burst);
    void Deliver(std::vector<char>& burst);
    void MarkLost(const std::string& why);
    bool WaitWritable(std::chrono::steady_clock::time_point deadline);
    int Fail(const std::string& why);

    int fd_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::string label_;
    std::string device_;
    std::chrono::microseconds characterTime_{0};
    std::thread receiver_;
    std::atomic<bool> lost_{false};
    mutable std::mutex sendMutex_;
    mutable std::mutex errorMutex_;
    std::string lastError_;
};

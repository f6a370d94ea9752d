#pragma once

#include <chrono>
#include <string>

// The PC end of a simulator's line for tests: a raw serial device, one
// command out, one reply line back.
class SimClient {
public:
    explicit SimClient(const std::string& device);
    ~SimClient();
    SimClient(const SimClient&) = delete;
    SimClient& operator=(const SimClient&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    void Send(const std::string& bytes);
    // The next line, CR LF included; empty when none came in time or the
    // line was hung up.
    std::string ReadLine(std::chrono::milliseconds timeout = std::chrono::seconds(10));
    std::string Ask(const std::string& command);
    // True once the far end has closed the line.
    bool HungUp(std::chrono::milliseconds timeout = std::chrono::seconds(10));

private:
    int fd_ = -1;
    std::string pending_;
};

#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

// Runs x4sim as a child process for a test and stops it again.
class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& options = {});
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // The device path the simulator printed; empty when it did not start.
    const std::string& Device() const { return device_; }
    // Sends SIGTERM and waits; returns the exit status (-1 when killed).
    int Stop();
    // Holds the simulator (SIGSTOP) or lets it go on (SIGCONT): an
    // instrument that keeps its line open and answers nothing.
    void Pause(bool paused);
    // Waits for the simulator to end by itself; -1 when it did not in time.
    int WaitExit(std::chrono::milliseconds timeout = std::chrono::seconds(20));

    static std::string Program();

private:
    pid_t pid_ = -1;
    std::string device_;
};

#pragma once

#include <chrono>

// Turns SIGINT, SIGTERM and SIGHUP into a readable descriptor, so every wait
// of the simulator ends as soon as it is asked to stop.
class SignalWatch {
public:
    SignalWatch();
    ~SignalWatch();
    SignalWatch(const SignalWatch&) = delete;
    SignalWatch& operator=(const SignalWatch&) = delete;

    bool Raised();
    // Waits until fd shows one of events or the time is up (negative: no
    // limit). Returns the events seen, 0 on time-out, -1 when a stop signal
    // came.
    int Wait(int fd, short events, std::chrono::microseconds timeout);
    // False when a stop signal came first.
    bool SleepUntil(std::chrono::steady_clock::time_point when);
    // As SleepUntil, but ends at the time and not one timer wake-up later:
    // it sleeps to shortly before and spins the rest.
    bool SleepUntilSharp(std::chrono::steady_clock::time_point when);

private:
    int fd_ = -1;
    bool raised_ = false;
};

#pragma once

#include "LinePacer.h"
#include "SimOptions.h"

#include <chrono>
#include <string>
#include <string_view>

class PseudoTerminal;
class SignalWatch;
class Transcript;

// The instrument in its simple mode: no commands, it sends a job when the
// surveyor presses "send" and stores whatever it is sent. Sending honours
// XON/XOFF from the PC; receiving can pause the PC with XOFF after every
// line, as slow instruments do while they store a block.
class SimpleMode {
public:
    enum class Outcome { Stopped, HungUp, Failed };
    using Clock = std::chrono::steady_clock;

    SimpleMode(PseudoTerminal& line, const x4sim::SimOptions& options, SignalWatch& signals,
               Transcript& transcript);
    ~SimpleMode();
    SimpleMode(const SimpleMode&) = delete;
    SimpleMode& operator=(const SimpleMode&) = delete;

    // Opens the file to send or the folder to store in; false with why not.
    bool Prepare(std::string& error);
    Outcome Run();
    const std::string& Failure() const { return failure_; }

    static constexpr char kXon = 0x11;
    static constexpr char kXoff = 0x13;
    static constexpr const char* kStoreName = "received.txt";

private:
    Outcome Send();
    Outcome Receive();
    Outcome KeepOpen();
    bool SendPiece(std::string_view piece);
    bool WaitWhileStopped();
    bool ReadFlowBytes();
    bool WriteAll(std::string_view bytes);
    bool WriteTo(int fd, std::string_view bytes);
    bool WaitUntilRead();
    Outcome Fail(std::string why);
    Clock::time_point Due(std::size_t count);

    PseudoTerminal& line_;
    const x4sim::SimOptions& options_;
    SignalWatch& signals_;
    Transcript& transcript_;
    LinePacer pacer_; // its slice size; the stream keeps its own time
    std::chrono::nanoseconds byteTime_;
    Clock::time_point due_{};
    bool idle_ = true; // the line carried nothing since the last burst
    std::string job_;
    int store_ = -1;
    int probe_ = -1; // our own view of the PC's end: how much it has not read yet
    bool stopped_ = false;
    std::string failure_;
};

#pragma once

#include "LinePacer.h"
#include "SimOptions.h"

#include <string>

class Instrument;
class PseudoTerminal;
class ReplayScript;
class SignalWatch;
class Transcript;
struct SimReply;

// Reads the PC's lines from the pseudo-terminal, lets the instrument answer
// them and writes the answers, applying the pacing and the fault options.
class SimulatorLoop {
public:
    enum class Outcome { Stopped, HungUp, Failed };

    // replay: when set, it answers instead of the instrument.
    SimulatorLoop(PseudoTerminal& line, Instrument& instrument, const x4sim::SimOptions& options,
                  SignalWatch& signals, Transcript& transcript, ReplayScript* replay = nullptr);

    Outcome Run();
    const std::string& Failure() const { return failure_; }

    // Lines longer than this without a line end are taken as they are.
    static constexpr std::size_t kMaxLine = 64 * 1024;
    static constexpr const char* kWarning = "@W100\r\n";

private:
    bool ReadInput();
    std::optional<std::string> NextLine();
    bool Answer(const std::string& line, bool& hungUp);
    bool Write(const std::string& bytes);
    bool WritePiece(std::string_view piece, LinePacer::Clock::time_point begin);
    bool WriteAll(std::string_view bytes);
    bool Fail(std::string why);

    PseudoTerminal& line_;
    Instrument& instrument_;
    ReplayScript* replay_;
    const x4sim::SimOptions& options_;
    SignalWatch& signals_;
    Transcript& transcript_;
    LinePacer pacer_;
    std::string input_;
    LinePacer::Clock::time_point inputArrived_{};
    int commands_ = 0;
    bool hangUpDue_ = false;
    std::string failure_;
};

#pragma once

#include "legacyxfer/LinePreset.h"
#include "platform/TermiosSerialPro.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

// Sends a PC file to an instrument that is waiting to receive: all at once
// while XON/XOFF holds the pace (the port stops on the instrument's XOFF),
// or line by line with a pause after each for instruments without flow
// control. Reports its progress and can be cancelled between pieces.
class SendSession {
public:
    enum class Pacing { Flow, XonXoff, LineDelay };

    struct Options {
        std::string port;
        LinePreset preset;
        std::string file;
        Pacing pacing = Pacing::Flow; // Flow: the preset's own flow control
        std::chrono::milliseconds lineDelay{0};
    };

    struct Result {
        bool done = false;
        bool cancelled = false;
        std::uint64_t bytesSent = 0; // handed to the port and gone from it
        std::uint64_t linesSent = 0;
        std::uint64_t totalBytes = 0;
        std::string message;
    };

    // bytes and lines sent so far; called after every piece.
    using Progress = std::function<void(std::uint64_t bytes, std::uint64_t lines)>;
    using Cancelled = std::function<bool()>;

    explicit SendSession(Options options);

    // Reads the file and opens the port; empty on success, else why not.
    std::string Start();
    std::uint64_t TotalBytes() const { return bytes_.size(); }
    std::uint64_t TotalLines() const;
    Result Run(const Progress& progress, const Cancelled& cancelled);

    // Pieces handed to the port at once when the flow control paces.
    static constexpr std::size_t kPiece = 256;

private:
    bool Pause(const Cancelled& cancelled);

    Options options_;
    std::string bytes_;
    TermiosSerialPro port_;
};

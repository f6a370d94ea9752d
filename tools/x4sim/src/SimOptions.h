#pragma once

#include <optional>
#include <string>
#include <vector>

namespace x4sim {

// The command line of x4sim.
struct SimOptions {
    std::string dataDir;     // --data: empty for the built-in demo content
    std::string linkPath;    // --link
    std::string logFile;     // --log
    std::string receivedDir; // --received
    std::string replayLog;   // --replay: answer as the instrument in this traffic log
    long baud = 0;           // --baud: 0 for no pacing
    int silent = 0;          // --silent: commands ignored at the start
    int warn = 0;            // --warn: every n-th command gets a warning
    int chunk = 0;           // --chunk: largest piece of a reply
    int hangupAfter = 0;     // --hangup-after: data lines of a download
    int hangupInUpload = 0;  // --hangup-in-upload: data lines of an upload
    bool help = false;

    // The simple mode: an instrument that only sends or only receives.
    std::string legacySend;    // --legacy-send: the job to send
    std::string legacyReceive; // --legacy-receive: where what arrives is stored
    double legacyDelay = 0;    // --delay: seconds before "send" is pressed
    int storePauseMs = 0;      // --store-pause: XOFF after every line received

    bool SimpleMode() const { return !legacySend.empty() || !legacyReceive.empty(); }

    static constexpr const char* kUsage =
        "usage: x4sim [--data DIR] [--link PATH] [--baud N] [--log FILE] [--received DIR]\n"
        "             [--silent N] [--warn N] [--chunk N] [--hangup-after N]\n"
        "             [--hangup-in-upload N] [--replay LOG]\n"
        "       x4sim --legacy-send FILE [--delay S] [--link PATH] [--baud N] [--chunk N]\n"
        "             [--hangup-after N]\n"
        "       x4sim --legacy-receive DIR [--store-pause MS] [--link PATH] [--baud N]\n";

    // The options, or a one-line reason why the command line is wrong.
    static std::optional<SimOptions> Parse(const std::vector<std::string>& args,
                                           std::string& error);
};

} // namespace x4sim

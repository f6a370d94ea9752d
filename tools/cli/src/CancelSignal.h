#pragma once

#include <atomic>

namespace stationlinkcli {

// Ctrl+C in the terminal (SIGINT), a hang-up (SIGHUP) or SIGTERM: the running operation stops as
// the window's "Cancel" stops it, and the command ends with exit status 130.
class CancelSignal {
public:
    static constexpr int kExitStatus = 130;

    // Once, at the start of the program.
    static void Install();
    static const std::atomic<bool>& Requested();
};

} // namespace stationlinkcli

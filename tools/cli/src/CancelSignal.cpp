#include "CancelSignal.h"

#include <csignal>

namespace stationlinkcli {

namespace {

// Lock-free, so the handler may set it.
std::atomic<bool> requested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnInterrupt(int /*signal*/) {
    requested = true;
}

} // namespace

void CancelSignal::Install() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // A closed terminal or a stop from outside ends the work as Ctrl+C does:
    // what arrived is kept and the instrument is brought back to idle.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
}

const std::atomic<bool>& CancelSignal::Requested() {
    return requested;
}

} // namespace stationlinkcli

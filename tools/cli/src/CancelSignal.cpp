#include "CancelSignal.h"

#include <csignal>

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
    ::sigaction(SIGINT, &action, nullptr);
}

const std::atomic<bool>& CancelSignal::Requested() {
    return requested;
}

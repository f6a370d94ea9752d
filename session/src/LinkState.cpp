#include "session/LinkState.h"

std::string_view LinkStateName(LinkState state) {
    switch (state) {
    case LinkState::Closed:
        return "closed";
    case LinkState::Connecting:
        return "connecting";
    case LinkState::Ready:
        return "ready";
    case LinkState::Busy:
        return "busy";
    case LinkState::Recovering:
        return "recovering";
    case LinkState::Lost:
        return "lost";
    }
    return "closed";
}

#include "launcher/HoverTracker.h"

bool HoverTracker::Move(bool leftButtonDown, bool overButton) {
    // A drag that began elsewhere does not light the button up; one that began here may still
    // clear the highlight when it leaves the button.
    if (leftButtonDown && !hovered_) {
        return false;
    }
    if (overButton == hovered_) {
        return false;
    }
    hovered_ = overButton;
    return true;
}

bool HoverTracker::Leave() {
    if (!hovered_) {
        return false;
    }
    hovered_ = false;
    return true;
}

#pragma once

// Decides when a flat button counts as being under the mouse. Every event answers whether the
// state changed, which is exactly when the button must repaint.
class HoverTracker {
public:
    // A mouse move; overButton tells whether the cursor is inside the button.
    bool Move(bool leftButtonDown, bool overButton);
    // The cursor left the button, possibly by leaving the whole window in one jump.
    bool Leave();
    bool Hovered() const { return hovered_; }

private:
    bool hovered_ = false;
};

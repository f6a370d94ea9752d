#pragma once

#include <optional>

// The states of the three lock keys the status bar shows.
struct KeyLocks {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// Reads the keyboard's lock indicators from the X server; empty where the
// display cannot tell (no X11 connection).
std::optional<KeyLocks> ReadKeyLocks();

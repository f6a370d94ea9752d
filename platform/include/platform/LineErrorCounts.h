#pragma once

#include <cstdint>

// The errors a serial driver has counted on a line since it was opened.
// Overruns are only known this way: they leave no mark in the data.
struct LineErrorCounts {
    std::uint64_t framing = 0;
    std::uint64_t parity = 0;
    std::uint64_t overrun = 0;
    std::uint64_t breaks = 0;
};

#pragma once

#include <string>

// Figures of this very process from /proc/self: resident memory, threads and
// open descriptors. A soak compares them over many cycles to find leaks.
class ProcessCounters {
public:
    // A "VmHWM"/"VmRSS"-style line of /proc/self/status in kB; -1 when absent.
    static long StatusKb(const std::string& key);
    // Entries of /proc/self/task.
    static int Threads();
    // Entries of /proc/self/fd (the descriptor that reads the folder excluded).
    static int Descriptors();

private:
    static int Entries(const char* folder);
};

#pragma once

// Small helpers around received serial data.
class CQelComToolse {
public:
    // Searches flag in the first length bytes of buffer. Not found: a value
    // below -1. Found: p >= -1, where p is the index of the last byte before
    // the flag, so the line through the flag is the first p + 1 + strlen(flag)
    // bytes (p + 3 for "\r\n"; -1 for a line that is only the flag).
    static int ReturnEndFlagPos(const char* buffer, int length, const char* flag);

    static constexpr int kNotFound = -2;
};

#pragma once

#include <string>

// Reads a whole PC file into memory.
class WholeFile {
public:
    // False for anything that is not a readable regular file (a folder, a
    // device, a missing or forbidden file); error then names the path and
    // the reason.
    static bool Read(const std::string& path, std::string& bytes, std::string& error);
};

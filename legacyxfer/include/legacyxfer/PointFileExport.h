#pragma once

#include <string>
#include <vector>

// The points of a GSI capture or job as a point file (".dat"), the same
// lines the point-file conversion writes. Lines that give no point are
// passed over; lines that cannot be read are named, not fatal.
class PointFileExport {
public:
    struct Result {
        bool written = false;
        std::size_t points = 0;
        std::vector<std::string> skipped; // "line N: reason"
        std::string message;
    };

    static Result Write(const std::string& gsiFile, const std::string& datFile, bool overwrite);
};

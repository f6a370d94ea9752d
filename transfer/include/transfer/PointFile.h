#pragma once

#include <string>
#include <string_view>

// The point file of a "CASS" download: created at its path (an existing file
// is truncated) and filled by the conversion of the collected data.
class PointFile {
public:
    // False when the file cannot be created or written; error then names
    // the path and the reason.
    static bool Write(const std::string& path, std::string_view collected, std::string& error);
};

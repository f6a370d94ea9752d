#pragma once

#include <string>
#include <string_view>

// The point file of a "CASS" download: filled by the conversion of the
// collected data, and put in place of an earlier file of its name only once
// it is complete.
class PointFile {
public:
    // False when the file cannot be created or written; error then names
    // the path and the reason.
    static bool Write(const std::string& path, std::string_view collected, std::string& error);
};

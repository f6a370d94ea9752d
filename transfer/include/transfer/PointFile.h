#pragma once

#include "transfer/DestinationFile.h"

#include <cstddef>
#include <string>
#include <string_view>

// The point file of a "CASS" download: filled by the conversion of the
// collected data, and put in place of an earlier file of its name only once
// it is complete. Data without a single coordinate (a part of measurements,
// say) gives no file at all: a file of bare names would pass for points.
class PointFile {
public:
    enum class Result { Written, NoCoordinates, FileFailed };

    // FileFailed when the file cannot be created or written, or it exists
    // and ifExists keeps it; error then names the path and the reason, as
    // for NoCoordinates. points: the point lines written.
    static Result Write(const std::string& path, std::string_view collected,
                        DestinationFile::IfExists ifExists, std::string& error,
                        std::size_t* points = nullptr);
};

#pragma once

#include "drawexport/ExportInput.h"
#include "fielddata/PointExtents.h"
#include "fielddata/SkippedBlock.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// What reading one input gave: the extents and number of its points (of
// them how many computed from observations and how many station set-ups),
// the blocks that gave none, or why it could not be read.
struct InputReport {
    std::string path;
    PointExtents extents;
    std::size_t computed = 0;
    std::size_t fromZero = 0; // computed from a station taken as 0,0,0
    std::size_t stations = 0;
    std::vector<SkippedBlock> skipped;
    std::optional<FieldFileError> error;

    // Reads the input through once.
    static InputReport Of(const ExportInput& input);
};

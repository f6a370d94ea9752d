#pragma once

#include "drawexport/ExportInput.h"
#include "fielddata/PointExtents.h"
#include "fielddata/SkippedBlock.h"

#include <optional>
#include <string>
#include <vector>

// What reading one input gave: the extents and number of its points, the
// blocks that gave none, or why it could not be read.
struct InputReport {
    std::string path;
    PointExtents extents;
    std::vector<SkippedBlock> skipped;
    std::optional<FieldFileError> error;

    // Reads the input through once.
    static InputReport Of(const ExportInput& input);
};

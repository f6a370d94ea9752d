#pragma once

#include "fielddata/FieldFileError.h"
#include "fielddata/PointSink.h"

#include <optional>
#include <string>

// One input of an export, which the export may read more than once: first
// to learn its extents, then to write its points.
class ExportInput {
public:
    virtual ~ExportInput() = default;

    virtual const std::string& Path() const = 0;
    // Hands every point and skipped block to the sink; the error when the
    // input cannot be read whole.
    virtual std::optional<FieldFileError> Replay(PointSink& sink) const = 0;

protected:
    ExportInput() = default;
    ExportInput(const ExportInput&) = default;
    ExportInput& operator=(const ExportInput&) = default;
};

#pragma once

#include "fielddata/FieldFileError.h"
#include "fielddata/PointSink.h"

#include <optional>
#include <string>
#include <string_view>

// A field file on the PC: a point file when its name ends in ".dat" (in
// any case), otherwise a GSI-8 or GSI-16 job.
class FieldFile {
public:
    enum class Kind { GsiJob, PointFile };

    static Kind KindOf(std::string_view path);

    // Reads the whole file, handing its points and skipped blocks to the
    // sink; a line that cannot be read is handed on as skipped with its
    // reason. nullopt when the file was read to its end; otherwise (the
    // file cannot be opened, is empty, is binary) what was handed over
    // before the error is all the file gave.
    static std::optional<FieldFileError> Read(const std::string& path, PointSink& sink);
};

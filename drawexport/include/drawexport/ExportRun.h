#pragma once

#include "drawexport/ExportInput.h"
#include "drawexport/ExportSettings.h"
#include "fielddata/PointExtents.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Writes the points of some inputs into one output file. The output
// appears under its name only when everything was written; a failure or a
// cancel leaves an earlier file of that name as it was.
class ExportRun {
public:
    // Called now and then with the points written so far and all there
    // are; answering false cancels the export.
    using Progress = std::function<bool(std::size_t written, std::size_t total)>;

    ExportRun(ExportSettings settings, std::string output);

    // extents: of all the inputs' points together. nullopt when the output
    // is in place, else why it is not.
    std::optional<std::string> Write(const std::vector<const ExportInput*>& inputs,
                                     const PointExtents& extents, const Progress& progress = {});

    std::size_t Written() const { return written_; }

    static constexpr std::size_t kProgressStep = 4096;

private:
    ExportSettings settings_;
    std::string output_;
    std::size_t written_ = 0;
};

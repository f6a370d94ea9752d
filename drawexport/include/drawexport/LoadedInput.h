#pragma once

#include "drawexport/ExportInput.h"
#include "fielddata/PointSet.h"

// A field file read once into memory, as the window shows it; a file that
// could not be read keeps its error and no points.
class LoadedInput final : public ExportInput {
public:
    // Reads the file at once.
    explicit LoadedInput(std::string path);

    const std::string& Path() const override { return path_; }
    std::optional<FieldFileError> Replay(PointSink& sink) const override;

    const PointSet& Points() const { return points_; }
    const std::optional<FieldFileError>& Error() const { return error_; }

private:
    std::string path_;
    PointSet points_;
    std::optional<FieldFileError> error_;
};

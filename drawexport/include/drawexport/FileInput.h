#pragma once

#include "drawexport/ExportInput.h"

// A field file read from disk each time, so memory stays flat however
// many points it holds.
class FileInput final : public ExportInput {
public:
    explicit FileInput(std::string path) : path_(std::move(path)) {}

    const std::string& Path() const override { return path_; }
    std::optional<FieldFileError> Replay(PointSink& sink) const override;

private:
    std::string path_;
};

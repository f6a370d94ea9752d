#include "drawexport/LoadedInput.h"

#include "fielddata/FieldFile.h"

LoadedInput::LoadedInput(std::string path) : path_(std::move(path)) {
    error_ = FieldFile::Read(path_, points_);
    if (error_) {
        points_ = PointSet();
    }
}

std::optional<FieldFileError> LoadedInput::Replay(PointSink& sink) const {
    if (!error_) {
        points_.Replay(sink);
    }
    return error_;
}

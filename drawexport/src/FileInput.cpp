#include "drawexport/FileInput.h"

#include "fielddata/FieldFile.h"

std::optional<FieldFileError> FileInput::Replay(PointSink& sink) const {
    return FieldFile::Read(path_, sink);
}

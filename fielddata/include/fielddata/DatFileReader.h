#pragma once

#include "fielddata/FieldLineReader.h"
#include "fielddata/PointFileLine.h"

// The lines of a point file (".dat"), read as PointFileLine. A line with
// an easting and a northing is a point; an empty height field or a missing
// one leaves the point without height. A line without easting or northing
// (a block that had none) is handed on as skipped.
class DatFileReader final : public FieldLineReader {
public:
    explicit DatFileReader(PointSink& sink);

    // A coordinate field that is neither empty nor a decimal number is refused.
    bool ReadLine(std::string_view line, std::size_t number, std::string& reason) override;

private:
    PointFileLine fields_;
    SurveyPoint point_;
};

#pragma once

#include "fielddata/FieldLineReader.h"

// The lines of a point file (".dat") as the point-file conversion writes
// them: name, easting, northing, height and code, separated by ",". A line
// with an easting and a northing is a point; an empty height field or a
// missing one leaves the point without height. Everything after the fourth
// "," belongs to the code, so a code may hold commas. A line without
// easting or northing (a block that had none) is handed on as skipped.
class DatFileReader final : public FieldLineReader {
public:
    explicit DatFileReader(PointSink& sink);

    // A coordinate field that is neither empty nor a decimal number is refused.
    bool ReadLine(std::string_view line, std::size_t number, std::string& reason) override;

private:
    bool ReadField(std::string_view field, std::optional<double>& value, std::string& reason);

    SurveyPoint point_;
};

#pragma once

#include "fielddata/ExactCoordinates.h"
#include "fielddata/SurveyPoint.h"

#include <string>
#include <string_view>

// Point-file lines (".dat") as the point-file conversion writes them and
// DatFileReader reads them back: "name,easting,northing,height,code" and
// CR LF; the height field is empty for a point without height.
class DatFileWriter {
public:
    // The coordinates with the point's places. False, and nothing
    // appended, for a coordinate too large for its places.
    static bool AppendLine(const SurveyPoint& point, std::string& out);
    // The line without its line end, each coordinate with its own places.
    static std::string Line(std::string_view name, const ExactCoordinates& at,
                            std::string_view code);
};

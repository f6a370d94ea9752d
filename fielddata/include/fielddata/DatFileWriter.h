#pragma once

#include "fielddata/SurveyPoint.h"

#include <string>

// Point-file lines (".dat") as the point-file conversion writes them and
// DatFileReader reads them back.
class DatFileWriter {
public:
    // "name,easting,northing,height,code" and CR LF, the coordinates with
    // the point's places; the height field is empty for a point without
    // height. False, and nothing appended, for a coordinate too large for
    // its places.
    static bool AppendLine(const SurveyPoint& point, std::string& out);
};

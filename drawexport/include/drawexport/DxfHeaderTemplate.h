#pragma once

#include "fielddata/PointExtents.h"

#include <string>

// GDAL writes a DXF file's header and tables from a template. This copy of
// GDAL's own template is adjusted to one drawing, so that a CAD program
// shows every point when it opens the file: the extents get their heights
// (GDAL fills in only easting and northing), the active view is centred
// on the points and high enough for all of them, points are drawn as
// crossed circles as big as the text, and the text height is the default.
class DxfHeaderTemplate {
public:
    // path: any GDAL file name, /vsimem/ included. False, with error, when
    // GDAL's template cannot be found or the copy not written.
    static bool Write(const std::string& path, const PointExtents& extents, double textHeight,
                      std::string& error);
};

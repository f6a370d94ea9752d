#pragma once

#include "fielddata/PointExtents.h"

#include <string>
#include <vector>

// GDAL writes a DXF file's header and tables from a template. This copy of
// GDAL's own template is adjusted to one drawing, so that a CAD program
// shows every point when it opens the file: the extents get their heights
// (GDAL fills in only easting and northing), the active view is centred
// on the points and high enough for all of them, points are drawn as
// crossed circles as big as the text, and the text height is the default.
// Layers given here are defined with their colours before any entity uses
// them (GDAL adds layers it meets later as copies of layer "0").
class DxfHeaderTemplate {
public:
    struct Layer {
        std::string name; // as GDAL writes layer names
        unsigned rgb;     // true colour, 0xRRGGBB
    };

    // path: any GDAL file name, /vsimem/ included. False, with error, when
    // GDAL's template cannot be found or the copy not written.
    static bool Write(const std::string& path, const PointExtents& extents, double textHeight,
                      const std::vector<Layer>& layers, std::string& error);
};

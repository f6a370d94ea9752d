#pragma once

#include <memory>
#include <string>

class OGRSpatialReference;

// GDAL/OGR as this program uses it: every driver registered once, GDAL's own
// messages kept off the terminal (the callers report them in their words).
class GdalSession {
public:
    static void Ensure();
    // The last message GDAL gave on this thread, or the fallback.
    static std::string LastError(const std::string& fallback);

    static bool KnowsEpsg(int epsg);
    // Easting first, northing second, whatever the system's axis order.
    static std::unique_ptr<OGRSpatialReference> Srs(int epsg);
};

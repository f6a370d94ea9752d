#pragma once

#include <string_view>
#include <vector>

// An output format of drawexport and the GDAL/OGR driver that writes it.
struct ExportFormat {
    std::string_view name;      // as given to --format: "dxf", "gpkg", ...
    std::string_view title;     // for people: "DXF drawing"
    std::string_view extension; // ".dxf"
    std::string_view driver;    // GDAL's driver name
    bool carriesSrs;            // the file can say its coordinate system
    bool needsSrs;              // ... and must (KML is in WGS 84 longitude and latitude)

    bool IsDxf() const { return name == "dxf"; }

    static const std::vector<ExportFormat>& All();
    // Case-insensitive; nullptr when unknown.
    static const ExportFormat* ByName(std::string_view name);
    // By the path's extension, case-insensitive; nullptr when unknown.
    static const ExportFormat* ByPath(std::string_view path);
};

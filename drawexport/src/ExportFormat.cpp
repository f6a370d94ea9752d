#include "drawexport/ExportFormat.h"

#include <algorithm>
#include <cctype>

namespace {

bool SameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

const std::vector<ExportFormat>& ExportFormat::All() {
    static const std::vector<ExportFormat> formats = {
        {"dxf", "DXF drawing", ".dxf", "DXF", false, false},
        {"gpkg", "GeoPackage", ".gpkg", "GPKG", true, false},
        {"geojson", "GeoJSON", ".geojson", "GeoJSON", true, false},
        {"kml", "KML", ".kml", "KML", true, true},
        {"shp", "ESRI Shapefile", ".shp", "ESRI Shapefile", true, false},
        {"csv", "CSV table", ".csv", "CSV", false, false},
    };
    return formats;
}

const ExportFormat* ExportFormat::ByName(std::string_view name) {
    const auto& formats = All();
    const auto found = std::find_if(formats.begin(), formats.end(), [&](const ExportFormat& f) {
        return SameLetters(f.name, name);
    });
    return found == formats.end() ? nullptr : &*found;
}

const ExportFormat* ExportFormat::ByPath(std::string_view path) {
    const auto& formats = All();
    const auto found = std::find_if(formats.begin(), formats.end(), [&](const ExportFormat& f) {
        return path.size() > f.extension.size() &&
               SameLetters(path.substr(path.size() - f.extension.size()), f.extension);
    });
    return found == formats.end() ? nullptr : &*found;
}

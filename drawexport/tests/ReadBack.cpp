#include "ReadBack.h"

#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <cstdio>
#include <memory>
#include <sstream>

namespace {

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) {
        fields.push_back(field);
    }
    return fields;
}

// The field by name, in any case (KML calls its name field "Name"); nullptr
// when the feature has no value for it.
const char* Text(OGRFeatureH feature, const char* name) {
    const int index = OGR_F_GetFieldIndex(feature, name);
    return index >= 0 && OGR_F_IsFieldSetAndNotNull(feature, index)
               ? OGR_F_GetFieldAsString(feature, index)
               : nullptr;
}

ReadPoint PointOf(OGRFeatureH feature) {
    ReadPoint point;
    const char* name = Text(feature, "name");
    const char* code = Text(feature, "code");
    const char* kind = Text(feature, "kind");
    point.kind = kind != nullptr ? kind : "";
    point.name = name != nullptr ? name : "";
    point.code = code != nullptr ? code : "";
    if (const char* height = Text(feature, "height"); height != nullptr && *height != '\0') {
        point.height = std::stod(height);
    }
    OGRGeometryH geometry = OGR_F_GetGeometryRef(feature);
    if (geometry != nullptr) {
        point.x = OGR_G_GetX(geometry, 0);
        point.y = OGR_G_GetY(geometry, 0);
        point.z = OGR_G_GetZ(geometry, 0);
        point.threeD = OGR_G_Is3D(geometry) != 0;
    }
    return point;
}

void AddRecord(DxfFile& file, const std::vector<std::string>& f) {
    const auto numbers = [&](std::size_t from, std::size_t count) {
        std::vector<double> values;
        for (std::size_t i = from; i < from + count && i < f.size(); ++i) {
            values.push_back(std::stod(f[i]));
        }
        return values;
    };
    if (f[0] == "EXTMIN") {
        file.extMin = numbers(1, 3);
    } else if (f[0] == "EXTMAX") {
        file.extMax = numbers(1, 3);
    } else if (f[0] == "VIEW") {
        file.view = numbers(1, 3);
    } else if (f[0] == "LAYER") {
        file.layers.push_back(f.at(1));
    } else if (f[0] == "POINT") {
        const auto at = numbers(2, 3);
        file.points.push_back({f.at(1), at.at(0), at.at(1), at.at(2)});
    } else if (f[0] == "TEXT") {
        const auto at = numbers(2, 4);
        file.texts.push_back({f.at(1), at.at(0), at.at(1), at.at(2), at.at(3), std::stoi(f.at(6)),
                              f.size() > 7 ? f[7] : ""});
    } else {
        file.others.push_back(f.at(1));
    }
}

} // namespace

std::optional<GisFile> ReadWithGdal(const std::string& path) {
    GDALAllRegister();
    const char* csvGeometry[] = {"X_POSSIBLE_NAMES=X", "Y_POSSIBLE_NAMES=Y", "Z_POSSIBLE_NAMES=Z",
                                 nullptr};
    GDALDatasetH dataset =
        GDALOpenEx(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, csvGeometry, nullptr);
    if (dataset == nullptr || GDALDatasetGetLayerCount(dataset) != 1) {
        return std::nullopt;
    }
    GisFile file;
    OGRLayerH layer = GDALDatasetGetLayer(dataset, 0);
    if (OGRSpatialReferenceH srs = OGR_L_GetSpatialRef(layer); srs != nullptr) {
        OSRAutoIdentifyEPSG(srs);
        const char* code = OSRGetAuthorityCode(srs, nullptr);
        file.srs = code != nullptr ? std::string("EPSG:") + code : "?";
    }
    OGR_L_ResetReading(layer);
    while (OGRFeatureH feature = OGR_L_GetNextFeature(layer)) {
        file.points.push_back(PointOf(feature));
        OGR_F_Destroy(feature);
    }
    GDALClose(dataset);
    return file;
}

std::optional<DxfFile> ReadWithEzdxf(const std::string& path) {
    const std::string command =
        std::string(SL_SYSTEM_PYTHON) + " " + DXF_READER_SCRIPT + " '" + path + "' 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) {
        return std::nullopt;
    }
    std::string output;
    char chunk[4096];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe.get())) > 0;) {
        output.append(chunk, got);
    }
    if (pclose(pipe.release()) != 0) {
        std::fprintf(stderr, "read_dxf.py failed:\n%s\n", output.c_str());
        return std::nullopt;
    }
    DxfFile file;
    std::stringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        AddRecord(file, Split(line));
    }
    return file;
}

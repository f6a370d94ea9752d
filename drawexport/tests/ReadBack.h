#pragma once

#include <optional>
#include <string>
#include <vector>

// What a written file holds, as readers that are not this program's own
// read it back: GDAL's own drivers for GIS files, Debian's python3-ezdxf
// for drawings.
struct ReadPoint {
    std::string name;
    std::string code;
    std::optional<double> height; // the height field; nullopt when empty
    std::string kind;             // the kind field
    bool threeD = false;          // the geometry has a Z
    double x = 0;
    double y = 0;
    double z = 0;
};

struct GisFile {
    std::vector<ReadPoint> points;
    std::string srs; // "EPSG:25832", or empty when the file names none
};

// nullopt when GDAL cannot open the file. CSV columns X, Y, Z are the geometry.
std::optional<GisFile> ReadWithGdal(const std::string& path);

struct DxfText {
    std::string layer;
    double x = 0, y = 0, z = 0, height = 0;
    int attachment = 0;
    std::string text;
};

struct DxfPoint {
    std::string layer;
    double x = 0, y = 0, z = 0;
};

struct DxfFile {
    std::vector<double> extMin, extMax, view; // x y z, x y z, centre x y and height
    std::vector<std::string> layers;
    std::vector<DxfPoint> points;
    std::vector<DxfText> texts;
    std::vector<std::string> others; // entities of other kinds
};

// Runs read_dxf.py under the system's python3 with ezdxf; nullopt when it fails.
std::optional<DxfFile> ReadWithEzdxf(const std::string& path);

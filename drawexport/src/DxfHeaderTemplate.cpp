#include "drawexport/DxfHeaderTemplate.h"

#include "drawexport/GdalSession.h"

#include <cpl_conv.h>
#include <cpl_vsi.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace {

// Point display mode: a cross inside a circle.
constexpr const char* kCrossedCircle = "35";
// Room around the points for their labels, in text heights.
constexpr double kLabelRoom = 8;
constexpr double kViewMargin = 1.1;

std::string Number(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

// New values by (header variable or "*Active" view, group code).
using Patches = std::map<std::pair<std::string, std::string>, std::string>;

Patches PatchesFor(const PointExtents& extents, double textHeight) {
    Patches patches = {
        {{"$PDMODE", "70"}, kCrossedCircle},
        {{"$PDSIZE", "40"}, Number(textHeight)},
        {{"$TEXTSIZE", "40"}, Number(textHeight)},
    };
    if (extents.Empty()) {
        return patches;
    }
    // Points without height are drawn at height 0.
    const bool flatPoints = extents.Heights() < extents.Count();
    const double minZ = flatPoints ? std::min(extents.MinHeight(), 0.0) : extents.MinHeight();
    const double maxZ = flatPoints ? std::max(extents.MaxHeight(), 0.0) : extents.MaxHeight();
    const double width = extents.MaxEast() - extents.MinEast();
    const double height = extents.MaxNorth() - extents.MinNorth();
    patches.insert({
        {{"$EXTMIN", "30"}, Number(minZ)},
        {{"$EXTMAX", "30"}, Number(maxZ)},
        {{"*Active", "12"}, Number(extents.MinEast() + width / 2)},
        {{"*Active", "22"}, Number(extents.MinNorth() + height / 2)},
        {{"*Active", "40"},
         Number(std::max(width, height) * kViewMargin + kLabelRoom * textHeight)},
    });
    return patches;
}

std::optional<std::vector<std::string>> ReadLines(const char* path) {
    VSILFILE* file = VSIFOpenL(path, "rb");
    if (file == nullptr) {
        return std::nullopt;
    }
    std::vector<std::string> lines;
    while (const char* line = CPLReadLineL(file)) {
        lines.emplace_back(line);
    }
    VSIFCloseL(file);
    return lines;
}

// The template is pairs of lines: a group code, then its value. A header
// variable is named by code 9, a table entry starts with code 0 and is
// named by code 2.
void Patch(std::vector<std::string>& lines, const Patches& patches) {
    std::string owner;
    std::string entity;
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        const std::string code = Trimmed(lines[i]);
        const std::string& value = lines[i + 1];
        if (code == "9") {
            owner = value;
        } else if (code == "0") {
            entity = value;
            owner.clear();
        } else if (code == "2" && entity == "VPORT") {
            owner = value;
        }
        const auto patch = patches.find({owner, code});
        if (patch != patches.end()) {
            lines[i + 1] = patch->second;
        }
    }
}

// Layer records after the last one of the template's layer table, with
// handles of their own above the template's.
void AddLayers(std::vector<std::string>& lines,
               const std::vector<DxfHeaderTemplate::Layer>& layers) {
    std::string entity;
    std::string table;
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        const std::string code = Trimmed(lines[i]);
        if (code == "2" && entity == "TABLE") {
            table = lines[i + 1];
        }
        if (code != "0") {
            continue;
        }
        if (lines[i + 1] == "ENDTAB" && table == "LAYER") {
            std::vector<std::string> records;
            unsigned handle = 0xC0DE00;
            for (const DxfHeaderTemplate::Layer& layer : layers) {
                char hex[16];
                std::snprintf(hex, sizeof hex, "%X", handle++);
                records.insert(records.end(), {"  0", "LAYER",
                                               "  5", hex,
                                               "330", "2",
                                               "100", "AcDbSymbolTableRecord",
                                               "100", "AcDbLayerTableRecord",
                                               "  2", layer.name,
                                               " 70", "     0",
                                               " 62", "     7",
                                               "420", std::to_string(layer.rgb),
                                               "  6", "Continuous"});
            }
            lines.insert(lines.begin() + static_cast<long>(i), records.begin(), records.end());
            return;
        }
        entity = lines[i + 1];
    }
}

} // namespace

bool DxfHeaderTemplate::Write(const std::string& path, const PointExtents& extents,
                              double textHeight, const std::vector<Layer>& layers,
                              std::string& error) {
    GdalSession::Ensure();
    const char* source = CPLFindFile("gdal", "header.dxf");
    auto lines = source != nullptr ? ReadLines(source) : std::nullopt;
    if (!lines) {
        error = "GDAL's DXF header template (header.dxf) is missing; is GDAL_DATA set?";
        return false;
    }
    Patch(*lines, PatchesFor(extents, textHeight));
    AddLayers(*lines, layers);
    VSILFILE* out = VSIFOpenL(path.c_str(), "wb");
    bool written = out != nullptr;
    for (std::size_t i = 0; written && i < lines->size(); ++i) {
        const std::string line = (*lines)[i] + "\n";
        written = VSIFWriteL(line.data(), 1, line.size(), out) == line.size();
    }
    if (out == nullptr || VSIFCloseL(out) != 0 || !written) {
        error = "cannot write the DXF header template";
        return false;
    }
    return true;
}

#pragma once

#include "drawexport/ExportFormat.h"

#include <memory>
#include <optional>
#include <string>

class CodebookStyle;

// What an export writes, besides the points: the format, the coordinate
// system and, for drawings, the labels.
struct ExportSettings {
    const ExportFormat* format = nullptr;
    int epsg = 0;            // 0: no coordinate system
    double textHeight = 0.5; // drawing units
    int decimals = 3;        // of the height labels
    // Layers, colours, symbols and lines by code; none: by code alone.
    std::shared_ptr<const CodebookStyle> codebook;

    // Why these settings cannot be used (a KML file without a coordinate
    // system, an unknown EPSG code, a text height or decimals out of
    // range), or nullopt.
    std::optional<std::string> Problem() const;
    // What the output leaves out of the settings, or nullopt: a
    // coordinate system for a format that carries none.
    std::optional<std::string> Note() const;

    static constexpr int kMaxDecimals = 6;
    static constexpr double kMaxTextHeight = 1000;
};

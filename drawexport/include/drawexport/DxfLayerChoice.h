#pragma once

#include "fielddata/SurveyPoint.h"

#include <cstddef>
#include <string>
#include <string_view>

// Which layer of a drawing a point goes on: station set-ups on "STATIONS",
// other points on a layer named after their code ("POINTS" without one).
// The one place that decides it, so that another source of layers (a
// codebook) can take its place.
class DxfLayerChoice {
public:
    virtual ~DxfLayerChoice() = default;

    virtual std::string LayerOf(const SurveyPoint& point) const;

    // A code as a DXF layer name: characters DXF forbids in names, control
    // characters and those its Latin-1 names cannot hold become "_", and
    // the name is cut to the 255 characters a layer name may have.
    static std::string LayerName(std::string_view code);

    static constexpr const char* kUncodedLayer = "POINTS";
    static constexpr const char* kStationLayer = "STATIONS";
    static constexpr std::size_t kMaxNameSize = 255;
};

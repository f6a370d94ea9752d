#pragma once

#include "drawexport/DxfHeaderTemplate.h"
#include "drawexport/DxfLayerChoice.h"
#include "drawexport/OgrOutput.h"
#include "drawexport/PointWriter.h"

#include "drawexport/CodebookStyle.h"

#include <array>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class OGRFeature;

// A DXF drawing as a surveyor expects it: every point a POINT on the layer
// the layer choice gives it, and labels to its right, each kind on a
// layer of its own so it can be switched off: the name above, the height
// with the chosen decimals beside (none for a point without a height),
// the code below. With a codebook, a code's points take its colour, an
// INSERT of its symbol's block beside the POINT, and the points of a line
// code are joined in the order they came into one polyline (3D when every
// point has a height). Written by GDAL's DXF driver, labels as MTEXT (GDAL
// writes control bytes, backslashes and long texts as DXF readers expect).
class DxfPointWriter final : public PointWriter {
public:
    explicit DxfPointWriter(
        const ExportSettings& settings,
        std::unique_ptr<const DxfLayerChoice> layers = std::make_unique<const DxfLayerChoice>());
    ~DxfPointWriter() override;

    bool Open(const std::string& path, const PointExtents& extents) override;
    void OnPoint(const SurveyPoint& point) override;
    bool Close() override;
    const std::string& Error() const override;

    static constexpr const char* kNameLayer = "POINT_NAMES";
    static constexpr const char* kHeightLayer = "POINT_HEIGHTS";
    static constexpr const char* kCodeLayer = "POINT_CODES";

private:
    enum class Label { Name, Height, Code };
    struct Line {
        std::string layer;
        std::string style;
        std::vector<std::array<double, 3>> points;
        bool flat = false; // a point without a height
    };

    std::vector<DxfHeaderTemplate::Layer> BookLayers() const;
    bool WriteBlocks();
    void WriteStyled(const SurveyPoint& point, const FeatureCode& code, const std::string& layer);
    bool WriteLines();

    void WriteLabel(Label label, std::string_view utf8, const SurveyPoint& point);
    std::string HeightText(double height) const;

    ExportSettings settings_;
    std::unique_ptr<const DxfLayerChoice> layers_;
    OgrOutput output_;
    std::string headerPath_;
    std::string error_;
    std::unique_ptr<OGRFeature> point_;
    std::unique_ptr<OGRFeature> label_;
    std::unique_ptr<OGRFeature> insert_;
    std::string style_;
    // Book order: the codes sit in one vector.
    std::map<const FeatureCode*, Line> lines_;
};

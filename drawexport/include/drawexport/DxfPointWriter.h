#pragma once

#include "drawexport/DxfLayerChoice.h"
#include "drawexport/OgrOutput.h"
#include "drawexport/PointWriter.h"

#include <memory>
#include <string>
#include <string_view>

class OGRFeature;

// A DXF drawing as a surveyor expects it: every point a POINT on the layer
// the layer choice gives it, and labels to its right, each kind on a
// layer of its own so it can be switched off: the name above, the height
// with the chosen decimals beside (none for a point without a height),
// the code below. Written by GDAL's DXF driver, labels as MTEXT (GDAL
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

    void WriteLabel(Label label, std::string_view utf8, const SurveyPoint& point);
    std::string HeightText(double height) const;

    ExportSettings settings_;
    std::unique_ptr<const DxfLayerChoice> layers_;
    OgrOutput output_;
    std::string headerPath_;
    std::string error_;
    std::unique_ptr<OGRFeature> point_;
    std::unique_ptr<OGRFeature> label_;
    std::string style_;
};
